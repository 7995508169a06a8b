// The demos found in the game data and the home folder: every
// "demos/<name>.bldemo", titled by its file name without extension.
#pragma once

#include <string>
#include <vector>

constexpr int DEMOS_PER_PAGE = 20;

extern std::vector<std::string> demo_files;
extern std::vector<std::string> demo_titles;

void build_demo_list();

// Pages of the demo menu: (count + 19) / 20.
int demo_page_count();
