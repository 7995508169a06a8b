#include "art/art_preview.h"

#include <cstdio>

#include "art/bike_geometry.h"
#include "art/bike_models.h"
#include "art/bike_textures.h"
#include "art/font.h"
#include "art/interface_art.h"
#include "art/rider.h"
#include "art/wheels.h"
#include "data_kit.h"
#include "kit/paint.h"
#include "kit/raster.h"
#include "kit/typeface.h"

namespace art {

namespace {

// A stand-in for the number-plate texture the game draws at run time.
kit::Image number_plate_picture(const std::string& number) {
  kit::Image plate(128, 128, kit::hex(0xF0F0F0));
  kit::TextStyle style;
  style.size = 70;
  kit::draw_text_centred(plate, kit::open_typeface("DejaVuSansCondensed-Bold.ttf"), number, 64, 64, style,
                         kit::hex(0x101010));
  return plate;
}

struct Part {
  const Model* model;
  const kit::Image* texture;
  Vec3 centre;
};

void render_view(kit::Canvas& canvas, const kit::Camera& camera, const std::vector<Part>& parts) {
  for (const Part& part : parts) kit::render_model(canvas, camera, *part.model, part.texture, {}, part.centre);
}

void label(kit::Image& sheet, const std::string& text, double x, double y) {
  kit::TextStyle style;
  style.size = 22;
  kit::draw_text(sheet, kit::open_typeface("DejaVuSans-Bold.ttf"), text, x, y, style, kit::hex(0x202020));
}

bool write_bike_sheet(const std::string& out_dir, const BikeStyle& style) {
  Detail full;
  Model frame = frame_model(style, full), upper = fork_upper_model(full), lower = fork_lower_model(full),
        arm = swingarm_model(full), side_plates = side_plates_model(full), front_plate = front_plate_model(full);
  Model front_wheel = front_wheel_model(full), rear_wheel = rear_wheel_model(full);
  Model body = rider_body_model(full), head = rider_head_model(full), back_plate = rider_plate_model(full);
  kit::Image plate = number_plate_picture("23");
  const int view_w = 640, view_h = 420;
  kit::Image sheet(view_w * 2, view_h * 2 + 300, kit::hex(0xE8E8E4));
  const kit::Camera cameras[4] = {
      {{17, 3.2, 3.6}, {0, 2.7, 3.6}, {0, 1, 0}, 30},    // right side
      {{-10, 6.5, -7}, {0, 2.6, 3.4}, {0, 1, 0}, 30},    // front left, from above
      {{9, 5.5, 14}, {0, 2.6, 3.6}, {0, 1, 0}, 30},      // rear right
      {{-6, 3.8, 0.5}, {0, 3.6, 3.4}, {0, 1, 0}, 32}};   // the rider, close
  for (size_t livery = 0; livery < style.liveries.size(); ++livery) {
    kit::Image texture = paint_bike_texture(style, style.liveries[livery]);
    kit::Image wheels = paint_wheel_texture(static_cast<int>(livery) % WHEEL_TEXTURE_COUNT);
    kit::Image gear = paint_rider_body_texture(static_cast<int>(livery)), helmet = paint_rider_head_texture(static_cast<int>(livery));
    std::vector<Part> parts = {{&frame, &texture, FRAME_CENTRE},       {&upper, &texture, FORK_UPPER_CENTRE},
                               {&lower, &texture, FORK_LOWER_CENTRE},  {&arm, &texture, SWINGARM_CENTRE},
                               {&side_plates, &plate, FRAME_CENTRE},   {&front_plate, &plate, FORK_UPPER_CENTRE},
                               {&front_wheel, &wheels, FRONT_AXLE},    {&rear_wheel, &wheels, REAR_AXLE},
                               {&body, &gear, RIDER_CENTRE},           {&head, &helmet, RIDER_CENTRE},
                               {&back_plate, &plate, RIDER_CENTRE}};
    if (livery == 0) {
      for (int v = 0; v < 4; ++v) {
        kit::Canvas canvas(view_w, view_h, kit::hex(0xCFD8E0));
        render_view(canvas, cameras[v], parts);
        kit::paste(sheet, canvas.colour, (v % 2) * view_w, (v / 2) * view_h);
      }
    }
    kit::Canvas small(400, 260, kit::hex(0xCFD8E0));
    render_view(small, cameras[1], parts);
    kit::paste(sheet, kit::resized(small.colour, 300, 195), static_cast<int>(livery) * 430, view_h * 2 + 10);
    kit::paste(sheet, kit::resized(texture, 96, 96), static_cast<int>(livery) * 430 + 305, view_h * 2 + 10);
    label(sheet, bike_texture_name(style, livery), livery * 430.0 + 10, view_h * 2 + 240);
  }
  label(sheet, style.texture_prefix + "  " + std::to_string(frame.triangle_count() + upper.triangle_count() +
                                                            lower.triangle_count() + arm.triangle_count()) +
                   " triangles",
        10, 28);
  std::string bytes = kit::to_png(sheet, 3);
  return !bytes.empty() && write_kit_file(out_dir, "bike-" + style.texture_prefix + ".png", bytes);
}

// Lays a picture with transparency over a backdrop.
kit::Image on_backdrop(const kit::Image& picture, kit::Colour backdrop) {
  kit::Image out(picture.width, picture.height, backdrop);
  kit::paste(out, picture, 0, 0);
  return out;
}

bool write_interface_sheet(const std::string& out_dir) {
  kit::Image sheet(1600, 1180, kit::hex(0xE8E8E4));
  const kit::Colour dark = kit::hex(0x3A4656);
  kit::paste(sheet, on_backdrop(font_image("DejaVuSans-Bold.ttf", printable_ascii(), 1024, 256), dark), 10, 40);
  kit::paste(sheet, on_backdrop(font_image("DejaVuSans-Bold.ttf", "0123456789", 1024, 128), dark), 10, 310);
  kit::paste(sheet, on_backdrop(font_image("DejaVuSansCondensed-Bold.ttf", "0123456789", 512, 128), dark), 10, 450);
  label(sheet, "@font.png, @numbers.png, @numbers-condensed.png (separators magenta)", 10, 28);
  const std::pair<const char*, kit::Image> pictures[] = {{"@tach.png", tach_picture()},
                                                          {"@shifter.png", shifter_picture()},
                                                          {"@pitboard.png", pitboard_picture()},
                                                          {"@roost.png", kit::resized(roost_picture(), 256, 256)}};
  for (size_t i = 0; i < 4; ++i) {
    kit::Image small = kit::resized(pictures[i].second, 256, 256);
    kit::paste(sheet, on_backdrop(small, i == 3 ? kit::hex(0x6A5A48) : kit::hex(0x6A8AA8)), 10 + 270 * static_cast<int>(i), 620);
    label(sheet, pictures[i].first, 10 + 270.0 * i, 900);
  }
  kit::paste(sheet, kit::resized(title_picture(), 512, 512), 1080, 40);
  label(sheet, "@title.ppm", 1080, 580);
  std::string bytes = kit::to_png(sheet, 3);
  return !bytes.empty() && write_kit_file(out_dir, "interface.png", bytes);
}

bool write_rider_sheet(const std::string& out_dir) {
  Detail full;
  Model body = rider_body_model(full), head = rider_head_model(full), plate = rider_plate_model(full);
  Model first_person = rider_body_first_person_model(full);
  kit::Image number = number_plate_picture("23");
  const int w = 400, h = 480;
  kit::Image sheet(w * 4, h * 2 + 60, kit::hex(0xE8E8E4));
  const kit::Camera views[3] = {{{7, 4.8, 4.6}, {0, 4.1, 4.0}, {0, 1, 0}, 34},
                                {{-2.5, 5.0, -3.5}, {0, 4.2, 3.8}, {0, 1, 0}, 34},
                                {{1.5, 6.5, 9}, {0, 4.2, 4.0}, {0, 1, 0}, 34}};
  for (int v = 0; v < RIDER_TEXTURE_COUNT; ++v) {
    kit::Image gear = paint_rider_body_texture(v), helmet = paint_rider_head_texture(v);
    std::vector<Part> parts = {{&body, &gear, RIDER_CENTRE}, {&head, &helmet, RIDER_CENTRE}, {&plate, &number, RIDER_CENTRE}};
    kit::Canvas canvas(w, h, kit::hex(0xCFD8E0));
    render_view(canvas, views[v % 3], parts);
    kit::paste(sheet, canvas.colour, v * w, 0);
    kit::paste(sheet, kit::resized(gear, 190, 190), v * w, h + 10);
    kit::paste(sheet, kit::resized(helmet, 190, 190), v * w + 200, h + 10);
  }
  kit::Image gear = paint_rider_body_texture(0);
  std::vector<Part> fp = {{&first_person, &gear, RIDER_CENTRE}};
  kit::Canvas canvas(w, h - 220, kit::hex(0xCFD8E0));
  render_view(canvas, {{0, 6.2, 5.2}, {0, 3.6, 2.6}, {0, 1, 0}, 60}, fp);
  kit::paste(sheet, canvas.colour, 0, h + 210);
  label(sheet, "@rider_body_fp.jm from above and behind the helmet", 410, h + 240);
  std::string bytes = kit::to_png(sheet, 3);
  return !bytes.empty() && write_kit_file(out_dir, "rider.png", bytes);
}

}  // namespace

bool write_art_preview(const std::string& out_dir) {
  for (const BikeStyle& style : bike_styles())
    if (!write_bike_sheet(out_dir, style)) return false;
  return write_rider_sheet(out_dir) && write_interface_sheet(out_dir);
}

}  // namespace art
