// Bike names as the settings and the race lineup know them.
#pragma once

#include <string>

// The "Bike" setting's options, in menu order.
constexpr int BIKE_CHOICE_COUNT = 17;
extern const char* const BIKE_CHOICES[BIKE_CHOICE_COUNT];

// Maps the four old bike names to the models actually loaded
// ("crf250" -> "crf250(2008)" and so on); other names come back unchanged.
const char* apply_bike_alias(const char* name);

// The file-name prefix of a bike's alternative textures: the model name up
// to its parenthesis, then "-" ("crf250(2009)" -> "crf250-").
std::string bike_texture_prefix(const std::string& bike);
