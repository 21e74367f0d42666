// The installer's own DNS client: one UDP query for a host's IPv4 addresses
// (type A) to one server, one reply awaited for at most three seconds. The
// TCP client falls back to it when the system resolver cannot help.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/codec/dns_reply.h"  // DnsResult
#include "net/codec/ipv4_text.h"  // IsValidIPv4, AddressToText

constexpr uint32_t DNS_REPLY_TIMEOUT_MS = 3000;

// The servers a query for `server` would go to, in order: `server` alone when
// it is a dotted-decimal IPv4 address; otherwise the system's DNS servers
// (one FIXED_INFO from GetNetworkParams, every entry even an empty one);
// otherwise the deployment's public resolver list. Only the first is asked.
std::vector<std::string> DnsServerList(const char* server);

// Asks the first server of DnsServerList(server), on the deployment's DNS
// port, for the A records of `hostName` and fills `result` with the
// addresses of the reply's answer section, in reply order (at most 20).
// Returns 0 when at least one address was found, -1 otherwise: no result or
// name, a name that cannot be encoded, an unusable server address, a send
// error, no reply within DNS_REPLY_TIMEOUT_MS, or a reply without A records or
// malformed anywhere in the part read. Nothing is retransmitted and no second
// server is asked. Blocks the calling thread; safe from several threads.
int DnsQuery(DnsResult* result, const char* server, const char* hostName);
