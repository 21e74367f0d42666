// MD5 message digest (RFC 1321). No Windows headers: builds anywhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5();
  void Update(const void* data, size_t length);
  // Pads and returns the digest; the object must not be updated afterwards.
  Digest Finish();

 private:
  void Transform(const uint8_t* block);

  uint32_t state_[4];
  uint64_t totalBytes_ = 0;
  uint8_t pending_[64];
  size_t pendingBytes_ = 0;
};

// 32 lower-case hexadecimal digits.
std::string Md5ToHex(const Md5::Digest& digest);

// The hex digest of `length` bytes; empty for a null pointer or a length of
// 0 or less.
std::string Md5HexOfData(const void* data, int64_t length);
