#include "data_kit.h"

// Bikes, riders and interface art arrive with the full data kit.
bool write_art(const std::string&) { return true; }
