// Reply heads: where a head ends, what its lines say, and how the body after
// it is to be read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/codec/http_body.h"
#include "net/codec/http_head.h"
#include "net/codec/http_header_fields.h"

namespace {

// Feeds `reply` byte by byte, as the client receives it, and returns what is
// left after the head.
std::string CollectHead(const std::string& reply, HttpHeadBuffer* head) {
  size_t used = 0;
  while (used < reply.size() && !head->Complete()) used += head->Feed(&reply[used], 1);
  return reply.substr(used);
}

TEST(HttpHeadBuffer, EndsAtTheBlankLine) {
  HttpHeadBuffer head;
  const std::string rest =
      CollectHead("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", &head);
  EXPECT_TRUE(head.Complete());
  EXPECT_EQ(head.Text(), "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
  EXPECT_EQ(rest, "hello");
}

TEST(HttpHeadBuffer, BulkFeedStopsAtTheSamePlace) {
  const std::string reply = "HTTP/1.1 404 Not Found\r\n\r\nbody";
  HttpHeadBuffer head;
  EXPECT_EQ(head.Feed(reply.data(), reply.size()), reply.size() - 4);
  EXPECT_TRUE(head.Complete());
  EXPECT_EQ(head.Feed("x", 1), 0u);
}

TEST(HttpHeadBuffer, BareLineFeedsDoNotEndTheHead) {
  HttpHeadBuffer head;
  CollectHead("HTTP/1.1 200 OK\n\nX: y\r\n", &head);
  EXPECT_FALSE(head.Complete());
}

TEST(HttpHeadBuffer, HeadOver4096BytesIsCutAndTheRestIsBody) {
  const std::string longLine = "X-Filler: " + std::string(5000, 'f') + "\r\n";
  const std::string reply = "HTTP/1.1 200 OK\r\n" + longLine + "Content-Length: 3\r\n\r\nabc";
  HttpHeadBuffer head;
  const std::string rest = CollectHead(reply, &head);
  EXPECT_TRUE(head.Complete());
  EXPECT_EQ(head.Text().size(), HTTP_HEAD_LIMIT);
  EXPECT_EQ(rest, reply.substr(HTTP_HEAD_LIMIT));

  // The Content-Length line was past the cut, so it is not seen.
  const HttpResponseHead parsed = ParseResponseHead(head.Text());
  EXPECT_EQ(parsed.status, "200");
  EXPECT_EQ(parsed.contentLength, 0);
}

TEST(HttpResponseHeadParse, SplitsStatusAndLines) {
  const HttpResponseHead head = ParseResponseHead(
      "HTTP/1.1 302 Found\r\nLocation: /pkg/setup.exe\r\n\r\n\nServer: t\r\n\r\n");
  EXPECT_EQ(head.status, "302");
  EXPECT_EQ(head.lines, (std::vector<std::string>{"HTTP/1.1 302 Found",
                                                  "Location: /pkg/setup.exe", "Server: t"}));
}

TEST(HttpResponseHeadParse, StatusNeedsALineLongerThan11) {
  EXPECT_EQ(ParseResponseHead("HTTP/1.1 200\r\n\r\n").status, "200");  // 12 characters
  EXPECT_EQ(ParseResponseHead("HTTP/1.1 20\r\n\r\n").status, "");      // 11 characters
  EXPECT_EQ(ParseResponseHead("\r\n\r\n").status, "");
  EXPECT_TRUE(ParseResponseHead("").lines.empty());
}

struct LengthCase {
  const char* head;
  int64_t contentLength;
  bool chunked;
  BodyFraming framing;
};

class BodyFramingOfHead : public ::testing::TestWithParam<LengthCase> {};

TEST_P(BodyFramingOfHead, FollowsContentLengthAndTransferEncoding) {
  const HttpResponseHead head = ParseResponseHead(GetParam().head);
  EXPECT_EQ(head.contentLength, GetParam().contentLength);
  EXPECT_EQ(head.chunked, GetParam().chunked);
  EXPECT_EQ(ChooseBodyFraming(head), GetParam().framing);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, BodyFramingOfHead,
    ::testing::Values(
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", 5, false,
                   BodyFraming::ByLength},
        // No Content-Length, or 0, is read as chunked.
        LengthCase{"HTTP/1.1 200 OK\r\nServer: t\r\n\r\n", 0, false, BodyFraming::Chunked},
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 0, false,
                   BodyFraming::Chunked},
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: -7\r\n\r\n", -7, false,
                   BodyFraming::Chunked},
        // Header names in any case; blanks before the value skipped.
        LengthCase{"HTTP/1.1 200 OK\r\ncontent-length:\t 42\r\n\r\n", 42, false,
                   BodyFraming::ByLength},
        // A bare "Content-Length:" is passed over; the first with a value wins.
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length:\r\nContent-Length: 7\r\n"
                   "Content-Length: 9\r\n\r\n",
                   7, false, BodyFraming::ByLength},
        // Chunked framing wins over a length sent alongside it.
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\nTransfer-Encoding: Chunked\r\n\r\n",
                   10, true, BodyFraming::Chunked},
        LengthCase{"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n", 0, true,
                   BodyFraming::Chunked},
        // Lengths the client will not hold; the head itself still reports them.
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 16777216\r\n\r\n", 16777216, false,
                   BodyFraming::ByLength},
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 16777217\r\n\r\n", 16777217, false,
                   BodyFraming::TooLarge},
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 734003200\r\n\r\n", 734003200, false,
                   BodyFraming::TooLarge},
        LengthCase{"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n",
                   INT64_MAX, false, BodyFraming::TooLarge}));

TEST(HttpHeaderFields, LocationIsTheFirstOneWithoutLeadingBlanks) {
  const std::vector<std::string> lines = {"HTTP/1.1 302 Found", "location:   /pkg/setup.exe",
                                          "Location: /other"};
  std::string location;
  ASSERT_TRUE(HeaderLocation(lines, &location));
  EXPECT_EQ(location, "/pkg/setup.exe");
  EXPECT_FALSE(HeaderLocation({"Location: /in-status-line-only"}, &location));
  EXPECT_FALSE(HeaderLocation({"HTTP/1.1 302 Found", "X-Location: /x"}, &location));
}

struct FileNameCase {
  const char* line;
  const char* fileName;
};

class DispositionFileName : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(DispositionFileName, TakesTheFirstPieceOfASafeName) {
  const std::vector<std::string> lines = {"HTTP/1.1 200 OK", "Server: t", GetParam().line,
                                          "X-Second: filename=second.exe"};
  EXPECT_EQ(ContentDispositionFileName(lines), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DispositionFileName,
    ::testing::Values(
        FileNameCase{"Content-Disposition: attachment; filename=\"Tessaro setup 2.exe\"",
                     "Tessaro setup 2.exe"},
        FileNameCase{"Content-Disposition: attachment; filename=setup.exe", "setup.exe"},
        FileNameCase{"Content-Disposition: attachment; filename=\"\"", ""},
        // Only the first line with "filename=" is looked at.
        FileNameCase{"Content-Disposition: attachment; filename=", ""},
        // Names that would leave the package folder are refused.
        FileNameCase{"Content-Disposition: attachment; filename=\"..\\..\\evil.exe\"", ""},
        FileNameCase{"Content-Disposition: attachment; filename=\"../evil.exe\"", ""},
        FileNameCase{"Content-Disposition: attachment; filename=\"C:evil.exe\"", ""},
        FileNameCase{"Content-Disposition: attachment; filename=\"..\"", ""},
        FileNameCase{"Content-Disposition: attachment", "second.exe"}));

TEST(HttpHeaderFields, NoFileNameWithoutAnyLine) {
  EXPECT_EQ(ContentDispositionFileName({"HTTP/1.1 200 OK", "Content-Length: 5"}), "");
  EXPECT_EQ(ContentDispositionFileName({}), "");
}

}  // namespace
