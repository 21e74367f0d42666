// Reading the own resolver's reply: the IPv4 addresses of its answer section.
// Every read is checked against the received datagram, so a hostile or
// truncated reply fails instead of reading past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int DNS_MAX_ADDRESSES = 20;

// Longest decoded name (labels joined with ".") the reader accepts.
constexpr size_t DNS_MAX_NAME_TEXT = 255;

// Compression pointers one name may follow; far more than any real reply
// needs, so a longer chain is taken for a loop.
constexpr int DNS_MAX_POINTER_JUMPS = 64;

// The first `count` entries of `addresses` are valid, each in network byte
// order (the four bytes as they came in the reply).
struct DnsResult {
  int32_t count;
  uint32_t addresses[DNS_MAX_ADDRESSES];
};

// Decodes the name at `offset` of `message`. `text` receives the labels
// joined with "."; `wireLength` the bytes the name occupies at `offset`: up to
// its final zero byte, or up to and including its first compression pointer.
// A pointer's offset counts from the start of the message.
// Returns false (outputs unspecified) when the name leaves the message, uses
// a label length from 64 to 191, follows more than DNS_MAX_POINTER_JUMPS
// pointers (a loop) or decodes to more than DNS_MAX_NAME_TEXT bytes.
bool ReadDnsName(const uint8_t* message, size_t size, size_t offset, std::string* text,
                 size_t* wireLength);

// Reads the answers of `reply` (`size` bytes) starting at `answerOffset`,
// which is the size of the query that was sent. At most DNS_MAX_ADDRESSES
// answers are read, whatever ANCOUNT says. The 4 data bytes of every type-A
// record are collected in reply order; other records' data are read as a
// name. ID, flags and response code are not examined.
// Returns true when at least one address was found. `result` is always
// overwritten; it holds count 0 when the reply is malformed anywhere in the
// part read (truncated, a record or name outside the datagram, an A record
// whose data is not 4 bytes, a bad name), whatever was collected before.
bool ParseDnsReply(const uint8_t* reply, size_t size, size_t answerOffset, DnsResult* result);
