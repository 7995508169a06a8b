// Bikes, riders, wheels, collision shapes, fonts, interface pictures and
// series files: everything in the data folder outside the tracks. The
// series run over the track folders already in the data folder (the
// tracks are written first).
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "art/art_files.h"
#include "art/bike_models.h"
#include "art/bike_textures.h"
#include "art/font.h"
#include "art/interface_art.h"
#include "art/rider.h"
#include "art/series.h"
#include "art/shapes.h"
#include "art/wheels.h"
#include "data_kit.h"
#include "kit/jm_format.h"
#include "kit/shp_format.h"

namespace art {

namespace {

// "name.jm" with its distance versions "name_lod5.jm" and "name_lod7.jm".
void add_model(ArtFiles& files, const std::string& name, const std::function<Model(Detail)>& build) {
  files.push_back({name + ".jm", [build] { return kit::write_jm(build(Detail{0})); }});
  for (int level = 1; level <= 2; ++level)
    files.push_back({name + "_lod" + std::to_string(LOD_DIGITS[level - 1]) + ".jm",
                     [build, level] { return kit::write_jm(build(Detail{level})); }});
}

void add_png(ArtFiles& files, const std::string& name, int channels, std::function<kit::Image()> paint) {
  files.push_back({name, [paint, channels] { return kit::to_png(paint(), channels); }});
}

// Track folders in the data folder (those with a height field), the
// default track first, and their titles.
std::vector<TrackEntry> shipped_tracks(const std::string& root) {
  namespace fs = std::filesystem;
  std::vector<TrackEntry> tracks;
  std::error_code error;
  for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    const fs::directory_entry& entry = *it;
    if (!entry.is_directory(error) || !fs::exists(entry.path() / "terrain.hf", error)) continue;
    TrackEntry track{entry.path().filename().string(), ""};
    std::ifstream desc(entry.path() / "desc");
    std::getline(desc, track.title);
    if (!track.title.empty() && track.title.back() == '\r') track.title.pop_back();
    if (track.title.empty()) track.title = track.folder;
    tracks.push_back(track);
  }
  std::sort(tracks.begin(), tracks.end(), [](const TrackEntry& a, const TrackEntry& b) {
    bool a_default = a.folder == "rabbithill", b_default = b.folder == "rabbithill";
    return a_default != b_default ? a_default : a.folder < b.folder;
  });
  return tracks;
}

}  // namespace

ArtFiles art_files(const std::vector<TrackEntry>& tracks) {
  ArtFiles files;
  for (const BikeStyle& style : bike_styles()) {
    if (style.model_prefix == style.texture_prefix) {
      const std::string& p = style.model_prefix;
      add_model(files, p + "_frame", [&style](Detail d) { return frame_model(style, d); });
      add_model(files, p + "_fork_upper", [](Detail d) { return fork_upper_model(d); });
      add_model(files, p + "_fork_lower", fork_lower_model);
      add_model(files, p + "_swingarm", swingarm_model);
      add_model(files, p + "_side_plates", side_plates_model);
      add_model(files, p + "_front_plate", front_plate_model);
    }
    for (size_t livery = 0; livery < style.liveries.size(); ++livery)
      add_png(files, bike_texture_name(style, livery).substr(1), 3,
              [&style, livery] { return paint_bike_texture(style, style.liveries[livery]); });
  }
  add_model(files, "front_wheel", front_wheel_model);
  add_model(files, "rear_wheel", rear_wheel_model);
  for (int v = 0; v < WHEEL_TEXTURE_COUNT; ++v)
    add_png(files, v == 0 ? "wheels.png" : "wheels-alt" + std::to_string(v) + ".png", 4,
            [v] { return paint_wheel_texture(v); });
  for (const NamedShape& shape : bike_shapes()) {
    std::string bytes = kit::write_shp(shape.spheres);
    files.push_back({shape.file, [bytes] { return bytes; }});
  }

  add_model(files, "rider_body", rider_body_model);
  add_model(files, "rider_body_fp", rider_body_first_person_model);
  add_model(files, "rider_head", rider_head_model);
  files.push_back({"rider_plate.jm", [] { return kit::write_jm(rider_plate_model(Detail{0})); }});
  for (int v = 0; v < RIDER_TEXTURE_COUNT; ++v) {
    std::string suffix = v == 0 ? ".png" : "-alt" + std::to_string(v) + ".png";
    add_png(files, "rider_body" + suffix, 3, [v] { return paint_rider_body_texture(v); });
    add_png(files, "rider_head" + suffix, 3, [v] { return paint_rider_head_texture(v); });
  }

  add_png(files, "font.png", 4, [] { return font_image("DejaVuSans-Bold.ttf", printable_ascii(), 1024, 256); });
  add_png(files, "numbers.png", 4, [] { return font_image("DejaVuSans-Bold.ttf", "0123456789", 1024, 128); });
  add_png(files, "numbers-condensed.png", 4,
          [] { return font_image("DejaVuSansCondensed-Bold.ttf", "0123456789", 512, 128); });
  add_png(files, "tach.png", 4, tach_picture);
  add_png(files, "shifter.png", 4, shifter_picture);
  add_png(files, "pitboard.png", 4, pitboard_picture);
  add_png(files, "roost.png", 4, roost_picture);
  files.push_back({"title.ppm", [] { return kit::to_ppm(title_picture()); }});

  for (const auto& [name, bytes] : series_files(tracks)) files.push_back({name, [bytes] { return bytes; }});
  return files;
}

std::vector<std::string> make_art_files(const ArtFiles& files) {
  // Files are independent: make them on every core, each into its own slot.
  std::vector<std::string> bytes(files.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < files.size(); i = next++) bytes[i] = files[i].make();
  };
  unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < workers; ++t) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  return bytes;
}

bool write_art_files(const std::string& root, const ArtFiles& files) {
  std::vector<std::string> bytes = make_art_files(files);
  for (size_t i = 0; i < files.size(); ++i) {
    if (bytes[i].empty()) {
      std::fprintf(stderr, "bermline-data: can't make '%s'\n", files[i].name.c_str());
      return false;
    }
    if (!write_kit_file(root, files[i].name, bytes[i])) return false;
  }
  return true;
}

}  // namespace art

bool write_art(const std::string& root) {
  return art::write_art_files(root, art::art_files(art::shipped_tracks(root)));
}
