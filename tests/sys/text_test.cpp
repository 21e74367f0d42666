// Text conversions, number text, reply status, splitting, trimming,
// searching and the install folder check.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "sys/install_path.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"

namespace {

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// ---- conversions ----

struct Utf8Case {
  std::wstring wide;
  std::string utf8;
};

class Utf8Conversion : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Conversion, ConvertsBothWays) {
  EXPECT_EQ(WideToUtf8(GetParam().wide), GetParam().utf8);
  EXPECT_EQ(Utf8ToWide(GetParam().utf8), GetParam().wide);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8Conversion,
    ::testing::Values(Utf8Case{L"", ""}, Utf8Case{L"Tessaro", "Tessaro"},
                      Utf8Case{L"\u5f00\u59cb\u5b89\u88c5",  // 开始安装: 12 bytes
                               "\xE5\xBC\x80\xE5\xA7\x8B\xE5\xAE\x89\xE8\xA3\x85"},
                      Utf8Case{L"\u20ac1", "\xE2\x82\xAC" "1"},
                      Utf8Case{L"\xD83D\xDE00", "\xF0\x9F\x98\x80"}));  // one surrogate pair

TEST(TextConvert, EmbeddedNulEndsTheText) {
  const std::string narrow("ab\0cd", 5);
  const std::wstring wide(L"ab\0cd", 5);
  EXPECT_EQ(AnsiToWide(narrow), L"ab");
  EXPECT_EQ(Utf8ToWide(narrow), L"ab");
  EXPECT_EQ(WideToAnsi(wide), "ab");
  EXPECT_EQ(WideToUtf8(wide), "ab");
}

TEST(TextConvert, AnsiRoundTripsAscii) {
  EXPECT_EQ(AnsiToWide("OrvanePkg 1.97"), L"OrvanePkg 1.97");
  EXPECT_EQ(WideToAnsi(L"OrvanePkg 1.97"), "OrvanePkg 1.97");
  EXPECT_EQ(AnsiToWide(""), L"");
  EXPECT_EQ(WideToAnsi(L""), "");
}

// ---- numbers and time ----

struct ParseCase {
  std::string text;
  int64_t value;
};

class ParseInt64Test : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseInt64Test, ReadsLeadingNumber) { EXPECT_EQ(ParseInt64(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseInt64Test,
    ::testing::Values(ParseCase{"123", 123}, ParseCase{"  -42x", -42}, ParseCase{"\t+7 8", 7},
                      ParseCase{"abc", 0}, ParseCase{"", 0}, ParseCase{"0x1F", 0},
                      ParseCase{"9223372036854775807", std::numeric_limits<int64_t>::max()},
                      ParseCase{"-9223372036854775808", std::numeric_limits<int64_t>::min()},
                      ParseCase{"4294967296", 4294967296LL}));

TEST(FormatInt64, WritesDecimal) {
  EXPECT_EQ(FormatInt64(0), "0");
  EXPECT_EQ(FormatInt64(-1), "-1");
  EXPECT_EQ(FormatInt64(4294967296LL), "4294967296");
  EXPECT_EQ(FormatInt64(std::numeric_limits<int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(FormatInt64(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(NowUnixSeconds, MatchesSystemClock) {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  const int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const int64_t expected = (ticks - 116444736000000000LL) / 10000000LL;
  EXPECT_NEAR(static_cast<double>(NowUnixSeconds()), static_cast<double>(expected), 2.0);
}

// ---- small text jobs ----

TEST(FirstThreeChars, CutsAtThreeBytes) {
  EXPECT_EQ(FirstThreeChars(nullptr), "");
  EXPECT_EQ(FirstThreeChars(""), "");
  EXPECT_EQ(FirstThreeChars("a"), "a");
  EXPECT_EQ(FirstThreeChars("abc"), "abc");
  EXPECT_EQ(FirstThreeChars("abcd"), "abc");
  EXPECT_EQ(FirstThreeChars("PCI\\VEN_8086"), "PCI");
}

struct StatusCase {
  const char* reply;
  std::string code;
};

class ReplyStatusCodeTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ReplyStatusCodeTest, TakesThreeDigitsAfterVersion) {
  EXPECT_EQ(ReplyStatusCode(GetParam().reply), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyStatusCodeTest,
    ::testing::Values(StatusCase{"HTTP/1.1 200", "200"}, StatusCase{"HTTP/1.1 20", ""},
                      StatusCase{"HTTP/1.0 407 Proxy Authentication Required\r\n\r\n", "407"},
                      StatusCase{"HTTP/1.1 200 Connection established\r\n", "200"},
                      StatusCase{"", ""}, StatusCase{nullptr, ""}));

TEST(ToUpperAscii, ChangesOnlyLowerCaseAsciiLetters) {
  EXPECT_EQ(ToUpperAscii("pci\\ven_8086&dev-z"), "PCI\\VEN_8086&DEV-Z");
  // Latin-1 and UTF-8 bytes keep their values.
  EXPECT_EQ(ToUpperAscii("\xE9\xE4 \xE4\xB8\xAD"), "\xE9\xE4 \xE4\xB8\xAD");
  EXPECT_EQ(ToUpperAscii(std::string("a\0b", 3)), std::string("A\0B", 3));
}

// ---- split ----

struct SplitCase {
  std::string text;
  std::string delimiters;
  std::vector<std::string> tokens;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, NarrowGivesRunsBetweenDelimiters) {
  EXPECT_EQ(SplitNarrow(GetParam().text, GetParam().delimiters), GetParam().tokens);
}

TEST_P(SplitTest, WideBehavesLikeNarrow) {
  std::vector<std::wstring> expected;
  for (const std::string& token : GetParam().tokens) expected.push_back(Widen(token));
  EXPECT_EQ(SplitWide(Widen(GetParam().text), Widen(GetParam().delimiters)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitTest,
    ::testing::Values(SplitCase{",,a,,b,", ",", {"a", "b"}},
                      SplitCase{"a\\b/c", "\\/", {"a", "b", "c"}},
                      SplitCase{"C:\\Program Files\\x", "\\", {"C:", "Program Files", "x"}},
                      SplitCase{"", ",", {}}, SplitCase{",,,", ",", {}},
                      SplitCase{"abc", "", {"abc"}},
                      // The delimiter argument is a set, not a sequence.
                      SplitCase{"a<>b>c<d", "<>", {"a", "b", "c", "d"}}));

TEST(SplitWide, KeepsNonAsciiTokens) {
  EXPECT_EQ(SplitWide(L"D:\\\u4e2d\u6587\\\u76ee\u5f55", L"\\"),
            (std::vector<std::wstring>{L"D:", L"\u4e2d\u6587", L"\u76ee\u5f55"}));
}

// ---- trim ----

TEST(Trim, RemovesSetMembersAtOneEnd) {
  EXPECT_EQ(TrimLeftNarrow("  ab ", " "), "ab ");
  EXPECT_EQ(TrimLeftNarrow("\r\n\r\nbody", "\r\n"), "body");
  EXPECT_EQ(TrimLeftNarrow("   ", " "), "");
  EXPECT_EQ(TrimLeftNarrow("ab", ""), "ab");
  EXPECT_EQ(TrimLeftWide(L"\\/x\\", L"\\/"), L"x\\");
  EXPECT_EQ(TrimLeftWide(L"", L" "), L"");
  EXPECT_EQ(TrimRightWide(L"  ", L" "), L"");
  EXPECT_EQ(TrimRightWide(L"ab", L""), L"ab");
  EXPECT_EQ(TrimRightWide(L"D:\\dir\\/\\", L"\\/"), L"D:\\dir");
  EXPECT_EQ(TrimRightWide(L" a b ", L" "), L" a b");
}

// ---- find ----

struct FindCase {
  std::string haystack;
  std::string needle;
  uint32_t position;
};

class FindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTest, NarrowFindsFirstExactOccurrence) {
  EXPECT_EQ(FindNarrow(GetParam().haystack, GetParam().needle), GetParam().position);
}

TEST_P(FindTest, WideFindsFirstExactOccurrence) {
  EXPECT_EQ(FindWide(Widen(GetParam().haystack), Widen(GetParam().needle)), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FindTest,
    ::testing::Values(FindCase{"abc", "", NOT_FOUND}, FindCase{"", "a", NOT_FOUND},
                      FindCase{"", "", NOT_FOUND}, FindCase{"abcabc", "ca", 2},
                      FindCase{"abc", "abc", 0}, FindCase{"abc", "abcd", NOT_FOUND},
                      FindCase{"aBc", "b", NOT_FOUND}, FindCase{"x\r\n\r\n", "\r\n\r\n", 1}));

TEST(Find, NotFoundReadsAsMinusOne) { EXPECT_EQ(static_cast<int32_t>(NOT_FOUND), -1); }

// ---- remove all ----

struct RemoveCase {
  std::wstring text;
  std::wstring part;
  std::wstring result;
};

class RemoveAllWideTest : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveAllWideTest, RemovesEveryOccurrence) {
  EXPECT_EQ(RemoveAllWide(GetParam().text, GetParam().part), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RemoveAllWideTest,
    ::testing::Values(RemoveCase{L"aXXbXX", L"XX", L"ab"}, RemoveCase{L"ab", L"abc", L"ab"},
                      RemoveCase{L"ab", L"", L"ab"}, RemoveCase{L"", L"X", L""},
                      RemoveCase{L"XXXX", L"XX", L""}, RemoveCase{L"aXXXb", L"XX", L"aXb"},
                      // The search goes on from the place of the removal, so a
                      // match that the removal forms further left stays.
                      RemoveCase{L"bbXX", L"bX", L"bX"},
                      RemoveCase{L"\"C:\\a b\\x.exe\"", L"\"", L"C:\\a b\\x.exe"}));

// ---- install folder ----

struct InstallPathCase {
  std::wstring path;
  bool valid;
};

class IsValidInstallPathTest : public ::testing::TestWithParam<InstallPathCase> {};

TEST_P(IsValidInstallPathTest, Decides) {
  EXPECT_EQ(IsValidInstallPath(GetParam().path), GetParam().valid) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, IsValidInstallPathTest,
    ::testing::Values(InstallPathCase{L"D:\\Program Files\\Tessaro", true},
                      InstallPathCase{L"D:", true}, InstallPathCase{L"d:\\", true},
                      InstallPathCase{L"D:\\a\\", true},
                      InstallPathCase{L"D:\\\u4e2d\u6587\\Tessaro", true},
                      InstallPathCase{L"D:\\\\a", false}, InstallPathCase{L"D:\\a\\\\b", false},
                      InstallPathCase{L"\\\\server\\share", false},
                      InstallPathCase{L"1:\\x", false}, InstallPathCase{L"DD\\x", false},
                      InstallPathCase{L":D\\x", false}, InstallPathCase{L"\u00e9:\\x", false},
                      InstallPathCase{L"D:/a", false}, InstallPathCase{L"D:\\a/b", false},
                      InstallPathCase{L"D:\\a*b", false}, InstallPathCase{L"D:\\a?b", false},
                      InstallPathCase{L"D:\\a\"b", false}, InstallPathCase{L"D:\\a<b", false},
                      InstallPathCase{L"D:\\a>b", false}, InstallPathCase{L"D:\\a|b", false},
                      InstallPathCase{L"D:\\a:b", false}, InstallPathCase{L"", false},
                      InstallPathCase{L"\\", false}));

}  // namespace
