// The exact bytes of every request the client sends: GET, HEAD, the form
// POST with its body, and the proxy CONNECT with its acceptance.
#include <gtest/gtest.h>

#include <string>

#include "net/codec/http_form.h"
#include "net/codec/http_request.h"
#include "net/codec/proxy_tunnel.h"

namespace {

const std::string BOUNDARY_LINE = "-----------------------------7da1f4c300560";

TEST(RequestText, GetHeadAndPostBytes) {
  EXPECT_EQ(BuildGetRequest("/api/v1/pkg?c=a%20b", "gw.example"),
            "GET /api/v1/pkg?c=a%20b HTTP/1.1\r\n"
            "Host: gw.example\r\n"
            "Connection: close\r\n\r\n");
  EXPECT_EQ(BuildHeadRequest("/pkg/setup.exe", "cdn.example"),
            "HEAD /pkg/setup.exe HTTP/1.1\r\n"
            "Host:cdn.example\r\n"
            "Accept:*/*\r\n"
            "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
            "Connection:close\r\n"
            "\r\n");
  EXPECT_EQ(BuildPostFormRequest("/report", "rp.example", 345),
            "POST /report HTTP/1.1\r\n"
            "Host: rp.example\r\n"
            "Content-Type: multipart/form-data; boundary=---------------------------7da1f4c300560\r\n"
            "Content-Length: 345\r\n"
            "Connection: close\r\n\r\n");
}

TEST(RequestText, EmptyHostLeavesTheHostLineOut) {
  EXPECT_EQ(BuildGetRequest("/", ""), "GET / HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(BuildHeadRequest("/", "").find("Host"), std::string::npos);
  EXPECT_EQ(BuildPostFormRequest("/", "", 0).find("Host"), std::string::npos);
}

TEST(RequestText, BoundaryIsFortyCharactersAndTheLineTwoMore) {
  EXPECT_EQ(std::string(HTTP_FORM_BOUNDARY).size(), 40u);
  EXPECT_EQ("--" + std::string(HTTP_FORM_BOUNDARY), BOUNDARY_LINE);
  EXPECT_EQ(BOUNDARY_LINE.size(), 42u);
}

// Runs the body production as PostForm does and returns everything sent.
std::string ProduceBody(HttpForm& form) {
  std::string body;
  while (form.NextBodyChunk()) body += form.Chunk();
  EXPECT_TRUE(form.Chunk().empty());
  return body;
}

std::string Part(const std::string& name, const std::string& value) {
  return BOUNDARY_LINE + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" +
         value + "\r\n";
}

TEST(FormBody, FieldsGoOutInNameOrderAndTheLengthMatches) {
  HttpForm form;
  form.AddField("b", "second");
  form.AddField("a", "first\r\nwith lines \xE4\xB8\xAD");
  form.AddField("B", "upper sorts first");
  form.AddField("b", "replaced");
  ASSERT_TRUE(form.PrepareBody());

  const std::string body = ProduceBody(form);
  EXPECT_EQ(body, Part("B", "upper sorts first") + Part("a", "first\r\nwith lines \xE4\xB8\xAD") +
                      Part("b", "replaced") + BOUNDARY_LINE + "--\r\n");
  EXPECT_EQ(form.ContentLength(), body.size());
}

TEST(FormBody, EachChunkIsOneFieldTheLastWithTheClosingLine) {
  HttpForm form;
  form.AddField("x", "1");
  form.AddField("y", "2");
  ASSERT_TRUE(form.PrepareBody());
  ASSERT_TRUE(form.NextBodyChunk());
  EXPECT_EQ(form.Chunk(), Part("x", "1"));
  ASSERT_TRUE(form.NextBodyChunk());
  EXPECT_EQ(form.Chunk(), Part("y", "2") + BOUNDARY_LINE + "--\r\n");
  EXPECT_FALSE(form.NextBodyChunk());
}

TEST(FormBody, PreparedFormIgnoresNewFieldsAndARetrySendsTheSameBody) {
  HttpForm form;
  form.AddField("id", "42");
  ASSERT_TRUE(form.PrepareBody());
  const std::string first = ProduceBody(form);
  form.AddField("late", "ignored");
  form.AddField("id", "changed");
  ASSERT_TRUE(form.PrepareBody());
  EXPECT_EQ(ProduceBody(form), first);

  form.ResetBody();
  form.AddField("late", "now");
  ASSERT_TRUE(form.PrepareBody());
  EXPECT_EQ(ProduceBody(form), Part("id", "42") + Part("late", "now") + BOUNDARY_LINE + "--\r\n");
}

TEST(FormBody, FormWithoutFieldsSendsNothing) {
  HttpForm form;
  EXPECT_FALSE(form.PrepareBody());
  EXPECT_EQ(form.ContentLength(), 0u);
  EXPECT_FALSE(form.NextBodyChunk());
  EXPECT_EQ(form.Chunk(), "");
}

TEST(FormBody, UnpreparedFormProducesNothing) {
  HttpForm form;
  form.AddField("a", "1");
  EXPECT_FALSE(form.NextBodyChunk());
}

TEST(ProxyTunnel, ConnectLineHasNoOtherHeader) {
  EXPECT_EQ(BuildConnectRequest("gw.example", 8080), "CONNECT gw.example:8080 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(BuildConnectRequest("10.1.2.3", 80), "CONNECT 10.1.2.3:80 HTTP/1.1\r\n\r\n");
}

struct TunnelCase {
  std::string reply;
  bool accepted;
};

class ProxyTunnelReply : public ::testing::TestWithParam<TunnelCase> {};

TEST_P(ProxyTunnelReply, OpensOnlyOnStatus200) {
  const std::string& reply = GetParam().reply;
  EXPECT_EQ(ProxyTunnelAccepted(reply.data(), reply.size()), GetParam().accepted) << reply;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ProxyTunnelReply,
    ::testing::Values(TunnelCase{"HTTP/1.0 200 Connection established\r\n\r\n", true},
                      TunnelCase{"HTTP/1.1 200 OK\r\nProxy-Agent: p\r\n\r\n", true},
                      TunnelCase{"HTTP/1.1 200", true},  // 12 characters
                      TunnelCase{"HTTP/1.1 20", false},  // 11 characters
                      TunnelCase{"HTTP/1.1 407 Proxy Authentication Required\r\n\r\n", false},
                      TunnelCase{"HTTP/1.1 201 Created\r\n\r\n", false},
                      TunnelCase{"HTTP/1.1 20x OK\r\n", false},
                      TunnelCase{std::string("HTTP/1.1 \0" "200 OK\r\n", 17), false},
                      TunnelCase{"", false}));

TEST(ProxyTunnel, NullReplyIsRefused) { EXPECT_FALSE(ProxyTunnelAccepted(nullptr, 12)); }

}  // namespace
