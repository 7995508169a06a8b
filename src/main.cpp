#include "app/startup.h"

int main(int argc, char** argv) { return bermline_main(argc, argv); }
