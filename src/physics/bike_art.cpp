#include "physics/bike_art.h"

#include <memory>

#include "data/data_file.h"
#include "platform/base/log.h"

namespace {

bool data_file_exists(const std::string& path) {
  if (path.empty()) return false;
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path.c_str(), "rb"));
  return file != nullptr;
}

// The file name after the last "/" (or after the "@" of a bare virtual path).
std::string file_name_of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) return path.substr(slash + 1);
  return path.rfind('@', 0) == 0 ? path.substr(1) : path;
}

// The folder part of a path including its "/" ("@" for a bare "@name").
std::string folder_of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) return path.substr(0, slash + 1);
  return path.rfind('@', 0) == 0 ? "@" : "";
}

std::string insert_before_extension(const std::string& path, const std::string& text) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + text;
  return path.substr(0, dot) + text + path.substr(dot);
}

std::string replace_extension(const std::string& path, const std::string& suffix) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
  return path.substr(0, dot) + suffix;
}

// The model file for a texture: with a variant tag, the tagged model name,
// else the same file name in the texture's folder. "" when missing.
std::string choose_model(const std::string& model, const std::string& texture, bool loud) {
  std::string tag = texture_variant_tag(texture);
  if (tag.empty()) {
    if (data_file_exists(model)) return model;
    if (loud) voxa_log("Warning: Can't load %.900s\n", model.c_str());
    return "";
  }
  std::string tagged = insert_before_extension(model, tag);
  if (data_file_exists(tagged)) return tagged;
  std::string beside_texture = folder_of(texture) + file_name_of(tagged);
  if (data_file_exists(beside_texture)) return beside_texture;
  if (loud) voxa_log("Warning: Can't load %.450s or %.450s\n", tagged.c_str(), beside_texture.c_str());
  return "";
}

// A model drawn with one texture; `loud` models log when missing.
struct ModelSlot {
  const std::string* model;  // the model's default file
  std::string* chosen;
  bool loud;
};

// Chooses one texture and its models; when the texture or the first model
// is missing, the model's default texture is used and every model chosen
// again with it (loudly). `required` is how many leading models must exist.
void choose_textured_set(BikeArt::Texture& texture, const std::string& requested, const std::string& fallback,
                         ModelSlot* models, int count, int required) {
  texture.name = requested.empty() ? fallback : requested;
  bool ok = data_file_exists(texture.name);
  for (int i = 0; i < count; ++i) *models[i].chosen = choose_model(*models[i].model, texture.name, models[i].loud);
  for (int i = 0; i < required; ++i) ok = ok && !models[i].chosen->empty();
  if (ok || texture.name == fallback) return;
  texture.name = fallback;
  for (int i = 0; i < count; ++i) *models[i].chosen = choose_model(*models[i].model, texture.name, models[i].loud);
}

// Normal or specular map beside a texture: "<texture>_norm.seq/.png/.ppm",
// then the same names from the default texture with the variant tag.
std::string find_map(const std::string& texture, const std::string& fallback, const char* kind) {
  static const char* const extensions[] = {".seq", ".png", ".ppm"};
  std::string bases[2] = {texture, insert_before_extension(fallback, texture_variant_tag(texture))};
  for (const std::string& base : bases)
    for (const char* extension : extensions) {
      std::string name = replace_extension(base, std::string("_") + kind + extension);
      if (data_file_exists(name)) return name;
    }
  return "";
}

void find_maps(BikeArt::Texture& texture, const std::string& fallback) {
  texture.normal_map = find_map(texture.name, fallback, "norm");
  texture.specular_map = find_map(texture.name, fallback, "spec");
}

}  // namespace

std::string texture_variant_tag(const std::string& texture) {
  std::string name = file_name_of(texture);
  size_t first = name.find('-');
  if (first == std::string::npos) return "";
  size_t second = name.find('-', first + 1);
  if (second == std::string::npos) return "";
  return name.substr(first, second - first);
}

void choose_bike_art(Bike& b, const char* rider_body_texture, const char* rider_head_texture,
                     const char* bike_texture, const char* wheel_texture) {
  const BikeInfo& i = b.info;
  BikeArt& a = b.art;
  auto text = [](const char* s) { return std::string(s ? s : ""); };

  ModelSlot bike_models[] = {{&i.frame_model, &a.frame, true},           {&i.side_plates_model, &a.side_plates, true},
                             {&i.fork_upper_model, &a.fork_upper, true}, {&i.front_plate_model, &a.front_plate, true},
                             {&i.fork_lower_model, &a.fork_lower, true}, {&i.swingarm_model, &a.swingarm, true}};
  choose_textured_set(a.bike, text(bike_texture), i.bike_texture, bike_models, 6, 1);

  ModelSlot wheel_models[] = {{&i.front_wheel_model, &a.front_wheel, true}, {&i.rear_wheel_model, &a.rear_wheel, true}};
  choose_textured_set(a.wheels, text(wheel_texture), i.wheel_texture, wheel_models, 2, 2);

  // The rider plate and the first-person body are optional: chosen quietly.
  ModelSlot body_models[] = {{&i.rider_body_model, &a.rider_body, true},
                             {&i.rider_plate_model, &a.rider_plate, false},
                             {&i.rider_body_fp_model, &a.rider_body_fp, false}};
  choose_textured_set(a.rider_body_texture, text(rider_body_texture), i.rider_body_texture, body_models, 3, 1);

  ModelSlot head_models[] = {{&i.rider_head_model, &a.rider_head, true}};
  choose_textured_set(a.rider_head_texture, text(rider_head_texture), i.rider_head_texture, head_models, 1, 1);

  find_maps(a.bike, i.bike_texture);
  find_maps(a.wheels, i.wheel_texture);
  find_maps(a.rider_body_texture, i.rider_body_texture);
  find_maps(a.rider_head_texture, i.rider_head_texture);
}
