#include "platform/sdl_devices.h"

#include <SDL_gamecontroller.h>
#include <SDL_joystick.h>
#include <SDL_mouse.h>

#include "platform/base/clock.h"
#include "platform/base/log.h"
#include "platform/names.h"

namespace {

constexpr int MOUSE_AXES = 3;     // x, y, wheel
constexpr int MOUSE_BUTTONS = 5;  // left, right, middle, x1, x2
constexpr int WHEEL_STEP = 120;   // axis units per wheel notch
constexpr int HAT_BUTTONS = 4;    // each hat gives up, right, down and left buttons

SDL_Joystick* joystick_of(const Device* device) {
  return static_cast<SDL_Joystick*>(device->system);
}

// Joysticks: SDL keeps the current state; button changes normally arrive as
// events, and the snapshot here catches any that did not.
void update_joystick(Device* device) {
  SDL_Joystick* joystick = joystick_of(device);
  if (!joystick) return;
  for (int axis = 0; axis < device->axis_count; ++axis)
    set_device_axis(device, axis, SDL_JoystickGetAxis(joystick, axis));
  long seconds = 0, microseconds = 0;
  platform_clock(&seconds, &microseconds);
  int buttons = SDL_JoystickNumButtons(joystick);
  for (int button = 0; button < buttons; ++button)
    set_device_button(device, button, SDL_JoystickGetButton(joystick, button) != 0, seconds,
                      microseconds);
  int hats = SDL_JoystickNumHats(joystick);
  for (int hat = 0; hat < hats; ++hat) {
    Uint8 value = SDL_JoystickGetHat(joystick, hat);
    for (int bit = 0; bit < HAT_BUTTONS; ++bit)
      set_device_button(device, buttons + hat * HAT_BUTTONS + bit, (value >> bit) & 1, seconds,
                        microseconds);
  }
}

void destroy_joystick(Device* device) {
  if (SDL_Joystick* joystick = joystick_of(device)) SDL_JoystickClose(joystick);
  device->system = nullptr;
}

constexpr DeviceOps JOYSTICK_OPS = {update_joystick, nullptr, nullptr, destroy_joystick};

// The mouse: relative axes summed from motion events, so nothing to read.
constexpr DeviceOps MOUSE_OPS = {nullptr, nullptr, nullptr, nullptr};

// The pointer's position in the window's client area, asked at each read.
void update_cursor(Device* device) {
  auto* window = static_cast<SDL_Window*>(device->system);
  if (!window) return;
  int x = 0, y = 0, left = 0, top = 0;
  SDL_GetGlobalMouseState(&x, &y);
  SDL_GetWindowPosition(window, &left, &top);
  set_device_axis(device, 0, x - left);
  set_device_axis(device, 1, y - top);
}

constexpr DeviceOps CURSOR_OPS = {update_cursor, nullptr, nullptr, nullptr};

void add_joystick(DeviceList* list, int index) {
  SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(index);
  if (instance < 0 || find_device_by_system_id(list, instance)) return;
  const char* sdl_name = SDL_JoystickNameForIndex(index);
  const char* instance_name = sdl_name && *sdl_name ? sdl_name : "Joystick";
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  if (!joystick) {
    voxa_log("Can't create \"%s\"\n", instance_name);
    return;
  }
  int axes = SDL_JoystickNumAxes(joystick);
  int buttons = SDL_JoystickNumButtons(joystick) + HAT_BUTTONS * SDL_JoystickNumHats(joystick);
  if (axes < 0 || buttons < 0) {
    voxa_log("Can't get device caps\n");
    SDL_JoystickClose(joystick);
    return;
  }

  // A device plugged back in takes up its old record, name and bindings.
  if (Device* device =
          find_unplugged_device(list, device_base_name(instance_name), axes, buttons)) {
    device->system = joystick;
    device->system_id = instance;
    device->connected = true;
    voxa_log("Reconnected %s\n", device->name.c_str());
    update_joystick(device);
    return;
  }

  char product[64];
  if (SDL_IsGameController(index)) {
    const char* controller = SDL_GameControllerNameForIndex(index);
    SDL_strlcpy(product, controller ? controller : "game controller", sizeof product);
  } else {
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), product, sizeof product);
  }
  DeviceDescription description{instance_name, product,       axes,     buttons,  false,
                                true,          &JOYSTICK_OPS, joystick, instance, false};
  Device* device = add_device(list, description);
  update_joystick(device);
}

void remove_joystick(DeviceList* list, SDL_JoystickID instance, long seconds, long microseconds) {
  Device* device = find_device_by_system_id(list, instance);
  if (!device) return;
  voxa_log("Disconnected %s\n", device->name.c_str());
  destroy_joystick(device);
  disconnect_device(device, seconds, microseconds);
}

Device* mouse_device(DeviceList* list) { return find_device(list, "Mouse"); }

int mouse_button_index(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    case SDL_BUTTON_X1:
      return 3;
    case SDL_BUTTON_X2:
      return 4;
    default:
      return -1;
  }
}

}  // namespace

void open_sdl_devices(DeviceList* list, SDL_Window* window) {
  voxa_log("DirectInput roll call...\n");
  add_device(list, {"Mouse", "Mouse", MOUSE_AXES, MOUSE_BUTTONS, true, false, &MOUSE_OPS, nullptr,
                    -1, false});
  int count = SDL_NumJoysticks();
  for (int index = 0; index < count; ++index) add_joystick(list, index);
  voxa_log("End of DirectInput roll call\n");
  define_standard_aliases();
  add_device(list, {"cursor", "cursor", 2, 0, false, false, &CURSOR_OPS, window, -1, true});
}

void handle_sdl_device_event(DeviceList* list, const SDL_Event& event, long seconds,
                             long microseconds) {
  switch (event.type) {
    case SDL_JOYDEVICEADDED:
      add_joystick(list, event.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      remove_joystick(list, event.jdevice.which, seconds, microseconds);
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (Device* device = find_device_by_system_id(list, event.jbutton.which))
        set_device_button(device, event.jbutton.button, event.jbutton.state == SDL_PRESSED, seconds,
                          microseconds);
      break;
    case SDL_JOYHATMOTION:
      if (Device* device = find_device_by_system_id(list, event.jhat.which)) {
        int first = SDL_JoystickNumButtons(joystick_of(device)) + event.jhat.hat * HAT_BUTTONS;
        for (int bit = 0; bit < HAT_BUTTONS; ++bit)
          set_device_button(device, first + bit, (event.jhat.value >> bit) & 1, seconds,
                            microseconds);
      }
      break;
    case SDL_MOUSEMOTION:
      if (Device* mouse = mouse_device(list)) {
        add_device_motion(mouse, 0, event.motion.xrel);
        add_device_motion(mouse, 1, event.motion.yrel);
      }
      break;
    case SDL_MOUSEWHEEL:
      if (Device* mouse = mouse_device(list)) {
        int notches =
            event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        add_device_motion(mouse, 2, notches * WHEEL_STEP);
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (Device* mouse = mouse_device(list)) {
        int button = mouse_button_index(event.button.button);
        if (button >= 0)
          set_device_button(mouse, button, event.button.state == SDL_PRESSED, seconds,
                            microseconds);
      }
      break;
    default:
      break;
  }
}
