// Input devices: joysticks, wheels, pedals, the mouse and the pointer.
//
// Each device has a name the configuration file binds to ("Joystick1.axis[0]",
// "Joystick1 button 3"), an id in bits 16-30 so that its button n arrives as
// key code id + n, analog axes read on demand, and button states that turn
// into press and release events while the device is open. This part knows
// nothing of SDL: the system side (sdl_devices.h) fills in the states
// through a table of operations.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Device;
struct DeviceList;
struct EventQueue;

constexpr int DEVICE_MAX_AXES = 100;
constexpr int DEVICE_MAX_BUTTONS = 500;
constexpr int DEVICE_BUTTON_CODES = 256;  // buttons 0..255 have key codes
constexpr int32_t DEVICE_ID_MASK = 0x7FFF0000;
constexpr int32_t AXIS_LIMIT = 32767;

// What varies between kinds of device. Any entry may be null.
struct DeviceOps {
  void (*update)(Device* device);  // reads the current state into the record
  void (*open)(Device* device);    // button events start flowing
  void (*close)(Device* device);   // and stop
  void (*destroy)(Device* device);
};

struct Device {
  std::string name;       // unique: "Joystick1", "Joystick1#2", "Mouse"
  std::string base_name;  // the instance name with spaces and "." removed
  int32_t id = 0;
  int open_count = 0;          // open axis handles
  bool buttons_bound = false;  // a button name was resolved: keep events flowing
  bool relative = false;       // axes report motion since the last read
  bool connected = true;       // false once unplugged: centred, buttons up
  int axis_count = 0;
  int button_count = 0;
  std::vector<int32_t> axes;
  std::vector<uint8_t> buttons;
  const DeviceOps* ops = nullptr;
  void* system = nullptr;  // the system's handle of the device
  int32_t system_id = -1;  // the system's instance number
  DeviceList* list = nullptr;
};

struct DeviceList {
  std::vector<std::unique_ptr<Device>> devices;
  std::vector<std::string> axis_names;  // "%.200s axis %d" of every absolute axis
  EventQueue* events = nullptr;         // where button events go
};

struct AxisHandle {
  Device* device;
  int axis;
};

// What the system tells about a device being added.
struct DeviceDescription {
  const char* instance_name;
  const char* product_name;
  int axis_count;
  int button_count;
  bool relative;
  bool list_axes;  // offer its axes for binding (the axis-name list)
  const DeviceOps* ops;
  void* system;
  int32_t system_id;
  bool quiet;  // built-in devices skip the roll-call log lines
};

// The instance name with spaces and "." removed ("Device" when nothing is left).
std::string device_base_name(const char* instance_name);

// The name not yet taken: the base name, else base "#2", "#3", ...
std::string unique_device_name(const DeviceList* list, const std::string& base);

// The 15-bit hash of a name, in bits 16-30.
int32_t device_name_hash(std::string_view name);

// The hash, or the next free id above it (+0x10000, within bits 16-30).
int32_t unique_device_id(const DeviceList* list, int32_t hash);

// Adds a device with the roll-call log lines; gives the new record.
Device* add_device(DeviceList* list, const DeviceDescription& description);

// A device that was unplugged, has the same base name and as many axes and
// buttons, so that a plugged-back device keeps its name and bindings.
Device* find_unplugged_device(DeviceList* list, const std::string& base, int axis_count,
                              int button_count);

Device* find_device(DeviceList* list, std::string_view name);
Device* find_device_by_system_id(DeviceList* list, int32_t system_id);

// True while the device's button changes become events.
bool device_polling(const Device* device);

// Records a button state; a change on a polling device queues an event.
void set_device_button(Device* device, int button, bool pressed, long seconds, long microseconds);

// Sets an absolute axis (clamped to -32767..32767).
void set_device_axis(Device* device, int axis, int32_t value);

// Adds motion to a relative axis of a polling device.
void add_device_motion(Device* device, int axis, int32_t delta);

// An unplugged device reads centred and its held buttons are released.
void disconnect_device(Device* device, long seconds, long microseconds);

// Splits "Name.key[3]" / "Name button 3" (with word "key"/"button") or
// "Name.axis[0]" / "Name axis 0" (with "axis"/"axis") into name and index.
bool parse_device_item(const char* text, const char* dotted_word, const char* spaced_word,
                       std::string* device_name, int* index);

// The key code of a name: aliases, keyboard names, "0x%x", then device
// buttons. Resolving a device button keeps that device's button events on.
bool lookup_key_code(DeviceList* list, const char* name, int* code);

// The interned name of a key code, or null.
const char* lookup_key_name(DeviceList* list, int code);

// Axis handles: "Name.axis[n]" or "Name axis n" (or an alias of one); n must
// be below the device's axis count. The first handle opens the device and
// closing the last one closes it.
AxisHandle* open_device_axis(DeviceList* list, const char* name);
void close_device_axis(AxisHandle* handle);

// Absolute axes: -32767..32767; relative axes: the motion since the last read.
int32_t read_device_axis(AxisHandle* handle);

// Lets every polling device read its state (and queue button changes).
void update_polling_devices(DeviceList* list);

// Closes and destroys every device, logging "Killing %s\n" for each. Axis
// handles must be closed before.
void close_all_devices(DeviceList* list);
