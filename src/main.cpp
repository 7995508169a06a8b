#include "app/startup.h"

#if defined(__SANITIZE_ADDRESS__)
// In the sanitizer build: system libraries that SDL starts keep memory to
// the end of the process (the D-Bus connection, the OpenGL driver).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n"
         "leak:_dri.so\n"
         "leak:libgallium\n"
         "leak:libLLVM\n";
}
#endif

int main(int argc, char** argv) { return bermline_main(argc, argv); }
