// The whole downloader against nginx and the fault server: a verified
// package recorded in config.ini, resuming only what is missing, and faults
// that must never end in a package reported ready.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/install_settings.h"
#include "download/c_downloader.h"
#include "download_fakes.h"
#include "net/net_test_support.h"
#include "peer_support.h"
#include "support/temp_folder.h"
#include "sys/file_ops.h"

namespace {

constexpr DWORD DOWNLOAD_MS = 30000;

class DownloaderPeer : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryChain(folder / L"TESSARO");
    installSettings = std::make_unique<InstallSettings>(folder / L"TESSARO\\config.ini");
  }

  std::unique_ptr<CDownloader> MakeDownloader(int32_t maxRetries = 20) {
    DownloadEnvironment environment = TestEnvironment(folder.path(), &logger, &pkg, &app);
    environment.installSettings = installSettings.get();
    environment.maxRetries = maxRetries;
    return std::make_unique<CDownloader>(environment);
  }

  // Start, then Poll every 50 ms as the progress page does, until the state
  // is no longer running.
  static int32_t RunToEnd(CDownloader& downloader) {
    EXPECT_TRUE(downloader.Start());
    int32_t state = DownloadRunning;
    EXPECT_TRUE(WaitUntil([&] { return (state = downloader.Poll()) != DownloadRunning; }, DOWNLOAD_MS));
    return state;
  }

  size_t CountResults(const std::string& status) {
    size_t count = 0;
    for (FakeLogger::Event& event : logger.Events()) {
      count += event.name == "pSoftDownloadResult" && event.strings["soft_download_status"] == status ? 1 : 0;
    }
    return count;
  }

  TempFolder folder;
  FakeLogger logger;
  FakePkgInfo pkg;
  FakeAppInfo app;
  std::unique_ptr<InstallSettings> installSettings;
};

TEST_F(DownloaderPeer, DownloadsBothRangesVerifiesAndRecordsThePackage) {
  struct Case {
    const char* path;
    int64_t size;
  };
  for (const Case& c : {Case{"/pkg/setup.exe", 1001}, Case{"/pkg/one.bin", 1}}) {
    pkg.urls = {CdnUrl(c.path)};
    pkg.md5 = PackageMd5(c.size);
    auto downloader = MakeDownloader();
    ASSERT_EQ(RunToEnd(*downloader), DownloadReady) << c.path;
    const std::wstring path = downloader->GetFilePath();
    EXPECT_EQ(ReadWholeFile(path), PackageBytes(0, c.size)) << c.path;
    EXPECT_EQ(downloader->GetProgress(), 100);
    EXPECT_EQ(downloader->GetPackageUrl(), CdnUrl(c.path));
    EXPECT_EQ(installSettings->PackagePath(), path);
    EXPECT_EQ(installSettings->PackageMd5(), std::wstring(pkg.md5.begin(), pkg.md5.end()));
  }
  EXPECT_EQ(CountResults("下载成功"), 2u);
}

TEST_F(DownloaderPeer, PackageWithoutDigestIsAcceptedAndItsOwnDigestRecorded) {
  pkg.urls = {CdnUrl("/pkg/setup.exe")};
  auto downloader = MakeDownloader();
  ASSERT_EQ(RunToEnd(*downloader), DownloadReady);
  const std::string md5 = PackageMd5(1001);
  EXPECT_EQ(installSettings->PackageMd5(), std::wstring(md5.begin(), md5.end()));
  wchar_t written[64] = {};
  GetPrivateProfileStringW(L"General", L"md5", L"", written, 64, (folder / L"TESSARO\\config.ini").c_str());
  EXPECT_EQ(std::wstring(written), std::wstring(md5.begin(), md5.end()));
}

// The lower range breaks at byte 300 and its worker gives up; the upper one
// completes. The next Start continues at 300 and leaves the upper range alone.
TEST_F(DownloaderPeer, NextStartResumesOnlyTheIncompleteRange) {
  pkg.urls = {FaultUrl("size=2000,dropat=300,drops=1,key=d-resume")};
  pkg.md5 = PackageMd5(2000);
  auto downloader = MakeDownloader(1);
  ASSERT_EQ(RunToEnd(*downloader), DownloadFailed);
  auto segments = downloader->Segments();
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].next, 300);
  EXPECT_GT(segments[1].next, segments[1].last);
  EXPECT_EQ(downloader->GetProgress(), 65);

  ASSERT_EQ(RunToEnd(*downloader), DownloadReady);
  const std::vector<std::string> ranges = FaultRanges("d-resume");
  ASSERT_EQ(ranges.size(), 3u);
  EXPECT_EQ(ranges[2], "300-999");
  EXPECT_EQ(ReadWholeFile(downloader->GetFilePath()), PackageBytes(0, 2000));
  EXPECT_EQ(logger.CountOf("vSoftDownloadStart"), 2u);
}

// A 404 page taken for package data, or a package with one wrong byte: the
// digest check rejects it, the file is emptied at full size and every range
// starts over; nothing is recorded.
TEST_F(DownloaderPeer, DigestMismatchResetsTheFileAndTheRanges) {
  for (const char* options : {"getstatus=404,size=100,key=d-404", "corrupt=70,size=100,key=d-corrupt"}) {
    pkg.urls = {FaultUrl(options)};
    pkg.md5 = PackageMd5(100);
    auto downloader = MakeDownloader();
    ASSERT_EQ(RunToEnd(*downloader), DownloadFailed) << options;
    EXPECT_EQ(ReadWholeFile(downloader->GetFilePath()), std::string(100, '\0')) << options;
    const auto segments = downloader->Segments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].next, 0);
    EXPECT_EQ(segments[1].next, 50);
    EXPECT_EQ(downloader->GetProgress(), 0);
    EXPECT_EQ(installSettings->PackagePath(), L"");
  }
  EXPECT_EQ(CountResults("下载成功"), 0u);
}

// Without a digest to check, an error page must still never become the
// package: the workers refuse its body and the download fails.
TEST_F(DownloaderPeer, ErrorPageIsNeverPackageData) {
  pkg.urls = {FaultUrl("getstatus=404,size=100,key=d-404-nomd5")};
  pkg.md5 = "";
  auto downloader = MakeDownloader();
  EXPECT_EQ(RunToEnd(*downloader), DownloadFailed);
  EXPECT_EQ(ReadWholeFile(downloader->GetFilePath()), std::string(100, '\0'));
  EXPECT_EQ(installSettings->PackagePath(), L"");
}

TEST_F(DownloaderPeer, StopsPromptlyWhileItsWorkersWait) {
  pkg.urls = {FaultUrl("stallget,size=1001,key=d-stall")};
  auto downloader = MakeDownloader();
  ASSERT_TRUE(downloader->Start());
  ASSERT_TRUE(WaitUntil([] { return FaultRanges("d-stall").size() == 2; }, 10000));
  Sleep(200);
  EXPECT_EQ(downloader->Poll(), DownloadRunning);
  EXPECT_TRUE(DestroyWithin([&] { downloader.reset(); }, 1000));
}

}  // namespace
