// Reading a track's tile kinds into the terrain: the "tileinfo" file (one
// ground material per kind, closed by "addtile") or, when a track has
// none, the older "texturelist" (friction, two resistance values and a
// texture per line). Both end by deriving the kinds' tile codes.
#pragma once

struct DataFile;
struct Terrain;

// Reads every kind of an open tileinfo file; problems are warnings and
// reading goes on.
void ReadTileinfo(Terrain& t, DataFile* file);
// Reads every kind of an open texturelist file.
void ReadTexturelist(Terrain& t, DataFile* file);
