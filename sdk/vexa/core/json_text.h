// Writing JSON string literals from UTF-8 text that may not be valid UTF-8.
#pragma once

#include <string>

// Appends `text` to `out` as a JSON string literal, quotes included. Valid
// UTF-8 sequences are kept as they are; every byte that does not belong to
// one becomes U+FFFD; quote, backslash and control characters are escaped.
void AppendJsonString(std::string& out, const std::string& text);
