// Small text jobs the whole program repeats: 64-bit number text, the clock,
// the status code of an HTTP reply line, ASCII upper-casing, splitting,
// trimming and searching. Pure functions (the clock aside), safe from any
// thread; failures give empty results, 0 or NOT_FOUND, never exceptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The position a search returns when there is no match.
constexpr uint32_t NOT_FOUND = 0xFFFFFFFFu;

// Signed decimal number after optional white space; 0 when the text does not
// start with one.
int64_t ParseInt64(const std::string& text);
std::string FormatInt64(int64_t value);

// Seconds since 1970-01-01 00:00:00 UTC.
int64_t NowUnixSeconds();

// At most the first three bytes of a NUL-terminated text; empty for null.
std::string FirstThreeChars(const char* text);

// The three characters after "HTTP/1.x " of a NUL-terminated reply head, or
// empty when the head is null or shorter than 12 bytes.
std::string ReplyStatusCode(const char* reply);

// Only the bytes a to z change; non-ASCII bytes are kept as they are.
std::string ToUpperAscii(const std::string& text);

// Every maximal run of characters not in `delimiters` (a set of single
// characters), in order. Never yields an empty token.
std::vector<std::wstring> SplitWide(const std::wstring& text, const std::wstring& delimiters);
std::vector<std::string> SplitNarrow(const std::string& text, const std::string& delimiters);

// The text without its leading (or trailing) characters that are in `set`.
std::string TrimLeftNarrow(const std::string& text, const std::string& set);
std::wstring TrimLeftWide(const std::wstring& text, const std::wstring& set);
std::wstring TrimRightWide(const std::wstring& text, const std::wstring& set);

// Index of the first exact occurrence of `needle`; NOT_FOUND also when either
// argument is empty.
uint32_t FindNarrow(const std::string& haystack, const std::string& needle);
uint32_t FindWide(const std::wstring& haystack, const std::wstring& needle);

// Removes every occurrence of `part`, searching on from the place of each
// removal. An empty `part` leaves the text unchanged.
std::wstring RemoveAllWide(const std::wstring& text, const std::wstring& part);
