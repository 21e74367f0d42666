#include "common/base64.h"

#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kPadding = -2;
constexpr int kSkip = -3;
constexpr int kInvalid = -1;

int ValueOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  if (c == '=') return kPadding;
  if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return kSkip;
  return kInvalid;
}

}  // namespace

std::string Base64Encode(const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  std::string text;
  if (!bytes) return text;
  text.reserve((length + 2) / 3 * 4);
  for (size_t i = 0; i < length; i += 3) {
    const size_t left = length - i;
    const uint32_t chunk = (uint32_t{bytes[i]} << 16) | (left > 1 ? uint32_t{bytes[i + 1]} << 8 : 0) |
                           (left > 2 ? uint32_t{bytes[i + 2]} : 0);
    text += kAlphabet[(chunk >> 18) & 63];
    text += kAlphabet[(chunk >> 12) & 63];
    text += left > 1 ? kAlphabet[(chunk >> 6) & 63] : '=';
    text += left > 2 ? kAlphabet[chunk & 63] : '=';
  }
  return text;
}

bool Base64Decode(const std::string& text, std::string& bytes) {
  bytes.clear();
  uint32_t quad = 0;
  int filled = 0;
  int padding = 0;
  for (char c : text) {
    const int value = ValueOf(c);
    if (value == kSkip) continue;
    if (value == kInvalid) return bytes.clear(), false;
    if (value == kPadding) {
      // Padding only in the last two places of the final quad.
      if (filled < 2) return bytes.clear(), false;
      ++padding;
    } else if (padding > 0) {
      return bytes.clear(), false;
    }
    quad = (quad << 6) | static_cast<uint32_t>(value == kPadding ? 0 : value);
    if (++filled < 4) continue;
    bytes += static_cast<char>((quad >> 16) & 0xFF);
    if (padding < 2) bytes += static_cast<char>((quad >> 8) & 0xFF);
    if (padding < 1) bytes += static_cast<char>(quad & 0xFF);
    filled = 0;
    quad = 0;
    if (padding > 0) padding = 3;  // anything after the padded quad is an error
  }
  if (filled != 0) return bytes.clear(), false;
  return true;
}
