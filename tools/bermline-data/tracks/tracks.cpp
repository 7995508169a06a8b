// Every track folder, with the textures and models only tracks use.
#include <cstdio>
#include <map>

#include "data_kit.h"
#include "kit/image.h"
#include "tracks/ground_textures.h"
#include "tracks/parallel.h"
#include "tracks/track_art.h"
#include "tracks/track_build.h"

namespace tracks {

std::vector<TrackDesign> track_designs() { return {rabbithill_design(), stadium_design(), sand_design()}; }

namespace {

// A track's own sky, when its lighting names pictures inside its folder.
void add_sky(const TrackDesign& design, KitFiles& files) {
  const std::string& prefix = design.light.sky_prefix;
  if (prefix.size() < 2 || prefix[0] != '@') return;
  std::string name = prefix.substr(1);
  const bool ppm = design.light.sky_suffix == ".ppm";
  for (const char* face : {"n", "e", "s", "w", "u"}) {
    kit::Image picture = sky_face(design.light, face, 512);
    files[name + face + design.light.sky_suffix] = ppm ? kit::to_ppm(picture) : kit::to_png(picture, 3);
  }
  kit::Image env = sky_environment(design.light, 256);
  files[name + "env" + design.light.sky_suffix] = ppm ? kit::to_ppm(env) : kit::to_png(env, 3);
}

}  // namespace

}  // namespace tracks

bool write_tracks(const std::string& root) {
  using namespace tracks;
  const std::vector<TrackDesign> designs = track_designs();
  std::vector<BuiltTrack> built(designs.size());
  std::vector<KitFiles> skies(designs.size());
  parallel_for(designs.size(), [&](size_t k) {
    built[k] = build_track(designs[k]);
    add_sky(designs[k], skies[k]);
  });
  KitFiles files;
  std::map<std::string, TileKind> tile_set;
  for (size_t k = 0; k < designs.size(); ++k) {
    for (const auto& [name, bytes] : built[k].files) files[designs[k].folder + "/" + name] = bytes;
    for (const TileKind& kind : built[k].kinds) tile_set.emplace(kind.texture_name(), kind);
    files.insert(skies[k].begin(), skies[k].end());
  }
  built.clear();
  std::vector<std::pair<std::string, TileKind>> tiles(tile_set.begin(), tile_set.end());
  std::vector<std::string> pictures(tiles.size());
  parallel_for(tiles.size(), [&](size_t k) { pictures[k] = kit::to_png(tile_picture(tiles[k].second), 3); });
  for (size_t k = 0; k < tiles.size(); ++k) files[tiles[k].first] = std::move(pictures[k]);
  add_billboard_art(files);
  add_statue_art(files);
  add_effect_art(files);
  for (const auto& [name, bytes] : files)
    if (bytes.empty() || !write_kit_file(root, name, bytes)) {
      if (bytes.empty()) std::fprintf(stderr, "bermline-data: nothing made for '%s'\n", name.c_str());
      return false;
    }
  return true;
}
