// Training the robots' racing lines for the shipped tracks, headless and
// deterministic: coaches ride laps round the track at the skill's pace and
// their rides are recorded as racing lines, then robots race on those lines
// with learning on, first exploring every line, then racing the ones they
// rate.
#pragma once

#include <string>

namespace lines {

// What a training did, for the report.
struct TrainingReport {
  int coach_rides = 0, coach_finishes = 0;
  int robot_races = 0, robot_finishes = 0, robot_starts = 0;
  double simulated_seconds = 0;
  int lines = 0, tested_lines = 0;
  double predicted_lap = 0;  // s, a normal lap as the plan predicts it
};

// Trains the lines of one track and skill of the game data the data layer
// points at, using its home folder as scratch space (its lines files are
// replaced). Returns the lines file text, "" when the home folder cannot
// be written or the track does not load.
std::string train_lines(const std::string& track, int skill, TrainingReport* report);

}  // namespace lines
