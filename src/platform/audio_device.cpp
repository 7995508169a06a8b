#include "platform/audio_device.h"

#include <SDL.h>

#include "platform/base/log.h"

namespace {

constexpr int PROBE_RATE = 22050;
constexpr int PROBE_SAMPLES = 512;

bool started = false;

// A device of the current driver opens (and is closed again at once).
bool device_opens() {
  SDL_AudioSpec wanted{};
  wanted.freq = PROBE_RATE;
  wanted.format = AUDIO_U8;
  wanted.channels = 2;
  wanted.samples = PROBE_SAMPLES;
  SDL_AudioSpec obtained{};
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
  if (device == 0) return false;
  SDL_CloseAudioDevice(device);
  return true;
}

}  // namespace

const char* start_audio_system() {
  if (started) return SDL_GetCurrentAudioDriver();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (device_opens()) {
      started = true;
      voxa_log("Audio driver \"%s\"\n", SDL_GetCurrentAudioDriver());
      return SDL_GetCurrentAudioDriver();
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  voxa_log("No audio device (%s): the sound stays silent on the \"dummy\" driver\n", SDL_GetError());
  SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    voxa_log("Can't start the \"dummy\" audio driver: %s\n", SDL_GetError());
    return nullptr;
  }
  started = true;
  return SDL_GetCurrentAudioDriver();
}

void stop_audio_system() {
  if (!started) return;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  started = false;
}
