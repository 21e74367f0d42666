// The user's system proxy: found through WinHTTP from the current user's
// Internet settings, and used by the TCP client's repair. These tests write
// those settings, so their drivers run them in a Wine prefix of their own:
// system_proxy_test.py on loopback, proxy_repair_test.py in network
// namespaces where only the proxy reaches the server.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/global_settings.h"
#include "net/net_settings.h"
#include "net/network_check.h"
#include "net/proxy_detect.h"
#include "net/tcp_http.h"
#include "net_test_support.h"
#include "sys/unique_handle.h"

namespace {

constexpr wchar_t kConnectionsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kSettingsValue[] = L"DefaultConnectionSettings";

// Writes the current user's proxy settings the way Windows stores them (the
// binary DefaultConnectionSettings value) and removes them when destroyed.
class UserProxySettings {
 public:
  UserProxySettings() = default;
  ~UserProxySettings() { Clear(); }
  UserProxySettings(const UserProxySettings&) = delete;
  UserProxySettings& operator=(const UserProxySettings&) = delete;

  void SetFixed(const std::string& list) { Write(kDirect | kProxy, list, ""); }
  void SetScript(const std::string& scriptUrl, const std::string& list = "") {
    Write(kDirect | kScript | (list.empty() ? 0 : kProxy), list, scriptUrl);
  }
  void Clear() {
    UniqueRegKey key = OpenKey();
    if (key) ::RegDeleteValueW(key.get(), kSettingsValue);
  }

 private:
  static constexpr uint32_t kDirect = 1, kProxy = 2, kScript = 4;

  static UniqueRegKey OpenKey() {
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kConnectionsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr);
    return UniqueRegKey(key);
  }

  static void AppendDword(std::string& blob, uint32_t value) {
    blob.append(reinterpret_cast<const char*>(&value), sizeof(value));
  }
  static void AppendText(std::string& blob, const std::string& text) {
    AppendDword(blob, static_cast<uint32_t>(text.size()));
    blob += text;
  }

  void Write(uint32_t flags, const std::string& list, const std::string& scriptUrl) {
    std::string blob;
    AppendDword(blob, 0x46);  // the Internet settings' format
    AppendDword(blob, ++counter_);
    AppendDword(blob, flags);
    AppendText(blob, list);
    AppendText(blob, list.empty() ? "" : "<local>");
    AppendText(blob, scriptUrl);
    blob.append(32, '\0');
    UniqueRegKey key = OpenKey();
    ASSERT_TRUE(key);
    ASSERT_EQ(::RegSetValueExW(key.get(), kSettingsValue, 0, REG_BINARY,
                               reinterpret_cast<const BYTE*>(blob.data()), static_cast<DWORD>(blob.size())),
              ERROR_SUCCESS);
  }

  uint32_t counter_ = 0;
};

std::string Text(const ProxySetting& setting) {
  if (setting.type == ProxyNone) return "direct";
  return std::to_string(setting.type) + " " + setting.host + ":" + std::to_string(setting.port);
}

TEST(SystemProxy, FollowsTheFixedListOrTheScriptOfTheUserSettings) {
  const std::string scripts = "http://127.0.0.1:" + DriverValue("TESSARO_HTTP_PORT");
  const std::string noScript = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/proxy.pac";
  const struct {
    const char* what;
    std::string list;
    std::string script;
    std::string expected;
  } cases[] = {
      {"http entry of a list", "http=p1.test:8080;https=p2.test:8443", "", "1 p1.test:8080"},
      {"entry without scheme", "p3.test:80", "", "1 p3.test:80"},
      {"https only", "https=p2.test:8443", "", "direct"},
      {"script naming a proxy", "", scripts + "/proxy.pac", "1 pac-proxy.test:3128"},
      {"script wins over the list", "p3.test:80", scripts + "/proxy.pac", "1 pac-proxy.test:3128"},
      {"script saying DIRECT", "p3.test:80", scripts + "/direct.pac", "direct"},
      {"script that cannot be fetched", "", noScript, "direct"},
  };
  UserProxySettings user;
  for (const auto& c : cases) {
    if (c.script.empty()) {
      user.SetFixed(c.list);
    } else {
      user.SetScript(c.script, c.list);
    }
    EXPECT_EQ(Text(DetectSystemProxy("http://gateway.test")), c.expected) << c.what;
  }
  user.Clear();
  EXPECT_EQ(Text(DetectSystemProxy("http://gateway.test")), "direct") << "no settings";
}

// A client whose proxy from GlobalSettings is broken, on loopback with
// tinyproxy (TESSARO_TINYPROXY_PORT) as the user's system proxy.
class ProxyAlternation : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      CXMutexLock guard(GetGlobalSettings()->mutex);
      GetGlobalSettings()->proxy = broken;
    }
    user.SetFixed("http=127.0.0.1:" + std::to_string(tinyproxy));
  }

  ScopedGlobalSettings settings;
  UserProxySettings user;
  const uint16_t tinyproxy = DriverPort("TESSARO_TINYPROXY_PORT");
  const ProxySetting broken{ProxyHttp, "127.0.0.1", ClosedPort()};
};

TEST_F(ProxyAlternation, FailuresOfOneClientAlternateBetweenSystemProxyAndDirect) {
  CTCPHttp client("127.0.0.1", ClosedPort());  // the server is down, too
  client.SetRecvTimeout(5000);
  // Through tinyproxy, which cannot reach the server either and refuses the tunnel.
  EXPECT_EQ(FailureOf([&] { client.Connect(); }), "Proxy failed");
  EXPECT_EQ(Text(client.Proxy()), "1 127.0.0.1:" + std::to_string(tinyproxy));
  EXPECT_EQ(FailureOf([&] { client.Connect(); }), "Connect failed");
  EXPECT_EQ(client.Proxy().type, ProxyNone);
  EXPECT_EQ(FailureOf([&] { client.Connect(); }), "Proxy failed");
  EXPECT_EQ(client.ConnectFailures(), 3);
  EXPECT_EQ(Text(CurrentProxySetting()), Text(broken)) << "nothing that failed is published";
}

// Run in a process of its own: the report goes out once per process.
TEST_F(ProxyAlternation, RepairedConnectionLeavesTheSystemProxyForTheNextClient) {
  FakeLogger logger;
  GetNetworkCheck().ReportTo(&logger);
  const uint16_t server = DriverPort("TESSARO_HTTP_PORT");
  const std::string viaTinyproxy = "1 127.0.0.1:" + std::to_string(tinyproxy);

  CTCPHttp first("127.0.0.1", server);
  first.SetRecvTimeout(5000);
  EXPECT_EQ(first.Get("/length5", ""), "hello");
  EXPECT_EQ(first.ConnectFailures(), 1);
  EXPECT_EQ(Text(CurrentProxySetting()), viaTinyproxy);

  CTCPHttp next("127.0.0.1", server);
  next.SetRecvTimeout(5000);
  EXPECT_EQ(next.Get("/length5", ""), "hello");
  EXPECT_EQ(next.ConnectFailures(), 0);
  EXPECT_EQ(Text(next.Proxy()), viaTinyproxy);

  GetNetworkCheck().ReportTo(nullptr);
  ASSERT_EQ(logger.Events().size(), 1u);
  EXPECT_EQ(logger.Events()[0].strings.at("network_type"), "网络代理");
  EXPECT_EQ(logger.Events()[0].ints.at("conn_type"), ProxyHttp);
  EXPECT_EQ(logger.Events()[0].strings.at("host_name"), "127.0.0.1");
}

// proxy_repair_test.py: this program runs in a network namespace that has a
// route to the proxy (TESSARO_REPAIR_PROXY_HOST:TESSARO_REPAIR_PROXY_PORT,
// tinyproxy) but none to the server (TESSARO_REPAIR_SERVER, nginx on port 80),
// which only the proxy reaches.
TEST(ProxyRepair, ServerOutOfReachIsReachedThroughTheSystemProxy) {
  ScopedGlobalSettings settings;
  FakeLogger logger;
  GetNetworkCheck().ReportTo(&logger);
  const std::string server = DriverValue("TESSARO_REPAIR_SERVER");
  const std::string proxyHost = DriverValue("TESSARO_REPAIR_PROXY_HOST");
  const uint16_t proxyPort = DriverPort("TESSARO_REPAIR_PROXY_PORT");
  const std::string viaProxy = "1 " + proxyHost + ":" + std::to_string(proxyPort);
  UserProxySettings user;
  user.SetFixed("http=" + proxyHost + ":" + std::to_string(proxyPort));

  CTCPHttp first(server, 80);
  first.SetRecvTimeout(10000);
  EXPECT_EQ(first.Get("/repair.txt", server), "reached through the proxy\n");
  EXPECT_EQ(first.ConnectFailures(), 1) << "the direct attempt failed first";
  EXPECT_EQ(Text(CurrentProxySetting()), viaProxy);

  CTCPHttp next(server, 80);
  next.SetRecvTimeout(10000);
  EXPECT_EQ(next.Get("/repair.txt", server), "reached through the proxy\n");
  EXPECT_EQ(next.ConnectFailures(), 0) << "the next client starts with the proxy";
  EXPECT_EQ(Text(next.Proxy()), viaProxy);

  GetNetworkCheck().ReportTo(nullptr);
  const auto events = logger.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].name, "vNetworkCheck");
  EXPECT_EQ(events[0].strings.at("network_type"), "网络代理");
  EXPECT_EQ(events[0].ints.at("conn_type"), ProxyHttp);
  EXPECT_EQ(events[0].strings.at("host_name"), proxyHost);
}

}  // namespace
