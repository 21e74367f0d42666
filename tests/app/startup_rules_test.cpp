// The startup's decisions from the installer's own file and version block, the
// version comparison that picks the first page, and the install root.
#include <gtest/gtest.h>

#include "app/startup_rules.h"

namespace {

TEST(StartupRules, PackageNameAndChannelFromFileName) {
  const struct {
    const char* path;
    const char* packageName;
    const char* channel;
  } cases[] = {
      {"C:\\Users\\a\\Downloads\\TessaroSetup_ruva3600.exe", "TessaroSetup_ruva3600", "ruva3600"},
      {"C:\\d\\TessaroSetup_Uxyz.exe", "TessaroSetup_Uxyz", "xyz"},
      {"C:\\d\\TessaroSetup_abcdefghijk.exe", "TessaroSetup_abcdefghijk", "abcdefgh"},
      {"C:\\d\\Setup_Uabcd.exe", "Setup_Uabcd", "abcd"},
      {"C:\\d\\TessaroSetup.exe", "TessaroSetup", ""},
      {"C:\\d\\TessaroSetup_.exe", "TessaroSetup_", ""},
      {"C:\\d\\TessaroSetup_U.exe", "TessaroSetup_U", ""},
      {"C:\\d\\a_b_c.exe", "a_b_c", "b_c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string packageName = PackageNameFromPath(c.path);
    EXPECT_EQ(packageName, c.packageName);
    EXPECT_EQ(ChannelFromPackageName(packageName), c.channel);
  }
}

TEST(StartupRules, ProductVersionOverridesTheChannel) {
  const struct {
    const wchar_t* version;
    const char* channel;
  } cases[] = {
      {L"1.97.0.3", "ruva3600"}, {L"1.96.0.0", "rozorir0"},   {L"1.98.2.1", "dizorar0"},
      {L"1.99.0.0", "reveza00"}, {L"1.0099.0.0", "reveza00"}, {L"1.95.0.3", "file"},
      {L"1.100.0.0", "file"},    {L"1.97.0", "file"},         {L"1.97.0.0.1", "file"},
      {L"", "file"},             {L"1..97.0.0", "ruva3600"},  {L"1.x.0.0", "file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.version)));
    EXPECT_EQ(ChannelFromProductVersion(c.version, "file"), c.channel);
  }
}

TEST(StartupRules, InstalledVersionAgainstNewest) {
  const struct {
    const char* newest;
    const char* installed;
    bool notOlder;
  } cases[] = {
      {"2.1.0.5", "2.1.0.5", true},  {"2.1.1.0", "2.1.0.5", false}, {"2.0.9.9", "2.1.0.5", true},
      {"2.1", "2.1.0.5", true},      {"3", "2.1.0.5", false},       {"2.1.0.5", "", true},
      {"10.0", "9.9", false},        {"2.x", "2.1", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.newest) + " vs " + c.installed);
    EXPECT_EQ(InstalledIsNotOlder(c.newest, c.installed), c.notOlder);
  }
}

TEST(StartupRules, DownloadDurationIsNeverNegative) {
  EXPECT_EQ(DownloadDuration(100, 130), 30);
  EXPECT_EQ(DownloadDuration(100, 100), 0);
  EXPECT_EQ(DownloadDuration(130, 100), 0);
}

TEST(StartupRules, InstallRootNeedsStrictlyMoreThanTheRequiredSpace) {
  const uint64_t need = 261485343;
  EXPECT_EQ(ChooseInstallRoot(L"C:\\Program Files", need + 1, L"D:\\", need * 4, need), L"C:\\Program Files");
  EXPECT_EQ(ChooseInstallRoot(L"C:\\Program Files", need, L"D:\\", need + 1, need), L"D:\\");
  EXPECT_EQ(ChooseInstallRoot(L"C:\\Program Files", need, L"D:\\", need, need), L"");
  EXPECT_EQ(ChooseInstallRoot(L"", 0, L"E:\\", need + 1, need), L"E:\\");
}

TEST(StartupRules, InstallPathUnderARoot) {
  EXPECT_EQ(InstallPathUnder(L"C:\\Program Files (x86)"), L"C:\\Program Files (x86)\\Orvane\\Tessaro");
  EXPECT_EQ(InstallPathUnder(L"D:\\"), L"D:\\Orvane\\Tessaro");
  EXPECT_EQ(InstallPathUnder(L"D:/"), L"D:/Orvane\\Tessaro");
}

}  // namespace
