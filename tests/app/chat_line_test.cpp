#include "app/chat_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game_hooks.h"
#include "app/main_loop.h"
#include "core/messages.h"
#include "core/settings.h"

namespace {

std::vector<std::string> sent;
bool online = false;

struct Chat : ::testing::Test {
  ChatLine chat;
  void SetUp() override {
    reset_settings();
    clear_messages();
    sent.clear();
    online = false;
    NetworkHooks network;
    network.connected = [] { return online; };
    network.send_chat = [](const char* line) { sent.push_back(line); };
    set_network_hooks(network);
  }
  void TearDown() override { set_network_hooks({}); }
  void submit(const std::string& line, double clock = 100) {
    chat.input = line;
    submit_chat_line(&chat, clock);
  }
};

}  // namespace

TEST_F(Chat, CommandsRunAndGoToTheHistory) {
  submit("/togglespy");
  EXPECT_EQ(settings.spy.integer, 1);
  EXPECT_STREQ(message_line(0), "Spy mode ON");
  submit("\\togglespy");
  EXPECT_STREQ(message_line(0), "Spy mode OFF");
  submit("/bbopt 12");
  EXPECT_EQ(settings.billboard_optimize_lookahead.integer, 12);
  EXPECT_STREQ(message_line(0), "Billboard optimization window is now 12");
  EXPECT_EQ(chat.history_count, 3);
  EXPECT_EQ(chat.history[0], "/bbopt 12");
  EXPECT_EQ(chat.history[2], "/togglespy");
  EXPECT_TRUE(chat.input.empty());

  // An unknown command does nothing and stays in the line.
  submit("/togglespyx");
  submit("/warp");
  EXPECT_EQ(chat.input, "/warp");
  EXPECT_EQ(chat.history_count, 3);
  EXPECT_EQ(settings.spy.integer, 0);
  EXPECT_TRUE(sent.empty());
}

TEST_F(Chat, ChatNeedsAServerAndNoSpamming) {
  submit("hello");
  EXPECT_STREQ(message_line(0), "Not connected to server");
  EXPECT_EQ(chat.input, "hello");
  EXPECT_EQ(chat.history_count, 0);

  online = true;
  submit("hello", 100);
  submit("again", 101.5);  // within two seconds
  EXPECT_STREQ(message_line(0), "No one likes a spammer");
  EXPECT_EQ(chat.input, "again");
  submit("again", 102.5);
  EXPECT_EQ(sent, (std::vector<std::string>{"hello", "again"}));
  EXPECT_EQ(chat.history[0], "again");

  // At most 466 bytes go out; the history keeps 119.
  submit(std::string(600, 'z'), 110);
  EXPECT_EQ(sent.back().size(), 466u);
  EXPECT_EQ(chat.history[0].size(), 119u);
}

TEST_F(Chat, TheHistoryKeepsAHundredLines) {
  for (int i = 0; i < 105; ++i) submit("/bbopt " + std::to_string(i));
  EXPECT_EQ(chat.history_count, 100);
  EXPECT_EQ(chat.history[0], "/bbopt 104");
  EXPECT_EQ(chat.history[99], "/bbopt 5");
}

TEST_F(Chat, ThePageKeysEditWalkAndScroll) {
  GameLoop loop;
  loop.menu.open = true;
  loop.menu.page = MENU_PAGE_CHAT;
  const int up = 0x1148, down = 0x1150, enter = 0x101C, page_up = 0x1149;
  loop.menu_keys.code[MENU_UP] = up;
  loop.menu_keys.code[MENU_DOWN] = down;
  loop.menu_keys.code[MENU_ENTER] = enter;
  loop.menu_keys.code[MENU_PAGE_UP] = page_up;
  auto type = [&](const std::string& text) {
    for (char c : text) chat_page_key(loop, static_cast<unsigned char>(c));
  };
  type("/bbopt 33");
  chat_page_key(loop, 8);  // backspace
  type("4");
  chat_page_key(loop, enter);
  EXPECT_EQ(settings.billboard_optimize_lookahead.integer, 34);
  type("/togglespy");
  chat_page_key(loop, enter);

  chat_page_key(loop, up);
  chat_page_key(loop, up);
  EXPECT_EQ(loop.chat.input, "/bbopt 34");
  chat_page_key(loop, up);  // nothing older
  EXPECT_EQ(loop.chat.input, "/bbopt 34");
  chat_page_key(loop, down);
  chat_page_key(loop, down);
  EXPECT_EQ(loop.chat.input, "");

  for (int i = 0; i < 1000; ++i) chat_page_key(loop, page_up);
  EXPECT_EQ(loop.chat.scroll, 950);

  // Keys right after the page changed are not the page's.
  loop.menu.key_lock = true;
  type("x");
  EXPECT_EQ(loop.chat.input, "");
}
