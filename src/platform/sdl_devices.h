// SDL's joysticks and game controllers, the mouse and the pointer as input
// devices ("Joystick1", "Mouse", "cursor").
#pragma once

#include <SDL_events.h>
#include <SDL_video.h>

#include "platform/input_devices.h"

// The roll call: the mouse and every attached joystick, then the built-in
// "cursor" device (the pointer's position in the window's client area).
// The caller has started SDL's joystick and game-controller subsystems.
void open_sdl_devices(DeviceList* list, SDL_Window* window);

// Takes a device's part of an SDL event: joysticks plugged in or pulled
// out, joystick buttons and hats, mouse motion, wheel and buttons.
void handle_sdl_device_event(DeviceList* list, const SDL_Event& event, long seconds,
                             long microseconds);
