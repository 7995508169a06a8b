#include "race/demo_list.h"

#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "platform/base/log.h"

DemoList demo_list;

void build_demo_list() {
  demo_list.files.clear();
  demo_list.titles.clear();
  static const std::string prefix = "demos/", suffix = ".bldemo";
  for (const std::string& name : list_data_files()) {
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    size_t slash = name.rfind('/');
    size_t dot = name.rfind('.');
    std::string title = name.substr(slash + 1, dot - slash - 1);
    demo_list.files.push_back(name);
    demo_list.titles.push_back(title);
    if (run_settings.debug_level > 0) voxa_log("%s -> %s\n", name.c_str(), title.c_str());
  }
}

int demo_page_count() { return (static_cast<int>(demo_list.files.size()) + DEMOS_PER_PAGE - 1) / DEMOS_PER_PAGE; }
