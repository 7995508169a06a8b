// The rider: the skinned body (bones of rider_rig.h), its first-person
// version (arms, legs and hips only, so the view from the helmet is clear),
// the helmet and the back number plate, all in rider body coordinates; and
// the riding gear and helmet textures with their alternatives.
#pragma once

#include "art/model_parts.h"
#include "kit/image.h"

namespace art {

Model rider_body_model(Detail detail);
Model rider_body_first_person_model(Detail detail);
Model rider_head_model(Detail detail);
Model rider_plate_model(Detail detail);

// 0 is the default ("@rider_body.png"), 1..3 the alternatives
// ("@rider_body-alt1.png" ...); likewise for the helmet.
inline constexpr int RIDER_TEXTURE_COUNT = 4;
kit::Image paint_rider_body_texture(int variant);
kit::Image paint_rider_head_texture(int variant);

}  // namespace art
