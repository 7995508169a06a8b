// The wheels every bike shares: "@front_wheel.jm" and "@rear_wheel.jm"
// (axle at the origin, along x) and the wheel textures "@wheels.png",
// "@wheels-alt1.png", "@wheels-alt2.png".
#pragma once

#include "art/model_parts.h"
#include "kit/image.h"

namespace art {

Model front_wheel_model(Detail detail);
Model rear_wheel_model(Detail detail);

inline constexpr int WHEEL_TEXTURE_COUNT = 3;
kit::Image paint_wheel_texture(int variant);

}  // namespace art
