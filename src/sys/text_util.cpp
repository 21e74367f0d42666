#include "sys/text_util.h"

#include <cstdlib>
#include <ctime>

namespace {

template <typename String>
std::vector<String> SplitAny(const String& text, const String& delimiters) {
  std::vector<String> tokens;
  typename String::size_type start = text.find_first_not_of(delimiters);
  while (start != String::npos) {
    const typename String::size_type end = text.find_first_of(delimiters, start);
    if (end == String::npos) {
      tokens.push_back(text.substr(start));
      break;
    }
    tokens.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(delimiters, end);
  }
  return tokens;
}

template <typename String>
String TrimLeft(const String& text, const String& set) {
  const typename String::size_type first = text.find_first_not_of(set);
  if (first == String::npos) return String();
  return text.substr(first);
}

template <typename String>
uint32_t FindExact(const String& haystack, const String& needle) {
  if (haystack.empty() || needle.empty()) return NOT_FOUND;
  const typename String::size_type at = haystack.find(needle);
  if (at == String::npos) return NOT_FOUND;
  return static_cast<uint32_t>(at);
}

}  // namespace

int64_t ParseInt64(const std::string& text) {
  return static_cast<int64_t>(std::strtoll(text.c_str(), nullptr, 10));
}

std::string FormatInt64(int64_t value) { return std::to_string(static_cast<long long>(value)); }

int64_t NowUnixSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

std::string FirstThreeChars(const char* text) {
  if (text == nullptr) return std::string();
  std::string result;
  for (int i = 0; i < 3 && text[i] != '\0'; ++i) result.push_back(text[i]);
  return result;
}

std::string ReplyStatusCode(const char* reply) {
  if (reply == nullptr) return std::string();
  // Walk no further than needed: the buffer only has to be NUL-terminated.
  for (int i = 0; i < 12; ++i) {
    if (reply[i] == '\0') return std::string();
  }
  return FirstThreeChars(reply + 9);
}

std::string ToUpperAscii(const std::string& text) {
  std::string result = text;
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::vector<std::wstring> SplitWide(const std::wstring& text, const std::wstring& delimiters) {
  return SplitAny(text, delimiters);
}

std::vector<std::string> SplitNarrow(const std::string& text, const std::string& delimiters) {
  return SplitAny(text, delimiters);
}

std::string TrimLeftNarrow(const std::string& text, const std::string& set) {
  return TrimLeft(text, set);
}

std::wstring TrimLeftWide(const std::wstring& text, const std::wstring& set) {
  return TrimLeft(text, set);
}

std::wstring TrimRightWide(const std::wstring& text, const std::wstring& set) {
  const std::wstring::size_type last = text.find_last_not_of(set);
  if (last == std::wstring::npos) return std::wstring();
  return text.substr(0, last + 1);
}

uint32_t FindNarrow(const std::string& haystack, const std::string& needle) {
  return FindExact(haystack, needle);
}

uint32_t FindWide(const std::wstring& haystack, const std::wstring& needle) {
  return FindExact(haystack, needle);
}

std::wstring RemoveAllWide(const std::wstring& text, const std::wstring& part) {
  if (part.empty() || part.size() > text.size()) return text;
  std::wstring result = text;
  std::wstring::size_type at = result.find(part);
  while (at != std::wstring::npos) {
    result.erase(at, part.size());
    at = result.find(part, at);
  }
  return result;
}
