// Comparing dotted version texts (2.0.0.1 against 1.9.0.0).
#pragma once

#include <string>

// True when version a is not older than b. Both are split at "." (empty
// pieces dropped); texts with different part counts, or without parts, are
// never comparable and give false (2.0.0 against 2.0 is false). Parts are
// read as signed decimals, unreadable ones as 0; the first pair that differs
// decides, and equal versions give true.
bool IsVersionNotOlder(const std::string& a, const std::string& b);
