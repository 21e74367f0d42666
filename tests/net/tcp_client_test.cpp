// CTCPClient against peers inside this program: resolution, the proxy
// connection's failures, time-outs and Abort. The exchanges with real
// servers and proxies are in the driver-run client tests.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <thread>

#include "app/global_settings.h"
#include "net/network_check.h"
#include "net/tcp_client.h"
#include "net/tcp_http.h"
#include "net_test_support.h"

namespace {

// Long enough for anything that must happen; reaching it means a hang.
constexpr DWORD kMustHappenMs = 10000;

// Exposes the settings a client starts from, which callers normally take
// from GlobalSettings.
class TestClient : public CTCPClient {
 public:
  void UseProxy(int32_t type, const std::string& proxyHost, uint16_t proxyPort) {
    proxy = ProxySetting{type, proxyHost, proxyPort};
  }
  void UseDns(int32_t mode) { dns.mode = mode; }
};

DWORD SocketTimeout(SOCKET s, int option) {
  DWORD value = 0xDEADBEEF;
  int length = sizeof(value);
  ::getsockopt(s, SOL_SOCKET, option, reinterpret_cast<char*>(&value), &length);
  return value;
}

class TcpClient : public ::testing::Test {
 protected:
  ScopedGlobalSettings settings;
};

TEST_F(TcpClient, ResolveStoresTheAddressAndRefusesUnknownDnsModes) {
  TestClient client;
  client.Resolve("127.0.0.1", 8080);
  EXPECT_EQ(client.Address(), ::htonl(INADDR_LOOPBACK));
  EXPECT_EQ(client.Host(), "127.0.0.1");
  EXPECT_EQ(client.Port(), 8080);

  client.UseDns(2);
  EXPECT_EQ(FailureOf([&] { client.Resolve("127.0.0.1", 80); }), "Can't resolve host name");
  client.UseDns(-1);
  EXPECT_EQ(FailureOf([&] { client.Resolve("127.0.0.1", 80); }), "Can't resolve host name");
}

TEST_F(TcpClient, DirectConnectionToAClosedPortFails) {
  TestClient client;
  client.Resolve("127.0.0.1", ClosedPort());
  EXPECT_EQ(FailureOf([&] { client.ConnectOnce(); }), "Connect failed");
}

TEST_F(TcpClient, ProxyConnectionFailures) {
  LoopbackListener silentProxy(0);
  silentProxy.FillBacklog();
  const struct {
    const char* what;
    ProxySetting proxy;
    const char* message;
  } cases[] = {
      {"refused", {ProxyHttp, "127.0.0.1", ClosedPort()}, "Can't connect proxy server"},
      {"not accepted within 1 s", {ProxyHttp, "127.0.0.1", silentProxy.Port()}, "Can't connect proxy server"},
      {"host not resolvable", {ProxyHttp, "proxy host that cannot exist", 3128}, "Can't connect proxy server"},
  };
  for (const auto& c : cases) {
    TestClient client;
    client.Resolve("127.0.0.1", 80);
    client.UseProxy(c.proxy.type, c.proxy.host, c.proxy.port);
    std::string message;
    const DWORD ms = MillisecondsOf([&] { message = FailureOf([&] { client.ConnectOnce(); }); });
    EXPECT_EQ(message, c.message) << c.what;
    EXPECT_LT(ms, 3000u) << c.what;
  }
}

TEST_F(TcpClient, UnsupportedProxyTypesFailAfterConnectingToTheProxy) {
  LoopbackListener proxy;
  for (int32_t type : {2, 3}) {
    TestClient client;
    client.Resolve("127.0.0.1", 80);
    client.UseProxy(type, "127.0.0.1", proxy.Port());
    EXPECT_EQ(FailureOf([&] { client.ConnectOnce(); }), "Proxy not support") << type;
    EXPECT_TRUE(proxy.Accept().valid()) << "the TCP connection was made first";
  }
}

TEST_F(TcpClient, TimeoutsAreAppliedOnlyWhenSetAndAtOnceWhenOpen) {
  LoopbackListener server;
  TestClient client;
  client.Resolve("127.0.0.1", server.Port());
  client.ConnectOnce();
  EXPECT_EQ(SocketTimeout(client.Socket(), SO_RCVTIMEO), 0u) << "-1 leaves the system default";
  EXPECT_EQ(SocketTimeout(client.Socket(), SO_SNDTIMEO), 0u);

  client.SetRecvTimeout(1500);
  client.SetSendTimeout(2500);
  EXPECT_EQ(SocketTimeout(client.Socket(), SO_RCVTIMEO), 1500u);
  EXPECT_EQ(SocketTimeout(client.Socket(), SO_SNDTIMEO), 2500u);

  client.ConnectOnce();  // a new socket gets the stored values again
  EXPECT_EQ(SocketTimeout(client.Socket(), SO_RCVTIMEO), 1500u);
  EXPECT_EQ(SocketTimeout(client.Socket(), SO_SNDTIMEO), 2500u);
}

TEST_F(TcpClient, ReceiveTimeoutEndsASilentExchange) {
  LoopbackListener server;
  CTCPHttp client("127.0.0.1", server.Port());
  client.SetRecvTimeout(500);
  std::string message;
  const DWORD ms = MillisecondsOf([&] { message = FailureOf([&] { client.Get("/", ""); }); });
  EXPECT_EQ(message, "socket recv failed");
  EXPECT_GE(ms, 400u);
  EXPECT_LT(ms, 3000u);
}

TEST_F(TcpClient, CloseIsRepeatableAndConnectOnceReplacesTheSocket) {
  LoopbackListener server;
  TestClient client;
  client.Resolve("127.0.0.1", server.Port());
  client.ConnectOnce();
  UniqueSocket first = server.Accept();
  client.ConnectOnce();
  UniqueSocket second = server.Accept();
  // The first connection was closed by the second attempt: its peer reads the end.
  char byte = 0;
  EXPECT_EQ(::recv(first.get(), &byte, 1, 0), 0);
  client.Close();
  client.Close();
  EXPECT_EQ(client.Socket(), INVALID_SOCKET);
  EXPECT_EQ(::recv(second.get(), &byte, 1, 0), 0);
}

// Abort: what a stopping worker relies on.
TEST_F(TcpClient, AbortEndsABlockedReceiveAtOnce) {
  LoopbackListener server;
  CTCPHttp client("127.0.0.1", server.Port());
  std::string message;
  DWORD ms = 0;
  std::thread owner([&] { ms = MillisecondsOf([&] { message = FailureOf([&] { client.Get("/", ""); }); }); });
  UniqueSocket peer = server.Accept();  // connected; the owner now waits for the reply
  ::Sleep(300);
  client.Abort();
  owner.join();
  EXPECT_FALSE(message.empty());
  EXPECT_LT(ms, 300u + 2000u);
  EXPECT_TRUE(client.IsAborted());
  EXPECT_EQ(client.Socket(), INVALID_SOCKET);
}

TEST_F(TcpClient, AbortEndsABlockedConnectAndRefusesLaterAttempts) {
  LoopbackListener server(0);
  server.FillBacklog();  // a direct connect now waits for the system's own time-out
  TestClient client;
  client.Resolve("127.0.0.1", server.Port());
  std::string message;
  DWORD ms = 0;
  std::thread owner([&] { ms = MillisecondsOf([&] { message = FailureOf([&] { client.Connect(); }); }); });
  ::Sleep(500);
  client.Abort();
  owner.join();
  EXPECT_EQ(message, "Connection aborted");
  EXPECT_LT(ms, 500u + 2000u);
  EXPECT_EQ(client.ConnectFailures(), 0) << "an abort is no failure to repair";
  EXPECT_EQ(FailureOf([&] { client.ConnectOnce(); }), "Connection aborted");
  client.Abort();  // a second abort of a closed client is harmless
}

TEST_F(TcpClient, FailedFirstAttemptFallsBackAndPublishesTheWorkingSetting) {
  // The test prefix configures no system proxy, so after a failed proxy the
  // fallback is a direct connection.
  LoopbackListener server;
  FakeLogger logger;
  GetNetworkCheck().ReportTo(&logger);
  PublishProxySetting(ProxySetting{ProxyHttp, "127.0.0.1", ClosedPort()});
  TestClient client;
  client.Resolve("127.0.0.1", server.Port());
  client.Connect();
  GetNetworkCheck().ReportTo(nullptr);
  EXPECT_EQ(client.ConnectFailures(), 1);
  EXPECT_EQ(client.Proxy().type, ProxyNone);
  EXPECT_EQ(CurrentProxySetting().type, ProxyNone) << "the setting that worked is kept";
  EXPECT_TRUE(server.Accept().valid());
}

}  // namespace
