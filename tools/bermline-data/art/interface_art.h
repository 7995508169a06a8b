// The heads-up display's pictures ("@tach.png", "@shifter.png",
// "@pitboard.png"), the title and loading screen ("@title.ppm") and the
// default roost particle ("@roost.png").
#pragma once

#include "kit/image.h"

namespace art {

kit::Image tach_picture();
kit::Image shifter_picture();
kit::Image pitboard_picture();
kit::Image title_picture();
kit::Image roost_picture();

}  // namespace art
