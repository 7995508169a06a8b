// The real main loop in a real window (Xvfb in the test runs), on a race
// on the flats, paced by a clock the test moves: every pass stands for
// 1/8 s of game time (16 ticks), and every event pushed before a pass is
// handed out in that pass's first tick.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "display_kit.h"
#include "race_kit.h"

namespace loop_kit {

class LoopTest : public race_kit::FlatsRace {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts a race on the flats and enters the loop with the menu closed.
  void start(std::vector<int32_t> codes, int32_t laps = 3, bool time_trial = false);
  // Passes of 1/8 s each.
  void pass(int count = 1);

  // SDL events as the window would deliver them.
  static void key(SDL_Scancode scancode, bool down);
  static void tap(SDL_Scancode scancode);  // down and up, handed out in one tick
  static void text(const char* typed);

  display_kit::CapturedLog log;
  Window* window = nullptr;
  CommandLine line;
  GameLoop loop;
};

}  // namespace loop_kit
