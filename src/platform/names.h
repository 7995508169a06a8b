// Interned names and key aliases, shared by every window of the run.
#pragma once

#include <string_view>

// One stored copy per distinct text; the pointer stays valid for the run.
const char* intern_name(std::string_view text);

// Makes `alias` stand for `name` in key and axis lookups. Only the first
// definition of an alias counts; a second one is logged and ignored.
void define_alias(const char* alias, const char* name);

// The name an alias stands for, or the name itself when it is no alias.
const char* resolve_alias(const char* name);

// The aliases every run has: "cursor-left" = "Mouse Left", "mouse-x" =
// "Mouse.axis[0]", "joystick-a-1" = "Joystick1.key[0]" and so on. Defined
// once per run; later calls do nothing.
void define_standard_aliases();
