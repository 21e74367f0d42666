// The progress page's rules: the silent setup command line, the percentage
// over download and install, and the error texts of a failed install.
#include <gtest/gtest.h>

#include <string>

#include "pages/install_progress.h"

namespace {

TEST(SetupCommandLineTest, SwitchesInOrderWithTheFoldersQuoted) {
  EXPECT_EQ(BuildSetupCommandLine(LR"(C:\cache\TessaroPackage-2.1.0.5.exe)", JoinPlan::Accepted,
                                  LR"(C:\Program Files\Tessaro)"),
            LR"("C:\cache\TessaroPackage-2.1.0.5.exe" /SILENT /VERYSILENT /SP- /noicons -nowelcome /DIR="C:\Program Files\Tessaro")");
  EXPECT_EQ(BuildSetupCommandLine(LR"(C:\缓存 目录\p.exe)", JoinPlan::Declined, LR"(D:\软件\Tessaro)"),
            LR"("C:\缓存 目录\p.exe" /SILENT /VERYSILENT /SP- /noicons -noexperience -nowelcome /DIR="D:\软件\Tessaro")");
}

TEST(ProgressPercentTest, DownloadThenInstallThenDone) {
  const struct {
    InstallPhase phase;
    int32_t download;
    uint32_t elapsedMs;
    uint32_t percent;
  } cases[] = {
      {InstallPhase::Downloading, 0, 0, 0},
      {InstallPhase::Downloading, 50, 0, 40},
      {InstallPhase::Downloading, 99, 0, 79},
      {InstallPhase::Downloading, 100, 0, 80},
      {InstallPhase::Installing, 100, 0, 80},
      {InstallPhase::Installing, 0, 999, 80},
      {InstallPhase::Installing, 0, 5000, 85},
      {InstallPhase::Installing, 0, 19999, 99},
      {InstallPhase::Installing, 0, 600000, 99},
      // timeGetTime wrapped between start and now: still capped.
      {InstallPhase::Installing, 0, 0xFFFFFF00u, 99},
      {InstallPhase::Done, 0, 0, 100},
      {InstallPhase::Idle, 70, 5000, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressPercent(c.phase, c.download, c.elapsedMs), c.percent)
        << static_cast<int>(c.phase) << " " << c.download << " " << c.elapsedMs;
  }
  EXPECT_EQ(ProgressStatusText(85), L"正在安装，请不要关闭：85%");
}

TEST(InstallErrorStatusTest, ExitCodesUnsignedStartErrorsMarked) {
  EXPECT_EQ(InstallErrorStatus(2), "2");
  EXPECT_EQ(InstallErrorStatus(0xC0000005u), "3221225477");
  EXPECT_EQ(InstallErrorStatus(0xFFFFFFFFu), "4294967295");
  EXPECT_EQ(StartErrorStatus(193), "start failed: 193");
}

}  // namespace
