// The display tests' process-wide setup.
#include <SDL.h>
#include <gtest/gtest.h>

// System libraries that SDL starts keep memory to the end of the process:
// the D-Bus connection and the OpenGL driver.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:_dri.so\n"
         "leak:libgallium\n"
         "leak:libLLVM\n";
}

namespace {

// Keeps SDL's video system up from the first test to the end of the process,
// so the OpenGL driver stays loaded and the leak checker can name it.
struct VideoKeptUp : ::testing::Environment {
  void SetUp() override { SDL_InitSubSystem(SDL_INIT_VIDEO); }
};

const auto* const video_kept_up = ::testing::AddGlobalTestEnvironment(new VideoKeptUp);

}  // namespace
