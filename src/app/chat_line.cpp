#include "app/chat_line.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "app/game_hooks.h"
#include "app/main_loop.h"
#include "core/messages.h"
#include "core/settings.h"
#include "track/track_load.h"

namespace {

constexpr int CHARACTER_BACKSPACE = 8;
constexpr size_t CHAT_INPUT_BYTES = CHAT_SEND_BYTES;

// The command's name ends at the end of the line or at white space.
bool is_command(const char* text, const char* name, const char** rest) {
  const size_t length = std::strlen(name);
  if (std::strncmp(text, name, length) != 0) return false;
  const char end = text[length];
  if (end != '\0' && !std::isspace(static_cast<unsigned char>(end)) && !std::isdigit(static_cast<unsigned char>(end)) &&
      end != '-')
    return false;
  *rest = text + length;
  return true;
}

// True when the command was known (and ran).
bool run_command(const char* name) {
  const char* rest = nullptr;
  if (is_command(name, "savetrackinfo", &rest)) {
    save_track_info();
    return true;
  }
  if (is_command(name, "renderstats", &rest)) {
    draw_hooks().start_render_stats();
    return true;
  }
  if (is_command(name, "togglespy", &rest)) {
    settings.spy.integer = settings.spy.integer ? 0 : 1;
    post_message(settings.spy.integer ? "Spy mode ON" : "Spy mode OFF");
    return true;
  }
  if (is_command(name, "bbopt", &rest)) {
    int value = 0;
    if (std::sscanf(rest, "%d", &value) == 1) settings.billboard_optimize_lookahead.integer = value;
    post_message("Billboard optimization window is now %d", settings.billboard_optimize_lookahead.integer);
    return true;
  }
  return false;
}

void remember(ChatLine* chat) {
  const int kept = std::min(chat->history_count, CHAT_HISTORY_LINES - 1);
  for (int i = kept; i > 0; --i) chat->history[static_cast<size_t>(i)].swap(chat->history[static_cast<size_t>(i - 1)]);
  chat->history[0] = chat->input.substr(0, CHAT_HISTORY_BYTES);
  chat->history_count = kept + 1;
  chat->history_position = -1;
  chat->input.clear();
}

void walk_history(ChatLine* chat, int step) {
  const int position = std::clamp(chat->history_position + step, -1, chat->history_count - 1);
  if (position == chat->history_position) return;
  chat->history_position = position;
  chat->input = position < 0 ? std::string() : chat->history[static_cast<size_t>(position)];
}

}  // namespace

void submit_chat_line(ChatLine* chat, double game_clock) {
  const std::string& line = chat->input;
  if (line.empty()) return;
  if (line[0] == '/' || line[0] == '\\') {
    if (run_command(line.c_str() + 1)) remember(chat);
    return;
  }
  if (game_clock - chat->last_sent < CHAT_SPAM_SECONDS) {
    post_message("No one likes a spammer");
    return;
  }
  const NetworkHooks& network = network_hooks();
  if (!network.connected()) {
    post_message("Not connected to server");
    return;
  }
  network.send_chat(line.substr(0, CHAT_SEND_BYTES).c_str());
  chat->last_sent = game_clock;
  remember(chat);
}

void chat_page_key(GameLoop& loop, int code) {
  MenuState& menu = loop.menu;
  if (!menu.open || menu.page != MENU_PAGE_CHAT || menu.key_lock) return;
  ChatLine& chat = loop.chat;
  const MenuKeys& keys = loop.menu_keys;
  if (keys.is(code, MENU_ENTER) || keys.is(code, MENU_KEYPAD_ENTER)) {
    submit_chat_line(&chat, loop.pacing.game_clock);
  } else if (keys.is(code, MENU_UP)) {
    walk_history(&chat, 1);
  } else if (keys.is(code, MENU_DOWN)) {
    walk_history(&chat, -1);
  } else if (keys.is(code, MENU_PAGE_UP)) {
    chat.scroll = std::min(chat.scroll + 1, MESSAGE_SCROLL_MAX);
  } else if (keys.is(code, MENU_PAGE_DOWN)) {
    chat.scroll = std::max(chat.scroll - 1, 0);
  } else if (code == CHARACTER_BACKSPACE) {
    if (!chat.input.empty()) chat.input.pop_back();
  } else if (code >= ' ' && code <= 0xFF && code != 127 && chat.input.size() < CHAT_INPUT_BYTES) {
    chat.input.push_back(static_cast<char>(code));
  }
}
