// The pictures, models and shapes the tracks share, each by its file name
// in the game data (without "@"): billboards (trees, fans, banners and the
// flaggers), statues (hay bales, tuff blocks, the tower and the starting
// gate) with their collision shapes, ground decals, lens flares and the
// roost puffs of the ground materials.
#pragma once

#include <map>
#include <string>

namespace tracks {

using KitFiles = std::map<std::string, std::string>;

void add_billboard_art(KitFiles& files);
void add_statue_art(KitFiles& files);
void add_effect_art(KitFiles& files);

}  // namespace tracks
