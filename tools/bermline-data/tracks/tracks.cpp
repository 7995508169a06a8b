// Every track folder, with the textures and models only tracks use.
#include <cstdio>
#include <map>
#include <set>

#include "data_kit.h"
#include "kit/image.h"
#include "tracks/ground_textures.h"
#include "tracks/track_art.h"
#include "tracks/track_build.h"

namespace tracks {

std::vector<TrackDesign> track_designs() { return {rabbithill_design()}; }

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
  KitFiles files;
  std::map<std::string, TileKind> tiles;
  std::set<std::string> skies;
  for (const TrackDesign& design : track_designs()) {
    BuiltTrack track = build_track(design);
    for (const auto& [name, bytes] : track.files) files[design.folder + "/" + name] = bytes;
    for (const TileKind& kind : track.kinds) tiles.emplace(kind.texture_name(), kind);
    if (skies.insert(design.light.sky_prefix).second) add_sky(design, files);
  }
  for (const auto& [name, kind] : tiles) files[name] = kit::to_png(tile_picture(kind), 3);
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
