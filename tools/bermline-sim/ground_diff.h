// How a race changed the ground: the heights at the end against those at
// the start, as figures and as a picture (ruts dark, piles bright).
#pragma once

#include <string>
#include <vector>

struct Terrain;

struct GroundChange {
  double moved_ft3 = 0;       // volume of dirt dug out of the ground
  double deepest_rut_ft = 0;  // the largest fall of a vertex
  double highest_pile_ft = 0; // the largest rise of a vertex
};

GroundChange ground_change(const std::vector<float>& before, const Terrain& after);

// The change per vertex as an 8-bit grey PNG the size of the height field:
// 128 unchanged, darker down, brighter up, the largest change at 0 or 255.
bool write_ground_diff(const std::string& path, const std::vector<float>& before, const Terrain& after);
