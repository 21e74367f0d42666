// Dotted-decimal IPv4 text, both ways.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// True when `text` is exactly four dot-separated groups of decimal digits,
// each at most 255 (leading zeros allowed: "010" is 10). On success
// `*address` (when not null) receives the address in network byte order.
// Anything else (three groups, a fifth group or trailing dot, an empty group,
// blanks, signs) is invalid and leaves `*address` untouched.
bool IsValidIPv4(const std::string& text, uint32_t* address);

// Writes the network-order `address` as four decimal numbers joined by "."
// (no leading zeros) with a terminating zero. Returns `buffer`, or null when
// the buffer is null or smaller than 16 bytes (nothing is written then).
char* AddressToText(uint32_t address, char* buffer, size_t bufferSize);
