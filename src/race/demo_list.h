// The demos found in the game data and the home folder: every
// "demos/<name>.bldemo", titled by its file name without extension.
#pragma once

#include <string>
#include <vector>

constexpr int DEMOS_PER_PAGE = 20;

// The demo files and their titles in menu order.
struct DemoList {
  std::vector<std::string> files;
  std::vector<std::string> titles;
};
extern DemoList demo_list;

void build_demo_list();

// Pages of the demo menu: (count + 19) / 20.
int demo_page_count();
