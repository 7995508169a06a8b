#include "core/race_clock.h"

int32_t race_clock = 0;
