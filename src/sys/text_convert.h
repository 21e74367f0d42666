// Conversions between narrow text (system ANSI code page or UTF-8) and wide
// UTF-16 text. Each converts up to the first NUL of its input and never
// fails loudly: any failure gives an empty string. Safe from any thread.
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
