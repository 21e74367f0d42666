// The page rules that need no window: sizes as the custom page shows them,
// the product folders, the welcome page address and where the cancel dialog
// goes.
#include <gtest/gtest.h>

#include <string>

#include "pages/cancel_dialog.h"
#include "pages/custom_path.h"
#include "pages/welcome_url.h"
#include "sys/md5.h"
#include "sys/text_convert.h"

namespace {

TEST(FormatSizeTest, UnitsAndBoundaries) {
  const struct {
    double bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0.0 B"},
      {500, L"500.0 B"},
      {1024, L"1024.0 B"},
      {1025, L"1.0 KB"},
      {1536, L"1.5 KB"},
      {1048575, L"1024.0 KB"},
      {1048576, L"1.0 MB"},
      {261485343, L"249.4 MB"},
      {1073741824, L"1.0 GB"},
      {3221225472.0, L"3.0 GB"},
      {1099511627776.0, L"1.0 TB"},
      {2199023255552.0, L"2.0 TB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatSize(c.bytes), c.text) << c.bytes;
  }
}

TEST(InstallFolderTest, ProductFoldersAppendedOnce) {
  const struct {
    const wchar_t* chosen;
    ProductFolders mode;
    const wchar_t* folder;
  } cases[] = {
      {L"D:\\Apps", ProductFolders::Append, L"D:\\Apps\\Orvane\\Tessaro"},
      {L"D:\\", ProductFolders::Append, L"D:\\Orvane\\Tessaro"},
      {L"D:", ProductFolders::Append, L"D:\\Orvane\\Tessaro"},
      {L"C:\\Program Files (x86)\\Orvane\\Tessaro", ProductFolders::Append,
       L"C:\\Program Files (x86)\\Orvane\\Tessaro"},
      {L"D:\\x\\Orvane\\Tessaro\\sub", ProductFolders::Append, L"D:\\x\\Orvane\\Tessaro\\sub"},
      // The search is case-sensitive.
      {L"D:\\orvane\\tessaro", ProductFolders::Append, L"D:\\orvane\\tessaro\\Orvane\\Tessaro"},
      {L"E:\\Tools\\App", ProductFolders::AsIs, L"E:\\Tools\\App"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InstallFolderFor(c.chosen, c.mode), c.folder) << WideToUtf8(c.chosen);
  }
}

TEST(WelcomeUrlTest, SeparatorBeforeTheInstallersKeys) {
  const struct {
    const wchar_t* url;
    const wchar_t* separated;
  } cases[] = {
      {L"https://w.example/", L"https://w.example/?"},
      {L"https://w.example/p?x=1", L"https://w.example/p?x=1&"},
      {L"https://w.example/p?", L"https://w.example/p?"},
      {L"https://w.example/p?x=1&", L"https://w.example/p?x=1&"},
      {L"", L"?"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithQuerySeparator(c.url), c.separated) << WideToUtf8(c.url);
  }
}

TEST(WelcomeUrlTest, UrlEncoding) {
  EXPECT_EQ(UrlEncode("a b"), "a+b");
  EXPECT_EQ(UrlEncode("\xC3\xA9"), "%C3%A9");
  EXPECT_EQ(UrlEncode("https://x.example/"), "https%3A%2F%2Fx.example%2F");
  EXPECT_EQ(UrlEncode("AZaz09-_.!~*'()"), "AZaz09-_.!~*'()");
  EXPECT_EQ(UrlEncode("?&=%"), "%3F%26%3D%25");
}

WelcomeInputs SampleInputs() {
  WelcomeInputs inputs;
  inputs.siteRoot = "https://tessaro.example/";
  inputs.channel = "ruva3600";
  inputs.machineId = "0123456789abcdef0123456789abcdef";
  inputs.cam = "fedcba9876543210fedcba9876543210";
  inputs.appVersion = "2.1.0.5";
  inputs.timeStamp = 1700000000;
  inputs.adAccount = "acct one";
  return inputs;
}

std::string Md5Of(const std::string& text) {
  return Md5HexOfData(text.data(), static_cast<int64_t>(text.size()));
}

TEST(WelcomeUrlTest, DefaultBaseIsTheSiteRootWithoutAdvertisingKeys) {
  const WelcomeAddress address = BuildWelcomeAddress(SampleInputs());
  const std::string hashed =
      "https://tessaro.example/?_channel=ruva3600&_mid=0123456789abcdef0123456789abcdef"
      "&cam=fedcba9876543210fedcba9876543210&app_version=2.1.0.5&time_stamp=1700000000";
  EXPECT_FALSE(address.fromServer);
  EXPECT_EQ(address.sessionId, Md5Of(hashed));
  EXPECT_EQ(WideToUtf8(address.url), hashed + "&session_id=" + Md5Of(hashed));
}

TEST(WelcomeUrlTest, ServerBaseKeepsItsQueryAndAddsTheAdvertisingKeys) {
  WelcomeInputs inputs = SampleInputs();
  inputs.serverWelcomeUrl = "https://landing.example/w?x=1";
  inputs.appVersion.clear();
  const WelcomeAddress address = BuildWelcomeAddress(inputs);
  const std::string hashed =
      "https://landing.example/w?x=1&_channel=ruva3600&_mid=0123456789abcdef0123456789abcdef"
      "&cam=fedcba9876543210fedcba9876543210&app_version=&time_stamp=1700000000";
  EXPECT_TRUE(address.fromServer);
  EXPECT_EQ(WideToUtf8(address.url),
            hashed + "&session_id=" + Md5Of(hashed) +
                "&ad_account=acct one&def_welcom_url=https%3A%2F%2Ftessaro.example%2F");
}

TEST(WelcomeUrlTest, SessionIdChangesWithTheTimeStamp) {
  WelcomeInputs inputs = SampleInputs();
  const std::string first = BuildWelcomeAddress(inputs).sessionId;
  inputs.timeStamp += 1;
  EXPECT_NE(BuildWelcomeAddress(inputs).sessionId, first);
}

TEST(CentredOverTest, CentredAndKeptInsideTheWorkArea) {
  const RECT work{0, 0, 1280, 770};
  const SIZE dialog{400, 200};
  const struct {
    RECT owner;
    LONG x;
    LONG y;
  } cases[] = {
      {{340, 185, 940, 585}, 440, 285},     // centred
      {{-500, 100, 100, 500}, 0, 200},      // crosses the left edge
      {{1100, 100, 1700, 500}, 880, 200},   // crosses the right edge
      {{340, 700, 940, 1100}, 440, 570},    // crosses the bottom edge
      {{340, -400, 940, 0}, 440, 0},        // above the top edge
  };
  for (const auto& c : cases) {
    const POINT at = CentredOver(c.owner, dialog, work);
    EXPECT_EQ(at.x, c.x) << c.owner.left << "," << c.owner.top;
    EXPECT_EQ(at.y, c.y) << c.owner.left << "," << c.owner.top;
  }
}

}  // namespace
