#include "app/game_hooks.h"

#include <SDL_opengl.h>

#include "app/chat_line.h"

namespace {

DrawHooks draw;
SoundHooks sound;
NetworkHooks network;
MenuHooks menu;
EditorHooks editor;

}  // namespace

void clear_frame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

MenuHooks::MenuHooks() : key(chat_page_key) {}

void set_draw_hooks(const DrawHooks& hooks) { draw = hooks; }
void set_sound_hooks(const SoundHooks& hooks) { sound = hooks; }
void set_network_hooks(const NetworkHooks& hooks) { network = hooks; }
void set_menu_hooks(const MenuHooks& hooks) { menu = hooks; }
void set_editor_hooks(const EditorHooks& hooks) { editor = hooks; }
const DrawHooks& draw_hooks() { return draw; }
const SoundHooks& sound_hooks() { return sound; }
const NetworkHooks& network_hooks() { return network; }
const MenuHooks& menu_hooks() { return menu; }
const EditorHooks& editor_hooks() { return editor; }
