#include "vexa/core/json_text.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence starting at text[at], or 0 when the
// bytes there do not form one (overlong forms and surrogates included).
size_t Utf8SequenceLength(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  size_t length = 0;
  uint32_t minimum = 0;
  uint32_t value = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

void AppendEscapedAscii(std::string& out, char c) {
  switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
    char escaped[8] = {};
    std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(static_cast<uint8_t>(c)));
    out += escaped;
    return;
  }
  out += c;
}

}  // namespace

void AppendJsonString(std::string& out, const std::string& text) {
  out += '"';
  size_t at = 0;
  while (at < text.size()) {
    const size_t length = Utf8SequenceLength(text, at);
    if (length == 0) {
      out += kReplacement;
      ++at;
    } else if (length == 1) {
      AppendEscapedAscii(out, text[at]);
      ++at;
    } else {
      out.append(text, at, length);
      at += length;
    }
  }
  out += '"';
}
