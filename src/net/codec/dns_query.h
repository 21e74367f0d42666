// The UDP query the own resolver sends: one question for the IPv4 addresses
// (type A, class IN) of a host name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Bytes of a query besides the encoded name (header, final zero, type, class).
constexpr size_t DNS_QUERY_FIXED_BYTES = 17;

// The query datagram for `hostName`: ID = the low 16 bits of `processId` in
// little-endian order, flags 0x01 0x00 (recursion desired), one question,
// the name as length-prefixed labels, QTYPE 1, QCLASS 1. Its size is
// 17 + n, n being the encoded name without its final zero byte; the answer
// section of the reply starts at that same offset.
// Returns an empty vector when the name cannot be encoded: empty, an empty
// label ("a..b"), a label over 63 bytes or an encoded name over 255 bytes.
// One trailing dot is accepted and ignored.
std::vector<uint8_t> BuildDnsQuery(uint32_t processId, const std::string& hostName);
