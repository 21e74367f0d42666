// The downloader's own decisions, without a package server: where the
// package goes, how it is split, when a package of an earlier run is reused,
// and how the URL query waits for the package information.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/global_settings.h"
#include "app/install_settings.h"
#include "download/c_downloader.h"
#include "download/url_info_query.h"
#include "download_fakes.h"
#include "net/net_test_support.h"
#include "support/temp_folder.h"
#include "sys/file_ops.h"
#include "sys/md5.h"

namespace {

class SettingsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CreateGlobalSettings(); }
  void TearDown() override { DeleteGlobalSettings(); }
};
const auto* const settings = ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);

std::string ClosedUrl() { return "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/pkg/setup.exe"; }

UrlInfo InfoOfSize(int64_t size, const std::wstring& fileName = L"server.exe") {
  UrlInfo info;
  info.size = size;
  info.fileName = fileName;
  info.urls = {ClosedUrl()};
  return info;
}

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateDirectoryChain(folder / L"old"); }

  // config.ini recording `path` with its digest, as an earlier run leaves it.
  void RecordEarlierPackage(const std::string& content, const std::wstring& version) {
    recorded = folder / L"old\\setup.exe";
    ASSERT_TRUE(WriteWholeFile(recorded, content));
    const std::wstring config = folder / L"TESSARO\\config.ini";
    CreateDirectoryChain(folder / L"TESSARO");
    const std::string md5 = Md5HexOfData(content.data(), static_cast<int64_t>(content.size()));
    WritePrivateProfileStringW(L"General", L"md5", std::wstring(md5.begin(), md5.end()).c_str(), config.c_str());
    WritePrivateProfileStringW(L"General", L"path", recorded.c_str(), config.c_str());
    installSettings = std::make_unique<InstallSettings>(config);
    ASSERT_EQ(installSettings->PackagePath(), recorded);
    app.versions[recorded] = version;
  }

  std::unique_ptr<CDownloader> MakeDownloader() {
    DownloadEnvironment environment = TestEnvironment(folder.path(), &logger, &pkg, &app);
    environment.installSettings = installSettings.get();
    return std::make_unique<CDownloader>(environment);
  }

  bool SentLocalFileResult() {
    for (FakeLogger::Event& event : logger.Events()) {
      if (event.name == "pSoftDownloadResult" && event.strings["soft_download_status"] == "存在本地文件" &&
          event.ints["download_time"] == -1) {
        return true;
      }
    }
    return false;
  }

  TempFolder folder;
  FakeLogger logger;
  FakePkgInfo pkg;
  FakeAppInfo app;
  std::unique_ptr<InstallSettings> installSettings;
  std::wstring recorded;
};

TEST_F(DownloaderTest, CreatesTheTargetAtFullSizeAndSplitsIt) {
  auto downloader = MakeDownloader();
  downloader->OnUrlInfo(InfoOfSize(1001));
  EXPECT_EQ(downloader->GetFilePath(), folder / L"TESSARO\\server.exe");
  EXPECT_EQ(FileSize(downloader->GetFilePath()), 1001);
  const auto segments = downloader->Segments();
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].next, 0);
  EXPECT_EQ(segments[0].last, 499);
  EXPECT_EQ(segments[1].next, 500);
  EXPECT_EQ(segments[1].last, 1000);
  EXPECT_TRUE(segments[0].hasWorker && segments[1].hasWorker);
}

TEST_F(DownloaderTest, OneBytePackageLeavesTheEmptyRangeWithoutWorker) {
  auto downloader = MakeDownloader();
  downloader->OnUrlInfo(InfoOfSize(1));
  const auto segments = downloader->Segments();
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_GT(segments[0].next, segments[0].last);
  EXPECT_FALSE(segments[0].hasWorker);
  EXPECT_EQ(segments[1].next, 0);
  EXPECT_EQ(segments[1].last, 0);
  EXPECT_TRUE(segments[1].hasWorker);
}

TEST_F(DownloaderTest, PackageNameFollowsTheChannelBuildOrTheServer) {
  struct Case {
    std::wstring ownVersion;
    std::wstring offered;
    std::wstring stored;
  };
  const Case cases[] = {
      {L"1.97.0.3", L"server.exe", L"install_ruva3600.exe"},
      {L"1.99.2.0", L"", L"install_reveza00.exe"},
      {L"1.2.3", L"server.exe", L"server.exe"},
      {L"1.2.3.4", L"", L"Tessaro_setup.exe"},
      // A name that would leave the cache folder is never used as a path.
      {L"1.2.3.4", L"..\\..\\evil.exe", L"Tessaro_setup.exe"},
  };
  for (const Case& c : cases) {
    app.versions[L""] = c.ownVersion;
    auto downloader = MakeDownloader();
    downloader->OnUrlInfo(InfoOfSize(10, c.offered));
    EXPECT_EQ(downloader->GetFilePath(), folder / (L"TESSARO\\" + c.stored))
        << std::string(c.stored.begin(), c.stored.end());
  }
}

TEST_F(DownloaderTest, ReusesARecordedPackageThatIsNotOlder) {
  struct Case {
    std::wstring recordedVersion;
    std::string serverVersion;
    bool reused;
  };
  const Case cases[] = {
      {L"2.1.0.5", "2.1.0.5", true},
      {L"2.0", "1.9", true},
      {L"1.9", "2.0", false},
      {L"2.0.0", "2.0", false},
  };
  for (const Case& c : cases) {
    RecordEarlierPackage("earlier package", c.recordedVersion);
    pkg.versionCode = c.serverVersion;
    auto downloader = MakeDownloader();
    downloader->OnUrlInfo(InfoOfSize(1001));
    const std::string label = c.serverVersion;
    if (c.reused) {
      EXPECT_EQ(downloader->State(), DownloadReady) << label;
      EXPECT_EQ(downloader->GetFilePath(), recorded) << label;
      EXPECT_TRUE(downloader->Segments().empty()) << label;
      EXPECT_TRUE(SentLocalFileResult()) << label;
    } else {
      EXPECT_NE(downloader->State(), DownloadReady) << label;
      EXPECT_EQ(downloader->Segments().size(), 2u) << label;
      EXPECT_NE(downloader->GetFilePath(), recorded) << label;
    }
  }
}

// config.ini lies in the user's profile and the package is later run
// elevated: the recorded file must have the digest the gateway gives now.
TEST_F(DownloaderTest, RecordedPackageMustMatchTheGatewaysDigest) {
  RecordEarlierPackage("earlier package", L"3.0.0.0");
  pkg.versionCode = "2.0.0.0";
  pkg.md5 = PackageMd5(1001);
  auto stranger = MakeDownloader();
  stranger->OnUrlInfo(InfoOfSize(1001));
  EXPECT_NE(stranger->State(), DownloadReady);
  EXPECT_NE(stranger->GetFilePath(), recorded);

  pkg.md5 = Md5HexOfData("earlier package", 15);
  auto matching = MakeDownloader();
  matching->OnUrlInfo(InfoOfSize(1001));
  EXPECT_EQ(matching->State(), DownloadReady);
}

TEST_F(DownloaderTest, RecordedPackageChangedSinceStartupIsNotReused) {
  RecordEarlierPackage("earlier package", L"3.0.0.0");
  pkg.versionCode = "2.0.0.0";
  ASSERT_TRUE(WriteWholeFile(recorded, "replaced package"));
  auto downloader = MakeDownloader();
  downloader->OnUrlInfo(InfoOfSize(1001));
  EXPECT_NE(downloader->State(), DownloadReady);
}

TEST_F(DownloaderTest, UnusableUrlInformationFallsBackToTheRecordedPackage) {
  RecordEarlierPackage("earlier package", L"2.0.0.0");
  app.appPath = L"C:\\Program Files\\Tessaro\\Tessaro.exe";
  app.appVersion = L"1.5.0.0";
  auto downloader = MakeDownloader();
  downloader->OnUrlInfo(InfoOfSize(0));
  EXPECT_EQ(logger.CountOf("vSoftDownloadError"), 1u);
  EXPECT_EQ(logger.Events().front().strings["error_status"], "参数错误");
  EXPECT_EQ(downloader->State(), DownloadReady);
  EXPECT_EQ(downloader->GetFilePath(), recorded);

  app.appVersion = L"2.5.0.0";  // the installed product is newer than the recorded package
  auto older = MakeDownloader();
  older->OnUrlInfo(UrlInfo());
  EXPECT_NE(older->State(), DownloadReady);
}

// No package information and a fallback address that refuses: the query
// hands over nothing, no package was recorded, and Poll reports the failure.
TEST_F(DownloaderTest, FailsWhenTheQueryFindsNothing) {
  pkg.status = QueryFailed;
  auto downloader = MakeDownloader();
  ASSERT_TRUE(downloader->Start());
  EXPECT_EQ(logger.CountOf("vSoftDownloadStart"), 1u);
  ASSERT_TRUE(WaitUntil([&] { return downloader->Poll() != DownloadRunning; }, 20000));
  EXPECT_EQ(downloader->State(), DownloadFailed);
  EXPECT_EQ(downloader->GetPackageUrl(), "http://127.0.0.1:1/fallback/install.exe");
  EXPECT_EQ(downloader->GetProgress(), 0);
}

class UrlQueryWaitTest : public ::testing::Test {
 protected:
  DownloadEnvironment Environment() { return TestEnvironment(folder.path(), &logger, &pkg, &app); }
  TempFolder folder;
  FakeLogger logger;
  FakePkgInfo pkg;
  FakeAppInfo app;
  UrlInfoRecorder sink;
};

TEST_F(UrlQueryWaitTest, UnreachableNetworkEndsTheWaitWithoutFallback) {
  pkg.status = QueryPending;
  DownloadEnvironment environment = Environment();
  environment.probes = {{"127.0.0.1", ClosedPort()}, {"127.0.0.1", ClosedPort()}};
  QueryUrlInfoThread query("", sink, environment);
  ASSERT_TRUE(WaitUntil([&] { return query.IsFinished(); }, 10000));
  EXPECT_TRUE(sink.Called());
  EXPECT_TRUE(sink.Info().urls.empty());
  EXPECT_EQ(query.FallbackAddress(), "");
  ASSERT_EQ(logger.CountOf("vSoftDownloadError"), 1u);
  EXPECT_EQ(logger.Events()[0].strings["error_type"], "获取下载信息线程出错");
  EXPECT_EQ(logger.Events()[0].strings["error_status"], "网络失败");
}

TEST_F(UrlQueryWaitTest, WaitsForThePackageInformationWhileTheNetworkAnswers) {
  LoopbackListener probe;
  pkg.status = QueryPending;
  DownloadEnvironment environment = Environment();
  environment.probes = {{"127.0.0.1", ClosedPort()}, {"127.0.0.1", probe.Port()}};
  QueryUrlInfoThread query("", sink, environment);
  Sleep(1000);
  EXPECT_FALSE(query.IsFinished());
  // Information without addresses: the query falls back to the fixed address.
  pkg.status = QueryDone;
  ASSERT_TRUE(WaitUntil([&] { return query.IsFinished(); }, 15000));
  EXPECT_EQ(query.FallbackAddress(), "http://127.0.0.1:1/fallback/install.exe");
  // Ten HEAD attempts without a reply end the query with no header lines.
  ASSERT_EQ(logger.CountOf("vSoftDownloadError"), 2u);
  EXPECT_EQ(logger.Events()[0].strings["error_status"], "重试次数过多");
  EXPECT_EQ(logger.Events()[1].strings["error_status"], "获取头信息失败");
}

TEST_F(UrlQueryWaitTest, StopsPromptlyWhileWaiting) {
  LoopbackListener probe;
  pkg.status = QueryPending;
  DownloadEnvironment environment = Environment();
  environment.probes = {{"127.0.0.1", probe.Port()}};
  auto query = std::make_unique<QueryUrlInfoThread>("", sink, environment);
  Sleep(300);
  EXPECT_TRUE(DestroyWithin([&] { query.reset(); }, 1000));
  EXPECT_TRUE(sink.Called());
}

}  // namespace
