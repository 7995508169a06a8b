// SDL's audio system, started for the sound output. Without a usable
// device the silent "dummy" driver takes over, so the game runs on.
#pragma once

// Starts the audio system and checks that a device opens. Returns the name
// of the driver in use ("dummy" when no device could be used), or null when
// not even that starts. Logged either way.
const char* start_audio_system();

void stop_audio_system();
