// Numbers for the kit's text formats: fixed decimals with trailing zeros
// dropped ("0.5", "-1.25", "3"), never "-0", the same text on every run.
#pragma once

#include <string>

namespace kit {

std::string number_text(double value, int decimals);

}  // namespace kit
