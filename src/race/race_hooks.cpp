#include "race/race_hooks.h"

namespace {

AutopilotHooks autopilot;
RaceDisplayHooks display;

}  // namespace

void set_autopilot_hooks(const AutopilotHooks& hooks) { autopilot = hooks; }
void set_race_display_hooks(const RaceDisplayHooks& hooks) { display = hooks; }
const AutopilotHooks& autopilot_hooks() { return autopilot; }
const RaceDisplayHooks& race_display_hooks() { return display; }

const char* lines_file_name(int skill) {
  static const char* const names[] = {"lines_novice", "lines_amateur", "lines_expert"};
  return names[skill < 0 ? 0 : skill > 2 ? 2 : skill];
}
