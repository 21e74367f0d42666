// Base64 (standard alphabet, '=' padding) for the SDK's record fields and key
// texts. Pure functions, safe from any thread.
#pragma once

#include <cstddef>
#include <string>

std::string Base64Encode(const void* data, size_t length);
inline std::string Base64Encode(const std::string& bytes) { return Base64Encode(bytes.data(), bytes.size()); }

// Decodes `text`, skipping white space (keys often come wrapped in lines).
// False, with `bytes` cleared, on any other character, on misplaced padding
// or on a length that is not a whole number of quads.
bool Base64Decode(const std::string& text, std::string& bytes);
