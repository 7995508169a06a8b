// RIPEMD-160 message digests (the published algorithm, 20-byte result):
// track identity, the game-data test and the server password proof.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Ripemd160 {
 public:
  using Digest = std::array<uint8_t, 20>;

  Ripemd160();
  void update(const void* data, size_t length);
  Digest finish();  // the object must be reset before further use
  void reset();

  static Digest of(const void* data, size_t length);
  static std::string hex(const Digest& digest);  // 40 lowercase digits

 private:
  void compress(const uint8_t* block);

  uint32_t state_[5];
  uint8_t buffer_[64];
  size_t buffered_;
  uint64_t total_;
};
