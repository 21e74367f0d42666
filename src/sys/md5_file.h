// MD5 digest of a file's content.
#pragma once

#include <string>

// 32 lower-case hex digits; empty when the file cannot be opened or read, or
// is empty.
std::string Md5HexOfFile(const std::wstring& path);
