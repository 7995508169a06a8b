#include "core/ripemd160.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct DigestCase {
  std::string message;
  const char* digest;
};

// The published test vectors of the algorithm.
const DigestCase PUBLISHED[] = {
    {"", "9c1185a5c5e9fc54612808977ee8f548b2258d31"},
    {"a", "0bdc9d2d256b3ee9daae347be6f4dc835a467ffe"},
    {"abc", "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
    {"message digest", "5d0689ef49d2fae572b881b123a85ffa21595f36"},
    {"abcdefghijklmnopqrstuvwxyz", "f71c27109c692c1b56bbdceb5b9d2865b3708dbc"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "12a053384a9c0c88e405a06c27dcf49ada62eb2b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "b0e20b6e3116640286ed3a87a5713079b21f5189"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "9b752e45573d4b39f4dbd3323cab82bf63326bfb"},
    {std::string(1000000, 'a'), "52783243c1697bdbe16d37f97f68f08325dc1528"},
};

TEST(Ripemd160, MatchesPublishedVectors) {
  for (const DigestCase& c : PUBLISHED)
    EXPECT_EQ(Ripemd160::hex(Ripemd160::of(c.message.data(), c.message.size())), c.digest)
        << "message of " << c.message.size() << " bytes";
}

TEST(Ripemd160, PiecewiseUpdatesEqualOneUpdate) {
  std::string text(1000, '\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 7 + 3);
  Ripemd160 pieces;
  // Odd piece sizes cross the 64-byte block boundary in every way.
  for (size_t at = 0, step = 1; at < text.size(); at += step, step = step % 67 + 5)
    pieces.update(text.data() + at, std::min(step, text.size() - at));
  EXPECT_EQ(pieces.finish(), Ripemd160::of(text.data(), text.size()));
}

}  // namespace
