#include "tracks/track_build.h"

#include <cmath>

#include "data/image_write.h"
#include "kit/image.h"
#include "tracks/ground_light.h"
#include "tracks/tile_paint.h"
#include "tracks/track_map.h"

namespace tracks {

namespace {

// The material at every tile corner, from the design's painter.
std::vector<Ground> paint_corners(const TrackDesign& design, const BuiltTrack& track) {
  const Heightfield& ground = track.shaped.ground;
  const int tiles = 1 << ground.grid_shift;
  const int side = tiles + 1;
  std::vector<Ground> corners(static_cast<size_t>(side) * side);
  for (int cz = 0; cz < side; ++cz)
    for (int cx = 0; cx < side; ++cx) {
      int i = 2 * cx, j = 2 * cz;
      size_t v = static_cast<size_t>(j) * ground.size + i;
      GroundSpot spot;
      spot.x = i * ground.spacing;
      spot.z = j * ground.spacing;
      spot.height = ground.heights[v];
      Vec3 n = ground.normal_at(spot.x, spot.z);
      spot.slope = std::hypot(n.x, n.z) / std::max(1e-6, n.y);
      spot.cover = &track.shaped.cover[v];
      const CourseSample* sample = spot.cover->sample;
      spot.on_start = sample && !track.course.start.empty() && sample >= &track.course.start.front() &&
                      sample <= &track.course.start.back();
      corners[static_cast<size_t>(cz) * side + cx] = design.paint(spot);
    }
  return corners;
}

std::string ppm_of(const std::vector<uint8_t>& rgb, int size) { return encode_ppm(rgb.data(), size, size); }
std::string pgm_of(const std::vector<uint8_t>& grey, int size) { return encode_pgm(grey.data(), size, size); }

}  // namespace

BuiltTrack build_track(const TrackDesign& design) {
  BuiltTrack track;
  track.course = sample_course(design.course);
  track.shaped = shape_ground(design.land, track.course, design.course, design.grid_shift, design.spacing);
  const Heightfield& ground = track.shaped.ground;
  track.timing = lay_out_timing(track.course, ground);
  Clearance clearance = course_clearance(track.course, ground.extent());

  Scenery& scenery = track.scenery;
  place_start_and_finish(track.course, track.timing, clearance, scenery);
  place_corner_flaggers(track.course, track.timing, clearance, scenery);
  if (design.hay_on_berms) line_berms_with_hay(track.course, scenery);
  place_fans(track.course, clearance, static_cast<uint32_t>(design.folder.size()) * 7919u, scenery);
  if (design.dress) design.dress(TrackSite{track.course, ground, track.timing, clearance}, scenery);
  // The starting gate's bars shade the pad a little.
  for (const StartPlace& place : track.timing.places)
    scenery.shadows.push_back({place.position.x - 3 * std::sin(place.heading),
                               place.position.z - 3 * std::cos(place.heading), 1.2, 1.6, 0.35});

  track.kinds = tile_kinds(design.materials);
  const int tiles = 1 << ground.grid_shift;
  track.tile_map = paint_tile_map(paint_corners(design, track), tiles, design.materials, track.kinds);
  GroundLight light = bake_ground_light(ground, design.light, scenery.shadows);

  auto& files = track.files;
  files["desc"] = design.title + "\n";
  files["terrain.hf"] = terrain_file(ground);
  files["shadingx2.ppm"] = ppm_of(light.shading, ground.size);
  files["shadows.pgm"] = pgm_of(light.light, ground.size);
  files["tileinfo"] = tileinfo_file(track.kinds);
  files["tilemap"] = track.tile_map;
  files["timing_gates"] = timing_gates_file(track.timing);
  files["billboards"] = billboards_file(scenery);
  files["statues"] = statues_file(scenery);
  files["flaggers"] = flaggers_file(scenery);
  files["decals"] = decals_file(scenery);
  files["lighting"] = lighting_file(design.light);
  files["map.png"] = kit::to_png(overview_map(track.course, track.timing, ground.extent(), 512), 4);
  return track;
}

}  // namespace tracks
