// Ground materials and the tile kinds built from them. Every material has
// its grip (friction by sliding speed), its drag (rolling resistance by
// speed, without and with the tyre sunk in) and what a spinning wheel
// throws up. A track uses a few materials; its tile kinds are each
// material's plain tile and two variants, then for every pair of its
// materials the 14 transition tiles, named "<base>-<overlay>-<mask>" so the
// game can tell which corners show which material.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tracks/ground_types.h"

namespace tracks {

enum class Ground {
  Loam,       // dark, grippy outdoor dirt
  Hardpack,   // dry and packed: slick, throws dust
  Grass,      // slippery and slow
  Mud,        // soft and wet: sinks, splashes
  Clay,       // groomed stadium dirt
  Sand,       // deep: sinks, drags, throws a lot
  Concrete,   // stands and pads
  DuneGrass,  // sand held by beach grass
  WetSand,    // firm, damp sand
};

struct GroundMaterialSpec {
  Ground ground;
  const char* name;  // texture base name: "<name>.png"
  // Friction at sliding speeds 2, 15 and 40 ft/s.
  std::array<double, 3> friction;
  // Rolling resistance (unsunk, fully sunk) at 1 and 60 ft/s.
  std::array<std::array<double, 2>, 2> roll;
  // "roost" lines' parameters.
  std::vector<std::string> roost;
};

const GroundMaterialSpec& material_spec(Ground ground);

// A tile kind of a track: a plain tile (overlay == base, mask 0), a variant
// of one, or a transition between two materials.
struct TileKind {
  Ground base;
  Ground overlay;
  int mask = 0;     // corners showing the overlay: 8 low x low z, 4 high x low z, 2 low x high z, 1 high x high z
  int variant = 0;  // 1, 2: the plain tile's alternatives
  std::string texture_name() const;  // without "@"
};

// The kinds of a track using these materials, in tileinfo order.
std::vector<TileKind> tile_kinds(const std::vector<Ground>& materials);

// The "tileinfo" file for those kinds.
std::string tileinfo_file(const std::vector<TileKind>& kinds);

// Plain variants each material gets.
constexpr int TILE_VARIANTS = 2;

}  // namespace tracks
