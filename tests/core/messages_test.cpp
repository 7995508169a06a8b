#include "core/messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Messages, NewestFirstWithoutLineEndsAndCutTo127Bytes) {
  clear_messages();
  post_message("first\n");
  post_message("second %d", 2);
  post_message("%s", std::string(300, 'x').c_str());
  EXPECT_EQ(std::strlen(message_line(0)), 127u);
  EXPECT_STREQ(message_line(1), "second 2");
  EXPECT_STREQ(message_line(2), "first");
  EXPECT_EQ(message_line(3), nullptr);
}

TEST(Messages, RingKeepsTheNewestThousand) {
  clear_messages();
  for (int i = 0; i < 1005; ++i) post_message("line %d", i);
  EXPECT_STREQ(message_line(0), "line 1004");
  EXPECT_STREQ(message_line(999), "line 5");
  EXPECT_EQ(message_line(1000), nullptr);
}

TEST(Messages, AtMostFiveShownAndOneFadesEveryFiveSeconds) {
  clear_messages();
  age_messages(100.0);
  for (int i = 0; i < 7; ++i) post_message("m%d", i);
  EXPECT_EQ(messages_shown(), 5);
  age_messages(104.9);
  EXPECT_EQ(messages_shown(), 5);
  age_messages(105.1);
  EXPECT_EQ(messages_shown(), 4);
  age_messages(106.0);  // the next fades five seconds after the last one
  EXPECT_EQ(messages_shown(), 4);
  age_messages(110.2);
  EXPECT_EQ(messages_shown(), 3);
  post_message("new");
  EXPECT_EQ(messages_shown(), 4);
}
