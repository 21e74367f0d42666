// The pure rules of the download subsystem: byte ranges, version order, the
// package's file name, and the ranged request and its reply head.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download/byte_ranges.h"
#include "download/package_name.h"
#include "download/package_version.h"
#include "download/range_reply.h"

namespace {

TEST(ByteRanges, SplitsEvenlyWithTheRestInTheLastRange) {
  struct Case {
    int64_t total;
    std::vector<ByteRange> ranges;
  };
  const Case cases[] = {
      {1001, {{0, 499}, {500, 1000}}},
      {1000, {{0, 499}, {500, 999}}},
      {1, {{0, -1}, {0, 0}}},  // the first range is complete from the start
      {2, {{0, 0}, {1, 1}}},
  };
  for (const Case& c : cases) {
    const std::vector<ByteRange> ranges = SplitIntoRanges(c.total, 2);
    ASSERT_EQ(ranges.size(), 2u) << c.total;
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(ranges[i].next, c.ranges[i].next) << c.total << " range " << i;
      EXPECT_EQ(ranges[i].last, c.ranges[i].last) << c.total << " range " << i;
    }
  }
  EXPECT_TRUE(SplitIntoRanges(1, 2)[0].Complete());
  EXPECT_FALSE(SplitIntoRanges(1, 2)[1].Complete());
  EXPECT_EQ(SplitIntoRanges(7, 1)[0].last, 6);
}

TEST(PackageVersion, ComparesPartByPart) {
  struct Case {
    const char* a;
    const char* b;
    bool notOlder;
  };
  const Case cases[] = {
      {"2.0.0.1", "1.9.0.0", true}, {"1.9.0.0", "2.0.0.1", false}, {"2.0", "1.9", true},
      {"1.9", "2.0", false},        {"2.0.0", "2.0", false},        {"1.2.3.4", "1.2.3.4", true},
      {"1.10", "1.9", true},        {"", "", false},                {"1..2", "1.2", true},
      {"x.1", "0.1", true},  // unreadable parts count as 0
  };
  for (const Case& c : cases) EXPECT_EQ(IsVersionNotOlder(c.a, c.b), c.notOlder) << c.a << " vs " << c.b;
}

TEST(PackageName, AcceptsOnlyPlainFileNames) {
  struct Case {
    std::wstring name;
    bool plain;
  };
  const Case cases[] = {
      {L"setup.exe", true},         {L"My Setup.exe", true},       {L"COM10.exe", true},
      {L"CONSOLE.exe", true},       {L"", false},                  {L"..\\evil.exe", false},
      {L"../evil.exe", false},      {L"C:evil.exe", false},        {L"C:\\Windows\\evil.exe", false},
      {L"\\\\server\\share", false}, {L".", false},                 {L"..", false},
      {L"CON", false},              {L"con.exe", false},           {L"NUL .txt", false},
      {L"LPT9.exe", false},         {L"CONIN$", false},            {L"evil.exe.", false},
      {L"evil.exe ", false},        {L"a\tb.exe", false},          {L"a|b.exe", false},
      {L"setup.exe:stream", false}, {std::wstring(256, L'a'), false}, {std::wstring(255, L'a'), true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPlainFileName(c.name), c.plain) << std::string(c.name.begin(), c.name.end());
}

TEST(PackageName, TakesTheServersNameOnlyWhenItIsPlain) {
  EXPECT_EQ(PackageNameFromHead({"HTTP/1.1 200 OK", "Content-Disposition: attachment; filename=\"My Setup.exe\""}),
            L"My Setup.exe");
  EXPECT_EQ(PackageNameFromHead({"HTTP/1.1 200 OK", "Content-Disposition: attachment; filename=setup.exe"}),
            L"setup.exe");
  EXPECT_EQ(PackageNameFromHead({"HTTP/1.1 200 OK", "Content-Disposition: attachment; filename=\"..\\..\\x.exe\""}),
            L"");
  EXPECT_EQ(PackageNameFromHead({"HTTP/1.1 200 OK", "Content-Disposition: attachment; filename=\"NUL.exe\""}), L"");
  EXPECT_EQ(PackageNameFromHead({"HTTP/1.1 200 OK", "Content-Length: 5"}), L"");
}

TEST(PackageName, MadeUpFromTheInstallersOwnName) {
  EXPECT_EQ(MadeUpPackageName(L"C:\\dl\\Tessaro_setup.exe", "1.2.3"), L"Tessaro_setup_install_v1.2.3.exe");
  EXPECT_EQ(MadeUpPackageName(L"C:\\dl\\Tessaro_install.exe", ""), L"Tessaro_install.exe");
  EXPECT_EQ(MadeUpPackageName(L"C:\\dl\\a.exe.exe", "2"), L"a_install_v2.exe");
  // The version comes from the server: one that would leave the folder gives no name.
  EXPECT_EQ(MadeUpPackageName(L"C:\\dl\\Tessaro_setup.exe", "1\\..\\..\\x"), L"");
  EXPECT_EQ(MadeUpPackageName(L"", "1.2.3"), L"");
}

TEST(PackageName, ChannelBuildsKeepTheirOwnName) {
  EXPECT_EQ(ChannelPackageName(L"1.96.0.3"), L"install_rozorir0.exe");
  EXPECT_EQ(ChannelPackageName(L"1.97.0.3"), L"install_ruva3600.exe");
  EXPECT_EQ(ChannelPackageName(L"2.98.1.1"), L"install_dizorar0.exe");
  EXPECT_EQ(ChannelPackageName(L"1.99.0.0"), L"install_reveza00.exe");
  EXPECT_EQ(ChannelPackageName(L"1.95.0.3"), L"");
  EXPECT_EQ(ChannelPackageName(L"1.97.0"), L"");  // three parts
  EXPECT_EQ(ChannelPackageName(L""), L"");
}

TEST(RangeReply, RequestAsksForTheRangeAndTheClose) {
  EXPECT_EQ(BuildRangeRequest("/pkg/setup.exe", "cdn.example", 500, 1000),
            "GET /pkg/setup.exe HTTP/1.1\r\nHost:cdn.example\r\nAccept:*/*\r\nRange:bytes=500-1000\r\n"
            "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\nConnection:close\r\n\r\n");
}

TEST(RangeReply, FindsTheHeadEndWhereverThePiecesSplitIt) {
  const std::string reply = "HTTP/1.1 206 Partial Content\r\nContent-Length: 3\r\n\r\nabc";
  const size_t headLength = reply.find("abc");
  // Fed as it grows, one byte at a time, remembering how far was searched.
  size_t searched = 0;
  size_t found = 0;
  for (size_t size = 1; size <= reply.size() && found == 0; ++size) {
    found = FindHeadEnd(reply.data(), size, searched);
    if (found == 0) searched = size;
  }
  EXPECT_EQ(found, headLength);
  EXPECT_EQ(FindHeadEnd(reply.data(), headLength - 1, 0), 0u);
  EXPECT_EQ(FindHeadEnd(reply.data(), reply.size(), 0), headLength);
}

TEST(RangeReply, ReadsTheStatusAndTheRedirectTarget) {
  const std::string redirect = "HTTP/1.1 302 Found\r\nlocation:  http://mirror:8080/pkg\r\n\r\n";
  const RangeReplyHead moved = ReadRangeReplyHead(redirect.data(), redirect.size());
  EXPECT_TRUE(moved.IsRedirect());
  EXPECT_EQ(moved.location, "http://mirror:8080/pkg");
  const std::string partial = "HTTP/1.1 206 Partial Content\r\nLocation: /ignored\r\n\r\n";
  const RangeReplyHead data = ReadRangeReplyHead(partial.data(), partial.size());
  EXPECT_EQ(data.status, 206);
  EXPECT_FALSE(data.IsRedirect());
  EXPECT_EQ(data.location, "");
}

}  // namespace
