// Proxy lists, download addresses and relative redirect targets.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "net/codec/proxy_list.h"
#include "net/codec/url_parts.h"

namespace {

struct ProxyCase {
  const char* list;
  int32_t type;
  const char* host;
  uint16_t port;
};

class ProxyListRule : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(ProxyListRule, LastHttpOrSchemelessEntryWins) {
  const ProxySetting setting = ParseProxyList(GetParam().list);
  EXPECT_EQ(setting.type, GetParam().type);
  if (setting.type == ProxyNone) return;
  EXPECT_EQ(setting.host, GetParam().host);
  EXPECT_EQ(setting.port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ProxyListRule,
    ::testing::Values(ProxyCase{"http=p1:8080;https=p2:8443", ProxyHttp, "p1", 8080},
                      ProxyCase{"p3:80", ProxyHttp, "p3", 80},
                      ProxyCase{"https=p2:8443", ProxyNone, "", 0},
                      ProxyCase{"p3:80;http=p1:8080", ProxyHttp, "p1", 8080},
                      ProxyCase{"http=p1:8080;;p3:3128;", ProxyHttp, "p3", 3128},
                      ProxyCase{"HTTP=p1:8080", ProxyNone, "", 0},  // scheme is case-sensitive
                      ProxyCase{"socks=s:1080;ftp=f:21", ProxyNone, "", 0},
                      ProxyCase{"http=:8080", ProxyNone, "", 0},  // empty host skipped
                      ProxyCase{"http=p1:8080;http=:9", ProxyHttp, "p1", 8080},
                      ProxyCase{"p4", ProxyHttp, "p4", 0},  // port read from the entry's start
                      ProxyCase{"8118", ProxyHttp, "8118", 8118},
                      ProxyCase{"p5:70000", ProxyHttp, "p5", 4464},  // kept to 16 bits
                      ProxyCase{"p6:80x", ProxyHttp, "p6", 80}, ProxyCase{"", ProxyNone, "", 0},
                      ProxyCase{";;", ProxyNone, "", 0}));

struct UrlCase {
  const char* address;
  bool valid;
  const char* host;
  uint16_t port;
  const char* path;
};

class UrlSplit : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlSplit, GivesHostPortAndPath) {
  UrlParts parts;
  parts.host = "untouched";
  ASSERT_EQ(ParseUrl(GetParam().address, &parts), GetParam().valid) << GetParam().address;
  if (!GetParam().valid) {
    EXPECT_EQ(parts.host, "untouched");
    return;
  }
  EXPECT_EQ(parts.host, GetParam().host);
  EXPECT_EQ(parts.port, GetParam().port);
  EXPECT_EQ(parts.path, GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, UrlSplit,
    ::testing::Values(UrlCase{"http://example:8080/a/b?x=1", true, "example", 8080, "/a/b?x=1"},
                      UrlCase{"https://cdn.example/pkg/install.exe", true, "cdn.example", 80,
                              "/pkg/install.exe"},
                      UrlCase{"http://example/a//b/", true, "example", 80, "/a/b"},
                      UrlCase{"http://example:/a", true, "example", 80, "/a"},
                      UrlCase{"http://example:99999/a", true, "example", 34463, "/a"},
                      UrlCase{"http://example:port/a", true, "example", 0, "/a"},
                      UrlCase{"http://example/", false, "", 0, ""},
                      UrlCase{"http://example", false, "", 0, ""},
                      UrlCase{"", false, "", 0, ""},
                      UrlCase{"http://a:1:2/x", false, "", 0, ""}));

TEST(RedirectTarget, RelativePathContinuesAtTheFirstHostAndPort) {
  EXPECT_EQ(ResolveLocation("/pkg/setup.exe", "example", 8080),
            "http://example:8080/pkg/setup.exe");
  EXPECT_EQ(ResolveLocation("http://other:81/x", "example", 8080), "http://other:81/x");
  EXPECT_EQ(ResolveLocation("https://other/x", "example", 8080), "https://other/x");
  EXPECT_EQ(ResolveLocation("pkg/setup.exe", "example", 8080), "pkg/setup.exe");
  EXPECT_EQ(ResolveLocation("", "example", 8080), "");

  UrlParts parts;
  ASSERT_TRUE(ParseUrl(ResolveLocation("/pkg/setup.exe", "example", 8080), &parts));
  EXPECT_EQ(parts.host, "example");
  EXPECT_EQ(parts.port, 8080);
  EXPECT_EQ(parts.path, "/pkg/setup.exe");
}

}  // namespace
