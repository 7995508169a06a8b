// Chooses the model and texture files that draw a bike: the rider's
// texture choices, their variant models, the model's defaults when
// something is missing, and the normal and specular maps beside each
// texture. Only names are chosen here; the renderer loads them.
#pragma once

#include "physics/bike.h"

// Fills b.art from the model's defaults in b.info and the optional texture
// paths (null or "" = the model's default), logging what is missing.
void choose_bike_art(Bike& b, const char* rider_body_texture, const char* rider_head_texture,
                     const char* bike_texture, const char* wheel_texture);

// The variant tag of a texture path: when the file name (after the last
// "/") holds two "-", the text from the first "-" up to the second
// ("@kx125-red-x.png" -> "-red"); otherwise "".
std::string texture_variant_tag(const std::string& texture);
