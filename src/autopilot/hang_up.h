// A robot hung up for good (front wheel up on a hay bale, dug in, wedged
// in a pile of bikes) gets lifted back onto its path, as a marshal would
// lift a rider's bike: without it a robot could sit out the whole race.
#pragma once

#include "autopilot/rider_state.h"

struct Bike;

// Watches how long the bike has stayed near one spot and, once that is long
// enough, puts it back on the path where it has got to (or a few samples
// on, where no other bike is near). True when it put the bike back.
bool rescue_when_hung_up(Bike& b, RiderLines& r);

// Starts the watch afresh where the bike is (each race start).
void reset_hang_up_watch(const Bike& b, RiderLines& r);
