// Pictures of the art for people to judge: per bike a contact sheet of the
// assembled bike from several sides with its liveries, the rider, the
// wheels and the interface textures.
#pragma once

#include <string>

namespace art {

// Writes PNG sheets into `out_dir` (ends in "/"): "bike-<prefix>.png" per
// bike texture, "rider.png", "interface.png". False after a message when a
// file can't be written.
bool write_art_preview(const std::string& out_dir);

}  // namespace art
