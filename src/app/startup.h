// The game's entry point: start-up in its fixed order, the main loop, and
// shut-down. Returns the process exit status.
#pragma once

int bermline_main(int argc, char** argv);
