// The points series: championships over the shipped tracks, with robot
// riders from the roster (numbers 20-39 ride 125s, 40-79 ride 250Fs,
// 80-99 are the fastest 250F riders).
#include "art/series.h"

#include <algorithm>

namespace art {

namespace {

// Points for finishing positions 1..20 of a moto; 0 below.
constexpr int MOTO_POINTS[20] = {25, 22, 20, 18, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

std::string table(bool scoring, int scale) {
  std::string out;
  for (int position = 0; position < 40; ++position) {
    int points = scoring && position < 20 ? MOTO_POINTS[position] * scale : 0;
    out += std::to_string(points) + (position % 20 == 19 ? "\n" : " ");
  }
  return out;
}

// A text for a double-quoted field: quotes and line breaks would end it.
std::string quotable(std::string text) {
  for (char& c : text)
    if (c == '"' || c == '\n' || c == '\r') c = '\'';
  return text;
}

struct SeriesPlan {
  std::string file, title, skill;
  std::vector<int> riders;
  int minutes, laps;
};

// Two motos a round: the first scores for the round only, the second
// closes it (the riders' moto scores decide the round order, which earns
// championship points at twice the moto scale).
std::string series_text(const SeriesPlan& plan, const std::vector<TrackEntry>& tracks) {
  std::string out = "\"" + quotable(plan.title) + "\"\n" + std::to_string(plan.riders.size()) + " " + plan.skill + "\n";
  for (size_t i = 0; i < plan.riders.size(); ++i)
    out += std::to_string(plan.riders[i]) + (i % 10 == 9 || i + 1 == plan.riders.size() ? "\n" : " ");
  out += std::to_string(tracks.size() * 2) + "\n";
  int round = 1;
  for (const TrackEntry& track : tracks) {
    for (int moto = 1; moto <= 2; ++moto) {
      out += "\"Round " + std::to_string(round) + " - " + quotable(track.title) + " - Moto " + std::to_string(moto) + "\" " +
             track.folder + " " + std::to_string(plan.minutes) + " " + std::to_string(plan.laps) + "\n";
      out += table(true, 1);
      out += table(moto == 2, 2);
    }
    ++round;
  }
  return out;
}

std::vector<int> numbers(int first, int last) {
  std::vector<int> out;
  for (int n = first; n <= last; ++n) out.push_back(n);
  return out;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> series_files(const std::vector<TrackEntry>& tracks) {
  if (tracks.empty()) return {};
  std::vector<int> pro = numbers(80, 99), field = numbers(60, 74);
  pro.insert(pro.end(), field.begin(), field.end());
  const SeriesPlan plans[] = {
      {"series/125-class.series", "125 Class Championship", "Amateur", numbers(20, 39), 0, 5},
      {"series/250-class.series", "250F Pro Championship", "Expert", pro, 8, 2},
  };
  std::vector<std::pair<std::string, std::string>> out;
  for (const SeriesPlan& plan : plans) out.push_back({plan.file, series_text(plan, tracks)});
  return out;
}

}  // namespace art
