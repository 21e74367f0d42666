// config.ini: what the first run writes, which package records survive, and
// that empty values never reach the file.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/install_settings.h"
#include "support/temp_folder.h"
#include "sys/md5_file.h"
#include "sys/text_convert.h"

namespace {

class InstallSettingsTest : public ::testing::Test {
 protected:
  std::wstring IniPath() const { return folder_ / L"TESSARO\\config.ini"; }
  std::string IniText() const { return ReadWholeFile(IniPath()); }
  std::wstring MakePackage(const std::string& bytes) {
    const std::wstring path = folder_ / L"setup.exe";
    EXPECT_TRUE(WriteWholeFile(path, bytes));
    return path;
  }
  std::wstring DigestOf(const std::wstring& path) { return Utf8ToWide(Md5HexOfFile(path)); }

  TempFolder folder_;
};

TEST_F(InstallSettingsTest, FirstRunCreatesFileWithEmptyRecordThenStartKeys) {
  InstallSettings settings(IniPath());
  settings.SetBeginTimestamp(L"1700000000");
  settings.SetLaunchAppName(L"C:\\Browser\\browser.exe");
  EXPECT_EQ(IniText(),
            "[General]\r\nmd5=\r\npath=\r\nbegin_timestamp=1700000000\r\n"
            "launch_appname=C:\\Browser\\browser.exe\r\n");
}

TEST_F(InstallSettingsTest, EmptyValuesAreNotWrittenButInstallAndIsSemAlwaysAre) {
  InstallSettings settings(IniPath());
  settings.SetAppVersion(L"");
  settings.SetSessionId(L"");
  settings.SetInstall();
  settings.SetIsSem(false);
  settings.SetAppVersion(L"2.1.0.5");
  EXPECT_EQ(IniText(), "[General]\r\nmd5=\r\npath=\r\ninstall=1\r\nis_sem=0\r\napp_version=2.1.0.5\r\n");
}

TEST_F(InstallSettingsTest, MatchingRecordIsKeptAcrossRuns) {
  const std::wstring package = MakePackage("setup program");
  {
    InstallSettings first(IniPath());
    EXPECT_TRUE(first.RecordPackage(DigestOf(package), package, RecordUpdate::WriteFile));
  }
  InstallSettings second(IniPath());
  EXPECT_EQ(second.PackageMd5(), DigestOf(package));
  EXPECT_EQ(second.PackagePath(), package);
}

// Records that no longer verify are dropped in memory; the file keeps them.
TEST_F(InstallSettingsTest, StaleRecordsAreDroppedInMemoryOnly) {
  const std::wstring package = MakePackage("setup program");
  std::wstring upper = DigestOf(package);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  const struct {
    const char* name;
    std::wstring md5;
    std::wstring path;
  } cases[] = {
      {"upper-case digest", upper, package},
      {"missing file", DigestOf(package), folder_ / L"gone.exe"},
      {"other content", L"00000000000000000000000000000000", package},
  };
  CreateDirectoryW((folder_ / L"TESSARO").c_str(), nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = "[General]\r\nmd5=" + WideToUtf8(c.md5) + "\r\npath=" + WideToUtf8(c.path) + "\r\n";
    ASSERT_TRUE(WriteWholeFile(IniPath(), text));
    InstallSettings settings(IniPath());
    EXPECT_TRUE(settings.PackageMd5().empty());
    EXPECT_TRUE(settings.PackagePath().empty());
    EXPECT_EQ(IniText(), text);
  }
}

TEST_F(InstallSettingsTest, RejectedRecordClearsAStoredOne) {
  const std::wstring package = MakePackage("setup program");
  InstallSettings settings(IniPath());
  ASSERT_TRUE(settings.RecordPackage(DigestOf(package), package, RecordUpdate::WriteFile));
  EXPECT_FALSE(settings.RecordPackage(L"ffffffffffffffffffffffffffffffff", package, RecordUpdate::WriteFile));
  EXPECT_TRUE(settings.PackageMd5().empty());
  EXPECT_EQ(IniText(), "[General]\r\nmd5=\r\npath=\r\n");
  EXPECT_FALSE(settings.RecordPackage(L"", package, RecordUpdate::WriteFile));
}

}  // namespace
