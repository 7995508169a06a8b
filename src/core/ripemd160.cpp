#include "core/ripemd160.h"

#include <cstring>

namespace {

inline uint32_t rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// Message word order and rotation amounts of the left and right lines.
constexpr uint8_t WORD_LEFT[80] = {
    0, 1, 2,  3,  4,  5,  6,  7,  8, 9, 10, 11, 12, 13, 14, 15, 7,  4,  13, 1,
    10, 6, 15, 3,  12, 0,  9,  5,  2, 14, 11, 8, 3,  10, 14, 4,  9, 15, 8,  1,
    2, 7, 0,  6,  13, 11, 5,  12, 1, 9, 11, 10, 0,  8,  12, 4,  13, 3,  7,  15,
    14, 5, 6,  2,  4,  0,  5,  9,  7, 12, 2,  10, 14, 1,  3,  8,  11, 6,  15, 13};
constexpr uint8_t WORD_RIGHT[80] = {
    5,  14, 7,  0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12, 6,  11, 3,  7,
    0,  13, 5,  10, 14, 15, 8,  12, 4,  9,  1,  2,  15, 5,  1,  3,  7,  14, 6,  9,
    11, 8,  12, 2,  10, 0,  4,  13, 8,  6,  4,  1,  3,  11, 15, 0,  5,  12, 2,  13,
    9,  7,  10, 14, 12, 15, 10, 4,  1,  5,  8,  7,  6,  2,  13, 14, 0,  3,  9,  11};
constexpr uint8_t SHIFT_LEFT[80] = {
    11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,  7,  6,  8,  13,
    11, 9,  7,  15, 7,  12, 15, 9,  11, 7,  13, 12, 11, 13, 6,  7,  14, 9,  13, 15,
    14, 8,  13, 6,  5,  12, 7,  5,  11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,
    8,  6,  5,  12, 9,  15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6};
constexpr uint8_t SHIFT_RIGHT[80] = {
    8,  9,  9,  11, 13, 15, 15, 5,  7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,
    12, 8,  9,  11, 7,  7,  12, 7,  6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14,
    12, 13, 5,  14, 13, 13, 7,  5,  15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,
    12, 5,  15, 8,  8,  5,  12, 9,  12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11};
constexpr uint32_t K_LEFT[5] = {0x00000000, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xA953FD4E};
constexpr uint32_t K_RIGHT[5] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x7A6D76E9, 0x00000000};

inline uint32_t round_function(int round, uint32_t x, uint32_t y, uint32_t z) {
  switch (round) {
    case 0: return x ^ y ^ z;
    case 1: return (x & y) | (~x & z);
    case 2: return (x | ~y) ^ z;
    case 3: return (x & z) | (y & ~z);
    default: return x ^ (y | ~z);
  }
}

}  // namespace

Ripemd160::Ripemd160() { reset(); }

void Ripemd160::reset() {
  state_[0] = 0x67452301;
  state_[1] = 0xEFCDAB89;
  state_[2] = 0x98BADCFE;
  state_[3] = 0x10325476;
  state_[4] = 0xC3D2E1F0;
  buffered_ = 0;
  total_ = 0;
}

void Ripemd160::compress(const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i)
    x[i] = block[i * 4] | (block[i * 4 + 1] << 8) | (block[i * 4 + 2] << 16) |
           (static_cast<uint32_t>(block[i * 4 + 3]) << 24);
  uint32_t al = state_[0], bl = state_[1], cl = state_[2], dl = state_[3], el = state_[4];
  uint32_t ar = al, br = bl, cr = cl, dr = dl, er = el;
  for (int j = 0; j < 80; ++j) {
    int round = j / 16;
    uint32_t t = rol(al + round_function(round, bl, cl, dl) + x[WORD_LEFT[j]] + K_LEFT[round],
                     SHIFT_LEFT[j]) + el;
    al = el, el = dl, dl = rol(cl, 10), cl = bl, bl = t;
    t = rol(ar + round_function(4 - round, br, cr, dr) + x[WORD_RIGHT[j]] + K_RIGHT[round],
            SHIFT_RIGHT[j]) + er;
    ar = er, er = dr, dr = rol(cr, 10), cr = br, br = t;
  }
  uint32_t t = state_[1] + cl + dr;
  state_[1] = state_[2] + dl + er;
  state_[2] = state_[3] + el + ar;
  state_[3] = state_[4] + al + br;
  state_[4] = state_[0] + bl + cr;
  state_[0] = t;
}

void Ripemd160::update(const void* data, size_t length) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  total_ += length;
  while (length > 0) {
    size_t take = 64 - buffered_;
    if (take > length) take = length;
    std::memcpy(buffer_ + buffered_, bytes, take);
    buffered_ += take;
    bytes += take;
    length -= take;
    if (buffered_ == 64) {
      compress(buffer_);
      buffered_ = 0;
    }
  }
}

Ripemd160::Digest Ripemd160::finish() {
  uint64_t bits = total_ * 8;
  uint8_t pad = 0x80;
  update(&pad, 1);
  uint8_t zero = 0;
  while (buffered_ != 56) update(&zero, 1);
  uint8_t length_bytes[8];
  for (int i = 0; i < 8; ++i) length_bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  update(length_bytes, 8);
  Digest digest;
  for (int i = 0; i < 5; ++i)
    for (int b = 0; b < 4; ++b) digest[i * 4 + b] = static_cast<uint8_t>(state_[i] >> (8 * b));
  return digest;
}

Ripemd160::Digest Ripemd160::of(const void* data, size_t length) {
  Ripemd160 hash;
  hash.update(data, length);
  return hash.finish();
}

std::string Ripemd160::hex(const Digest& digest) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : digest) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}
