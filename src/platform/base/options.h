// Platform switches from the environment variable VOXA_OPTIONS, a sequence
// of bracketed settings such as "[threaded:yes][sound-rate:44100]".
#pragma once

// "yes"/"on" give 1, "no"/"off" give 0; anything else is logged and gives
// the default, as does a missing setting.
int voxa_option_bool(const char* name, int default_value);

// A decimal number with an optional sign; no digits is logged and gives the
// default.
int voxa_option_int(const char* name, int default_value);

// Replaces the options text read from the environment (tests and tools).
// Null forgets it, so the next lookup reads the environment again.
void voxa_set_options_text(const char* text);
