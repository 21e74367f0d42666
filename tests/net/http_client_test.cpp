// CTCPHttp against real servers started by the driver (peers_test.py): our
// scripted fixture (TESSARO_HTTP_PORT) and nginx (TESSARO_NGINX_PORT), and
// through CONNECT proxies: scripted ones (TESSARO_PROXY_*_PORT) and
// tinyproxy (TESSARO_TINYPROXY_PORT).
#include <winsock2.h>

#include <gtest/gtest.h>

#include "app/global_settings.h"
#include "net/codec/http_body.h"
#include "net/network_check.h"
#include "net/tcp_http.h"
#include "net_test_support.h"

namespace {

class HttpClient : public ::testing::Test {
 protected:
  std::string Get(uint16_t port, const std::string& path, const std::string& hostHeader = "") {
    CTCPHttp client("127.0.0.1", port);
    client.SetRecvTimeout(5000);
    client.SetSendTimeout(5000);
    return client.Get(path, hostHeader);
  }

  ScopedGlobalSettings settings;
  const uint16_t fixture = DriverPort("TESSARO_HTTP_PORT");
  const uint16_t nginx = DriverPort("TESSARO_NGINX_PORT");
};

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// The value of header `name` without the blank after the colon; "" when missing.
std::string HeaderValue(const HttpResponseHead& head, const std::string& name) {
  const std::string prefix = name + ": ";
  for (const std::string& line : head.lines) {
    if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
  }
  return "";
}

TEST_F(HttpClient, GetSendsExactlyTheRequestLineHostAndConnectionClose) {
  EXPECT_EQ(Get(fixture, "/echo", "gateway.test:18080"),
            "GET /echo HTTP/1.1\r\nHost: gateway.test:18080\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(Get(fixture, "/echo", ""), "GET /echo HTTP/1.1\r\nConnection: close\r\n\r\n");
}

TEST_F(HttpClient, HeadSendsItsOwnHeaderLinesAndReturnsTheReplyLines) {
  CTCPHttp client("127.0.0.1", fixture);
  const HttpResponseHead head = client.Head("cdn.test", "/echo");
  EXPECT_EQ(head.status, "200");
  EXPECT_EQ(FromHex(HeaderValue(head, "X-Request")),
            "HEAD /echo HTTP/1.1\r\nHost:cdn.test\r\nAccept:*/*\r\n"
            "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
            "Connection:close\r\n\r\n");

  CTCPHttp onNginx("127.0.0.1", nginx);
  const HttpResponseHead nginxHead = onNginx.Head("localhost", "/index.txt");
  EXPECT_EQ(nginxHead.status, "200");
  EXPECT_EQ(nginxHead.contentLength, 22);
  EXPECT_EQ(nginxHead.lines[0], "HTTP/1.1 200 OK");
}

TEST_F(HttpClient, PostFormSendsTheFieldsInNameOrderWithTheirExactLength) {
  HttpForm form;
  form.AddField("b", "second");
  form.AddField("a", "old");
  form.AddField("a", "first");  // replaces the value
  CTCPHttp client("127.0.0.1", fixture);
  const std::string echoed = client.PostForm("report.test", "/echo", form);

  const std::string delimiter = "-----------------------------7da1f4c300560";
  const std::string body = delimiter + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nfirst\r\n" +
                           delimiter + "\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\nsecond\r\n" +
                           delimiter + "--\r\n";
  EXPECT_EQ(echoed,
            "POST /echo HTTP/1.1\r\nHost: report.test\r\n"
            "Content-Type: multipart/form-data; boundary=---------------------------7da1f4c300560\r\n"
            "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);

  // A retry of the same form sends the same body; fields added in between are ignored.
  form.AddField("c", "late");
  CTCPHttp retry("127.0.0.1", fixture);
  EXPECT_EQ(retry.PostForm("report.test", "/echo", form), echoed);
}

TEST_F(HttpClient, PostFormReadsTheBodyWhateverTheStatus) {
  HttpForm form;
  form.AddField("k", "v");
  CTCPHttp client("127.0.0.1", fixture);
  EXPECT_EQ(client.PostForm("", "/not-found", form), "missing");
}

TEST_F(HttpClient, GetReturnsTheBodyAsTheReplyFramesIt) {
  const struct {
    const char* path;
    bool onNginx;
    std::string body;
  } cases[] = {
      {"/length5", false, "hello"},
      {"/chunked-upper", false, std::string(26, 'a') + std::string(11, 'b')},
      {"/no-length", false, "abcd"},                 // no length: read as chunked
      {"/not-found", false, ""},                     // not 200: body not read
      {"/long-head", false, std::string(64, 'p')},   // head ends at 4096 bytes
      {"/index.txt", true, "static body for tests\n"},
      {"/ssi/chunked.txt", true, std::string(300, 'c') + "\n"},  // chunked, lower-case hex
      {"/missing.txt", true, ""},
  };
  for (const auto& c : cases) {
    std::string body;
    const std::string failure = FailureOf([&] { body = Get(c.onNginx ? nginx : fixture, c.path, "localhost"); });
    EXPECT_EQ(failure, "") << c.path;
    EXPECT_EQ(body, c.body) << c.path;
  }
}

TEST_F(HttpClient, GetFailsOnBrokenSilentOrOversizedReplies) {
  const struct {
    const char* path;
    const char* message;
  } cases[] = {
      {"/no-length-close", "Server can't send data"},
      {"/half", "Server can't send data"},
      {"/bad-chunk", "Read body stream error"},
      {"/huge-length", "Body too large"},
      {"/huge-chunked", "Body too large"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureOf([&] { Get(fixture, c.path); }), c.message) << c.path;
  }

  CTCPHttp client("127.0.0.1", fixture);
  client.SetRecvTimeout(500);
  std::string message;
  const DWORD ms = MillisecondsOf([&] { message = FailureOf([&] { client.Get("/silent", ""); }); });
  EXPECT_EQ(message, "socket recv failed");
  EXPECT_LT(ms, 3000u);
}

TEST_F(HttpClient, ConnectionsToAServerThatIsDownFail) {
  CTCPHttp client("127.0.0.1", ClosedPort());
  EXPECT_EQ(FailureOf([&] { client.Get("/", ""); }), "Connect failed");
  EXPECT_EQ(client.ConnectFailures(), 1) << "the first failure tried the system proxy (none here)";
}

// CONNECT tunnels. The clients take the proxy from GlobalSettings, as every
// client of the installer does.
class ProxyTunnel : public ::testing::Test {
 protected:
  void UseProxy(uint16_t proxyPort) {
    CXMutexLock guard(GetGlobalSettings()->mutex);
    GetGlobalSettings()->proxy = ProxySetting{ProxyHttp, "127.0.0.1", proxyPort};
  }

  ScopedGlobalSettings settings;
  const uint16_t fixture = DriverPort("TESSARO_HTTP_PORT");
};

TEST_F(ProxyTunnel, SendsABareConnectLineAndAcceptsAnHttp10Reply) {
  UseProxy(DriverPort("TESSARO_PROXY_ECHO_PORT"));
  CTCPHttp client("127.0.0.1", 8123);
  // The echo proxy answers the first request in the tunnel with the CONNECT
  // request it received.
  EXPECT_EQ(client.Get("/", ""), "CONNECT 127.0.0.1:8123 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(client.ConnectFailures(), 0);
}

TEST_F(ProxyTunnel, TakesAReplyHeadThatArrivesInPiecesWhole) {
  UseProxy(DriverPort("TESSARO_PROXY_SPLIT_PORT"));
  CTCPHttp client("127.0.0.1", 8123);
  client.SetRecvTimeout(5000);
  EXPECT_EQ(client.Get("/", ""), "CONNECT 127.0.0.1:8123 HTTP/1.1\r\n\r\n");
}

TEST_F(ProxyTunnel, RefusedOrShortRepliesFailTheAttempt) {
  class TunnelClient : public CTCPClient {
   public:
    void UseProxy(uint16_t proxyPort) { proxy = ProxySetting{ProxyHttp, "127.0.0.1", proxyPort}; }
  };
  for (const char* port : {"TESSARO_PROXY_407_PORT", "TESSARO_PROXY_SHORT_PORT"}) {
    TunnelClient client;
    client.Resolve("127.0.0.1", fixture);
    client.SetRecvTimeout(5000);
    client.UseProxy(DriverPort(port));
    EXPECT_EQ(FailureOf([&] { client.ConnectOnce(); }), "Proxy failed") << port;
  }
}

TEST_F(ProxyTunnel, CarriesRequestsThroughTinyproxy) {
  UseProxy(DriverPort("TESSARO_TINYPROXY_PORT"));
  CTCPHttp client("127.0.0.1", fixture);
  client.SetRecvTimeout(5000);
  EXPECT_EQ(client.Get("/length5", ""), "hello");
  EXPECT_EQ(client.ConnectFailures(), 0);
  EXPECT_EQ(client.Proxy().port, DriverPort("TESSARO_TINYPROXY_PORT"));
}

TEST_F(ProxyTunnel, WithTheOwnResolverTheConnectLineNamesTheAddress) {
  UseProxy(DriverPort("TESSARO_PROXY_ECHO_PORT"));
  {
    CXMutexLock guard(GetGlobalSettings()->mutex);
    GetGlobalSettings()->dns = DnsSetting{DnsOwn, "127.0.0.1"};
  }
  CTCPHttp client("svc.tessaro.test", 8123);
  EXPECT_EQ(client.Host(), "127.0.0.1");
  EXPECT_EQ(client.Get("/", ""), "CONNECT 127.0.0.1:8123 HTTP/1.1\r\n\r\n");
}

}  // namespace
