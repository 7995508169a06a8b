// bermline-sim: runs a race headless and prints its result.
#include <cstdio>
#include <string>

#include "platform/base/fatal.h"
#include "sim_options.h"
#include "sim_run.h"

int main(int argc, char** argv) {
  install_out_of_memory_handler();
  SimOptions options;
  std::string error;
  if (!parse_sim_options(argc, argv, &options, &error)) {
    if (!error.empty()) std::fprintf(stderr, "bermline-sim: %s\n", error.c_str());
    std::fputs(SIM_USAGE, error.empty() ? stdout : stderr);
    return error.empty() ? 0 : 1;
  }
  return run_sim(options, stdout, stderr);
}
