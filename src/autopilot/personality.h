// The robots' characters: which plan a robot rides by, when it counts as
// comfortably ahead, and how quickly it reacts to the gate drop.
#pragma once

struct Personality {
  const char* name;
  int plan_type;           // see line_plan.h
  int plan_type_ahead;     // when comfortably ahead
  double lead_threshold;   // s over the second rider
  double reaction_min, reaction_max;  // s after the gate drop
};

constexpr int PERSONALITY_COUNT = 5;  // entry 0: not a robot

const Personality& personality(int index);
// Entry 1 .. 4 with this name, 0 when none has it.
int find_personality(const char* name);
