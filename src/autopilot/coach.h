// The coach: a plain rider for headless races. It rides the track's timing
// gates in their race order, steering for the next gate and holding a speed
// the turn ahead allows. A tool for tests, benchmarks and training, not a
// game rider: the robots ride racing lines.
#pragma once

struct Bike;

// How fast the coach rides: on a straight, and through a right-angle turn.
struct CoachPace {
  double top_speed = 70;   // ft/s
  double turn_speed = 24;  // ft/s
};

// Sets the pace of every coach from now on.
void set_coach_pace(const CoachPace& pace);

// Sets the bike's controls for this tick (before race_tick).
void coach_tick(Bike& b);

// Sets the controls of every bike of the race ridden by the local player,
// which the coach rides in headless races.
void drive_coaches();

// Forgets what the coach remembered of earlier races.
void reset_coaches();
