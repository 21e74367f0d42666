// The own resolver against dnsmasq at the deployment's public resolver
// (127.0.0.1 in test builds) and against one that never answers (127.0.0.2),
// both started by peers_test.py; and the HTTP client's DNS repair.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "app/global_settings.h"
#include "deployment.h"
#include "net/dns_resolver.h"
#include "net/network_check.h"
#include "net/tcp_http.h"
#include "net_test_support.h"

namespace {

constexpr char kResolver[] = "127.0.0.1";
constexpr char kSilentResolver[] = "127.0.0.2";

uint32_t Address(const char* text) {
  uint32_t address = 0;
  EXPECT_TRUE(IsValidIPv4(text, &address)) << text;
  return address;
}

std::set<uint32_t> AddressesOf(const DnsResult& result) {
  return std::set<uint32_t>(result.addresses, result.addresses + std::max(result.count, 0));
}

TEST(DnsResolver, ResolvesARecordsAlsoBehindACname) {
  const std::set<uint32_t> multi = {Address("127.0.0.11"), Address("127.0.0.12")};
  for (const char* name : {"multi.tessaro.test", "alias.tessaro.test"}) {
    DnsResult result = {};
    ASSERT_EQ(DnsQuery(&result, kResolver, name), 0) << name;
    EXPECT_EQ(result.count, 2) << name;
    EXPECT_EQ(AddressesOf(result), multi) << name;
  }
}

TEST(DnsResolver, KeepsAtMostTwentyAddresses) {
  DnsResult result = {};
  ASSERT_EQ(DnsQuery(&result, kResolver, "many.tessaro.test"), 0);
  EXPECT_EQ(result.count, 20);
  for (uint32_t address : AddressesOf(result)) {
    EXPECT_EQ(::ntohl(address) >> 8, 0x7F0001u) << "one of the 25 addresses 127.0.1.x";
  }
}

TEST(DnsResolver, NamesWithoutAddressesFail) {
  for (const char* name : {"dangling.tessaro.test", "unknown.tessaro.test"}) {
    DnsResult result = {};
    EXPECT_EQ(DnsQuery(&result, kResolver, name), -1) << name;
    EXPECT_EQ(result.count, 0) << name;
  }
  DnsResult result = {};
  EXPECT_EQ(DnsQuery(nullptr, kResolver, "multi.tessaro.test"), -1);
  EXPECT_EQ(DnsQuery(&result, kResolver, nullptr), -1);
  EXPECT_EQ(DnsQuery(&result, kResolver, "bad..name"), -1);
}

TEST(DnsResolver, GivesUpAfterThreeSecondsWithoutReply) {
  DnsResult result = {};
  int status = 0;
  const DWORD ms = MillisecondsOf([&] { status = DnsQuery(&result, kSilentResolver, "multi.tessaro.test"); });
  EXPECT_EQ(status, -1);
  EXPECT_GE(ms, 2900u);
  EXPECT_LT(ms, 4500u);
  // The driver checks that exactly one datagram reached the silent resolver.
}

TEST(DnsResolver, UsesAGivenServerOnlyWhenItIsAnAddress) {
  EXPECT_EQ(DnsServerList("127.0.0.2"), std::vector<std::string>{"127.0.0.2"});
  // Anything else falls back to the system's list (or the built-in one);
  // only the list is compared here, no query is sent to it.
  const std::vector<std::string> fallback = DnsServerList(nullptr);
  ASSERT_FALSE(fallback.empty());
  for (const char* invalid : {"114.114.114", "127.0.0.256", "", "127.0.0.1 "}) {
    EXPECT_EQ(DnsServerList(invalid), fallback) << invalid;
  }
}

TEST(DnsResolver, ClientResolvingWithItUsesTheDottedAddressAsHost) {
  ScopedGlobalSettings settings;
  {
    CXMutexLock guard(GetGlobalSettings()->mutex);
    GetGlobalSettings()->dns = DnsSetting{DnsOwn, kResolver};
  }
  CTCPHttp client("multi.tessaro.test", 80);
  EXPECT_TRUE(client.Host() == "127.0.0.11" || client.Host() == "127.0.0.12") << client.Host();
  EXPECT_EQ(client.Address(), Address(client.Host().c_str()));
  EXPECT_EQ(FailureOf([] { CTCPHttp unknown("unknown.tessaro.test", 80); }), "Can't resolve host name");
}

// The repair end to end; run in a process of its own, since the report is
// sent once per process. svc.tessaro.test is known to dnsmasq only, and the
// fixture server behind it is at TESSARO_HTTP_PORT.
TEST(DnsRepair, UnresolvableHostSwitchesTheProcessToTheOwnResolver) {
  ScopedGlobalSettings settings;
  FakeLogger logger;
  GetNetworkCheck().ReportTo(&logger);
  const uint16_t port = DriverPort("TESSARO_HTTP_PORT");

  CTCPHttp first("svc.tessaro.test", port);
  EXPECT_EQ(first.Dns().mode, DnsOwn);
  EXPECT_EQ(first.Dns().server, deployment::PRIMARY_DNS_SERVER);
  EXPECT_EQ(first.Host(), "127.0.0.1");
  EXPECT_EQ(first.Get("/length5", "svc.tessaro.test"), "hello");
  EXPECT_EQ(CurrentDnsSetting().mode, DnsOwn);
  EXPECT_EQ(CurrentDnsSetting().server, deployment::PRIMARY_DNS_SERVER);

  // A later client on another worker thread starts with the own resolver:
  // dnsmasq says localhost is 127.0.0.5, the system says 127.0.0.1.
  std::string later;
  std::thread worker([&] { later = CTCPHttp("localhost", port).Host(); });
  worker.join();
  EXPECT_EQ(later, "127.0.0.5");
  // An address needs no resolver at all, own or not.
  EXPECT_EQ(CTCPHttp("127.0.0.1", port).Get("/length5", ""), "hello");

  EXPECT_EQ(FailureOf([] { CTCPHttp nowhere("unknown.tessaro.test", 80); }), "Can't resolve host name");

  GetNetworkCheck().ReportTo(nullptr);
  const auto events = logger.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].name, "vNetworkCheck");
  EXPECT_EQ(events[0].strings.at("network_type"), "DNS解析");
  EXPECT_EQ(events[0].ints.at("conn_type"), DnsOwn);
  EXPECT_EQ(events[0].strings.at("host_name"), deployment::PRIMARY_DNS_SERVER);
}

}  // namespace
