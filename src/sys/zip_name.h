// Decides whether a zip entry name may be joined to a target folder. No
// Windows headers, so it can be built and fuzzed anywhere.
#pragma once

#include <string>

// `name` is the entry name as UTF-8 (any encoding works in which the bytes
// '/', '\\', ':', '.' and ' ' only ever stand for themselves). False for an
// empty name, a name starting with a separator, any colon (drive letters,
// alternate data streams), and any component made only of dots and spaces
// with two dots or more ("..", "...", ".. "), which Windows may read as a
// step out of the folder.
bool IsSafeZipEntryName(const std::string& name);
