// The robot's hands and feet: the controls as the auto pilot thinks of
// them (clutch as engagement), the pose at the starting gate, and the
// bike-definition values its procedures use.
#pragma once

struct Bike;

// Clutch engagement 0 (lever pulled) .. 1 (engaged), through the lever setter.
void set_engagement(Bike& b, double engagement);

// Holding at the gate: foot down, brakes on, lever pulled, bars straight,
// the launch gear in and no automatic shifting; throttle as given.
void hold_at_gate(Bike& b, double throttle);

// Second gear for two-strokes, whose first gear spins the wheel; first
// for the others.
int launch_gear(const Bike& b);
// The engine speed at which a first-gear clutch is fully in.
double clutch_rpm(const Bike& b);

// The throttle moved toward `wanted` by at most 1/32 per tick.
void ease_throttle(Bike& b, double wanted);
