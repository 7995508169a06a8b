// The physics part of a race tick for bikes the tests hold themselves,
// outside a race session: ground contacts, bike-pair contacts (fastest bike
// first), the world step with the contact group emptied, then step_bike
// for each bike in order. Scenery, roost and the race's bookkeeping are
// left out. Does not advance race_clock.
#pragma once

struct Bike;

// Bikes beyond MAX_TICK_BIKES (physics/bike_tick.h) are not simulated.
void tick_bikes(Bike* const* bikes, int count);
