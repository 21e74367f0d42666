// Small text jobs shared by the network codecs. Kept apart from sys/ so the
// codecs build without any Windows header (natively for the fuzzers too).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace codec_text {

// Every maximal run of characters not in `delimiters`, in order; never an
// empty piece.
std::vector<std::string> SplitNonEmpty(const std::string& text, const std::string& delimiters);

// Prefix test; the IgnoreCase form folds ASCII letters only.
bool StartsWith(const std::string& text, const std::string& prefix);
bool StartsWithIgnoreCase(const std::string& text, const std::string& prefix);

// Index of `needle` compared without regard to ASCII case, or npos.
size_t FindIgnoreCase(const std::string& haystack, const std::string& needle);

// The text without its leading blanks (spaces and tabs).
std::string TrimLeftBlanks(const std::string& text);

// A signed decimal after optional white space, read like "%lld" but clamped
// to the int64_t range instead of overflowing; 0 when there are no digits.
int64_t ParseDecimalInt64(const std::string& text);

// The three characters at offset 9 of a reply's first line ("HTTP/1.1 200 OK"
// gives "200") when the text before its first zero byte is longer than 11
// characters; otherwise empty.
std::string StatusTextOf(const std::string& reply);

}  // namespace codec_text
