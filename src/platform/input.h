// The input functions of a window: timestamped key events, key names and
// analog axes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/input_devices.h"

struct Window;

// The oldest event stamped no later than the given platform clock time.
// Both event functions pump the window's events first; when nothing is due
// they let the open devices update and look once more.
bool next_event_due(Window* window, long seconds, long microseconds, int* code, bool* pressed);

// The oldest event whatever its time.
bool next_event(Window* window, int* code, bool* pressed);

// The key code of a name ("Right Ctrl", "right_ctrl", "0x1c", "Mouse Left",
// "Joystick1.key[0]", an alias ...).
bool key_code_of_name(Window* window, const char* name, int* code);

// The name of a key code (interned), or null.
const char* name_of_key_code(Window* window, int code);

// Axis handles ("Joystick1.axis[0]", "Joystick1 axis 0", "mouse-x" ...).
AxisHandle* open_axis(Window* window, const char* name);
void close_axis(AxisHandle* handle);
int32_t read_axis(AxisHandle* handle);

// The names of every absolute axis, offered when a control is being bound.
std::vector<std::string> axis_names(Window* window);
