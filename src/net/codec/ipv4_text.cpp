#include "net/codec/ipv4_text.h"

#include <cstring>

bool IsValidIPv4(const std::string& text, uint32_t* address) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  int groups = 0;        // groups started so far
  bool inGroup = false;  // the last character was a digit
  unsigned value = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      if (!inGroup) {
        if (groups == 4) return false;
        ++groups;
        value = 0;
        inGroup = true;
      }
      value = value * 10 + static_cast<unsigned>(c - '0');
      if (value > 255) return false;
      bytes[groups - 1] = static_cast<uint8_t>(value);
      continue;
    }
    if (c != '.' || !inGroup || groups >= 4) return false;
    inGroup = false;
  }
  if (groups != 4 || !inGroup) return false;
  if (address != nullptr) std::memcpy(address, bytes, sizeof(bytes));
  return true;
}

char* AddressToText(uint32_t address, char* buffer, size_t bufferSize) {
  constexpr size_t LONGEST_TEXT = 16;  // "255.255.255.255" and its zero
  if (buffer == nullptr || bufferSize < LONGEST_TEXT) return nullptr;
  uint8_t bytes[4];
  std::memcpy(bytes, &address, sizeof(bytes));
  char* out = buffer;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) *out++ = '.';
    const unsigned value = bytes[i];
    if (value >= 100) *out++ = static_cast<char>('0' + value / 100);
    if (value >= 10) *out++ = static_cast<char>('0' + value / 10 % 10);
    *out++ = static_cast<char>('0' + value % 10);
  }
  *out = '\0';
  return buffer;
}
