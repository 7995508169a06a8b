// The contacts of one race tick before the world step: every bike ridden
// here against the ground and the solid scenery near it, then every pair of
// bikes, fastest first.
#pragma once

struct Bike;

// A bike against the statues with shapes in the scenery cells within 6 ft
// of its frame body (each statue tested once).
void collide_bike_scenery(Bike& b);

// All contacts of the tick, offline.
void collide_race_bikes();
