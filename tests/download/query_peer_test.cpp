// The URL information query against nginx and the fault server: redirects,
// failures, names and sizes, the fallback address, and a prompt stop.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/global_settings.h"
#include "download/url_info_query.h"
#include "download_fakes.h"
#include "net/net_test_support.h"
#include "peer_support.h"
#include "support/temp_folder.h"

namespace {

class SettingsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CreateGlobalSettings(); }
  void TearDown() override { DeleteGlobalSettings(); }
};
const auto* const settings = ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);

constexpr DWORD QUERY_MS = 30000;

class QueryPeer : public ::testing::Test {
 protected:
  // Runs a query over the package information's addresses to its end.
  UrlInfo Query(const std::vector<std::string>& urls, const std::string& version = "") {
    pkg.urls = urls;
    pkg.versionCode = version;
    query = std::make_unique<QueryUrlInfoThread>("", sink, Environment());
    EXPECT_TRUE(WaitUntil([&] { return query->IsFinished(); }, QUERY_MS));
    EXPECT_TRUE(sink.Called());
    return sink.Info();
  }

  DownloadEnvironment Environment() {
    DownloadEnvironment environment = TestEnvironment(folder.path(), &logger, &pkg, &app);
    environment.fallbackUrl = fallback;
    return environment;
  }

  std::vector<std::string> ErrorStatuses() {
    std::vector<std::string> statuses;
    for (FakeLogger::Event& event : logger.Events()) {
      if (event.name == "vSoftDownloadError") statuses.push_back(event.strings["error_status"]);
    }
    return statuses;
  }

  TempFolder folder;
  FakeLogger logger;
  FakePkgInfo pkg;
  FakeAppInfo app;
  UrlInfoRecorder sink;
  std::string fallback = FixedFallbackUrl();
  std::unique_ptr<QueryUrlInfoThread> query;
};

TEST_F(QueryPeer, FollowsTheCdnRedirectToTheMirror) {
  const UrlInfo info = Query({CdnUrl("/redirect/pkg/setup.exe")}, "1.2.3");
  ASSERT_EQ(info.urls.size(), 1u);
  EXPECT_EQ(info.urls[0], MirrorUrl("/pkg/setup.exe"));
  EXPECT_EQ(info.size, 1001);
  // nginx names no file: the name is made up from the installer's own.
  EXPECT_EQ(info.fileName, L"Tessaro_setup_install_v1.2.3.exe");
  EXPECT_EQ(query->FallbackAddress(), "");
  EXPECT_TRUE(ErrorStatuses().empty());
}

TEST_F(QueryPeer, RelativeRedirectStaysOnTheHostAndPortOfTheQuery) {
  const UrlInfo info = Query({FaultUrl("relative,size=1001,key=q-relative")});
  ASSERT_EQ(info.urls.size(), 1u);
  EXPECT_EQ(info.urls[0], FaultUrl("size=1001,key=q-relative"));
  EXPECT_EQ(info.size, 1001);
}

TEST_F(QueryPeer, NotFoundEndsTheQueryWithoutTryingFurther) {
  const UrlInfo info = Query({FaultUrl("status=404,key=q-404"), CdnUrl("/pkg/setup.exe")});
  EXPECT_TRUE(info.urls.empty());
  EXPECT_EQ(info.size, 0);
  EXPECT_EQ(ErrorStatuses(), std::vector<std::string>{"获取头信息失败"});
  EXPECT_EQ(query->FallbackAddress(), "");
}

TEST_F(QueryPeer, TakesTheOfferedNameOnlyWhenItIsAPlainName) {
  EXPECT_EQ(Query({FaultUrl("name=My%20Setup.exe,key=q-name")}).fileName, L"My Setup.exe");
  EXPECT_EQ(Query({FaultUrl("name=..%5C..%5CStartup%5Cevil.exe,key=q-evil")}, "2.0").fileName,
            L"Tessaro_setup_install_v2.0.exe");
}

TEST_F(QueryPeer, AddressWithoutLengthIsSkippedAndItsNameDropped) {
  const UrlInfo info = Query({FaultUrl("nolength,name=First.exe,key=q-nolength"),
                              FaultUrl("name=Second.exe,size=777,key=q-second")});
  ASSERT_EQ(info.urls.size(), 1u);
  EXPECT_EQ(info.urls[0], FaultUrl("name=Second.exe,size=777,key=q-second"));
  EXPECT_EQ(info.fileName, L"Second.exe");
  EXPECT_EQ(info.size, 777);
}

// The fixed fallback address is the real one, served by nginx at the
// deployment's CDN host and port.
TEST_F(QueryPeer, FallsBackWhenNoPackageAddressAnswers) {
  const UrlInfo info = Query({FaultUrl("nolength,key=q-fallback")});
  EXPECT_EQ(query->FallbackAddress(), FixedFallbackUrl());
  ASSERT_EQ(info.urls.size(), 1u);
  EXPECT_EQ(info.urls[0], FixedFallbackUrl());
  EXPECT_EQ(info.size, 2048);
}

TEST_F(QueryPeer, UnknownHostEndsTheQueryWithoutFallback) {
  const UrlInfo info = Query({"http://no-such-host.invalid/pkg/setup.exe"});
  EXPECT_TRUE(info.urls.empty());
  EXPECT_EQ(query->FallbackAddress(), "");
}

TEST_F(QueryPeer, RedirectLoopEndsAfterABoundedChain) {
  const UrlInfo info = Query({FaultUrl("loop,key=q-loop")});
  EXPECT_TRUE(info.urls.empty());
  EXPECT_EQ(FaultLog("q-loop")["requests"].size(), static_cast<unsigned>(MAX_REDIRECTS + 1));
  EXPECT_EQ(ErrorStatuses(), std::vector<std::string>{"获取头信息失败"});
}

TEST_F(QueryPeer, ServerThatNeverRepliesCostsTenAttempts) {
  const UrlInfo info = Query({FaultUrl("close,key=q-close")});
  EXPECT_TRUE(info.urls.empty());
  EXPECT_EQ(FaultLog("q-close")["requests"].size(), 10u);
  EXPECT_EQ(ErrorStatuses(), (std::vector<std::string>{"重试次数过多", "获取头信息失败"}));
}

TEST_F(QueryPeer, StopsPromptlyDuringAStalledRequest) {
  pkg.urls = {FaultUrl("stall,key=q-stall")};
  query = std::make_unique<QueryUrlInfoThread>("", sink, Environment());
  ASSERT_TRUE(WaitUntil([] { return FaultLog("q-stall")["requests"].size() == 1; }, 5000));
  Sleep(200);
  EXPECT_TRUE(DestroyWithin([&] { query.reset(); }, 1000));
  EXPECT_TRUE(sink.Called());
}

}  // namespace
