#include "track/track_load.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "core/messages.h"
#include "core/ripemd160.h"
#include "core/run_settings.h"
#include "data/data_file.h"
#include "data/image_write.h"
#include "data/texture_cache.h"
#include "platform/base/log.h"
#include "track/lighting.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_list.h"

namespace {

TrackLoadHooks hooks;

// Feeds a whole file (decompressed) into the digest, if it opens.
void hash_file(Ripemd160* digest, const std::string& path) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path.c_str(), "rb"));
  if (!file) return;
  char buffer[16384];
  for (int got; (got = df_read(file.get(), buffer, sizeof buffer)) > 0;) digest->update(buffer, static_cast<size_t>(got));
}

void hash_statue_models(Ripemd160* digest) {
  std::vector<const std::string*> hashed;
  for (const Statue& s : track().scenery.statues) {
    bool seen = false;
    for (const std::string* name : hashed) seen = seen || *name == s.model_file;
    if (seen) continue;
    hashed.push_back(&s.model_file);
    hash_file(digest, s.model_file);
  }
}

void read_timing_gates(const std::string& folder) {
  clear_timing_gates();
  std::unique_ptr<DataFile, DataFileCloser> file(df_open((folder + "/timing_gates").c_str(), "rb"));
  if (file) ReadTimingGates(file.get());
  place_starting_gates();
}

}  // namespace

void set_track_load_hooks(const TrackLoadHooks& table) { hooks = table; }

int LoadTrack(const std::string& name) {
  track().name = name;
  const std::string folder = "@" + name;
  Ripemd160 digest;
  clear_scenery();
  clear_timing_gates();
  hooks.show_loading();
  for (const char* name : {"terrain.hf", "terrain.png", "texturelist", "tilemap", "tileinfo"})
    hash_file(&digest, folder + "/" + name);
  if (run_settings.debug_level > 0) voxa_log("Loading '%s'\n", folder.c_str());
  if (!LoadTerrain(track().terrain, folder)) {
    track().name.clear();
    return 0;
  }
  log_texture_memory("after hf creation");
  hash_file(&digest, folder + "/timing_gates");
  read_timing_gates(folder);
  for (int k = 0; k < ROOST_BILLBOARDS; ++k) CreateBillboard(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, nullptr);
  ReadFlaggers(folder);
  log_texture_memory("after flagger creation");
  track().scenery.first_track_billboard = static_cast<int>(track().scenery.billboards.size());
  track().scenery.first_track_statue = static_cast<int>(track().scenery.statues.size());
  ReadBillboards(folder);
  log_texture_memory("after billboard creation");
  hash_file(&digest, folder + "/statues");
  ReadStatues(folder);
  log_texture_memory("after statue creation");
  ReadLighting(folder);
  track().map_texture = LoadTexture((folder + "/map.png").c_str());
  rebuild_scenery_buckets();
  if (run_settings.editor) hooks.editor_prepare();
  hash_statue_models(&digest);
  track().hash = digest.finish();
  return 1;
}

void UnloadTrack() {
  voxa_log("Deallocating track\n");
  if (run_settings.editor) hooks.editor_release();
  clear_timing_gates();
  hooks.release_racing_lines();
  clear_scenery();
  release_lighting();
  ReleaseTerrain(track().terrain);
  // The rest of the record goes too; only the fog colour carries over to
  // the next track.
  Track& t = track();
  t.name.clear();
  t.hash = {};
  t.map_texture = 0;
  voxa_log("Finished deallocating track\n");
}

bool save_track_info() {
  const std::string& dir = track().name;
  if (dir.empty() || track().terrain.heights.empty()) return false;
  std::string title = dir;
  for (size_t k = 0; k < track_list.dirs.size() && k < track_list.titles.size(); ++k)
    if (track_list.dirs[k] == dir) {
      title = track_list.titles[k];
      break;
    }
  std::string text = "dir=" + dir + "\nlongname=" + title + "\nfirstlap=" + std::to_string(track().timing.first_lap_count) +
                     "\nnormallap=" + std::to_string(track().timing.normal_lap_count) + "\nhash=" + Ripemd160::hex(track().hash) + "\n";
  if (!write_data_file("@" + dir + ".trackinfo", text)) {
    post_message("Can't write %.900s.trackinfo", dir.c_str());
    return false;
  }
  post_message("Track info saved to %.900s.trackinfo", dir.c_str());
  return true;
}
