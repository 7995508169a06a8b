// The chat page's input line: chat for the server, or with a leading "/"
// (or "\") one of the console commands; a history of the lines sent, and
// the scrolled message list. The page itself is drawn by the menus.
#pragma once

#include <array>
#include <string>

struct GameLoop;

constexpr int MENU_PAGE_CHAT = 15;
constexpr int CHAT_HISTORY_LINES = 100;
constexpr size_t CHAT_HISTORY_BYTES = 119;  // a history line's text (120 with its end)
constexpr size_t CHAT_SEND_BYTES = 466;     // a chat message's text at most
constexpr int MESSAGE_SCROLL_MAX = 950;
constexpr double CHAT_SPAM_SECONDS = 2.0;

struct ChatLine {
  std::string input;
  std::array<std::string, CHAT_HISTORY_LINES> history;  // [0] the newest
  int history_count = 0;
  int history_position = -1;  // the history line shown; -1 = the line being typed
  int scroll = 0;             // message list lines scrolled back
  double last_sent = -1e9;    // game clock of the last chat line sent
};

// "enter" on the chat page: runs a command or sends the line. A command
// or a sent line goes to the front of the history and the input clears;
// an unknown command, spam (a line within 2 s of the last) and a line
// while not connected stay in the input.
void submit_chat_line(ChatLine* chat, double game_clock);

// The chat page's keys: enter submits, up and down walk the history, page
// up and page down scroll the message list, typed characters and
// backspace edit the line. Other pages' keys are left to the menus.
void chat_page_key(GameLoop& loop, int code);
