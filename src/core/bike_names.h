// Bike names as the settings and the race lineup know them.
#pragma once

#include <string>

// The "Bike" setting's options, in menu order.
constexpr int BIKE_CHOICE_COUNT = 17;
inline constexpr const char* BIKE_CHOICES[BIKE_CHOICE_COUNT] = {
    "crf250(2009)", "kx250f(2009)", "rmz250(2009)", "yz250f(2009)", "crf250(2008)",
    "kx250f(2008)", "rmz250(2008)", "yz250f(2008)", "crf250(2007)", "kx250f(2007)",
    "rmz250(2007)", "yz250f(2007)", "yz250f_se(2006)", "cr125", "kx125", "rm125", "yz125"};

// Maps the four old bike names to the models actually loaded
// ("crf250" -> "crf250(2008)" and so on); other names come back unchanged.
const char* apply_bike_alias(const char* name);

// The file-name prefix of a bike's alternative textures: the model name up
// to its parenthesis, then "-" ("crf250(2009)" -> "crf250-").
std::string bike_texture_prefix(const std::string& bike);
