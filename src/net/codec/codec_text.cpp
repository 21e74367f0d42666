#include "net/codec/codec_text.h"

#include <limits>

namespace codec_text {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool MatchesAtIgnoreCase(const std::string& text, size_t at, const std::string& part) {
  if (at > text.size() || text.size() - at < part.size()) return false;
  for (size_t i = 0; i < part.size(); ++i) {
    if (LowerAscii(text[at + i]) != LowerAscii(part[i])) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitNonEmpty(const std::string& text, const std::string& delimiters) {
  std::vector<std::string> pieces;
  size_t start = text.find_first_not_of(delimiters);
  while (start != std::string::npos) {
    const size_t end = text.find_first_of(delimiters, start);
    if (end == std::string::npos) {
      pieces.push_back(text.substr(start));
      break;
    }
    pieces.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(delimiters, end);
  }
  return pieces;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix) {
  return MatchesAtIgnoreCase(text, 0, prefix);
}

size_t FindIgnoreCase(const std::string& haystack, const std::string& needle) {
  for (size_t at = 0; at + needle.size() <= haystack.size(); ++at) {
    if (MatchesAtIgnoreCase(haystack, at, needle)) return at;
  }
  return std::string::npos;
}

std::string TrimLeftBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first);
}

int64_t ParseDecimalInt64(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate towards the sign so that INT64_MIN is reachable without overflow.
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (negative) {
      if (value < (std::numeric_limits<int64_t>::min() + digit) / 10) {
        return std::numeric_limits<int64_t>::min();
      }
      value = value * 10 - digit;
    } else {
      if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) {
        return std::numeric_limits<int64_t>::max();
      }
      value = value * 10 + digit;
    }
  }
  return value;
}

std::string StatusTextOf(const std::string& reply) {
  const std::string text = reply.substr(0, reply.find('\0'));
  if (text.size() <= 11) return std::string();
  return text.substr(9, 3);
}

}  // namespace codec_text
