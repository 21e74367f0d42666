// The install report against the report service at the deployment's report
// host: the form it posts, when it posts nothing, how it reads the answer,
// and a prompt stop.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "api/gateway.h"
#include "app/global_settings.h"
#include "deployment.h"
#include "download_fakes.h"
#include "net/net_test_support.h"
#include "peer_support.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "sys/machine_identity.h"
#include "sys/md5.h"
#include "telemetry/report/install_report.h"

namespace {

constexpr DWORD REPORT_MS = 30000;
constexpr char FAKE_UID[] = "0123456789abcdef0123456789abcdef";

class ReportPeer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(PeerGet(ReportServicePort(), "/reset"), "ok");
    SetGlobalChannel("reveza00");
    server.appName = "Tessaro";
    app.versions[L""] = L"1.97.0.3";
  }
  void TearDown() override { SetGlobalChannel(""); }

  void PlaceNquid() {
    ASSERT_TRUE(CopyFileW(BesideTestProgram(L"fake_nquid.dll").c_str(), (folder / L"NQUID.dll").c_str(), FALSE));
  }

  void SetMode(const std::string& mode) { ASSERT_EQ(PeerGet(ReportServicePort(), "/control/" + mode), "ok"); }

  ReportEnvironment Environment() {
    ReportEnvironment environment;
    environment.sdkFolder = folder.path();
    environment.serverInfo = &server;
    environment.logger = &logger;
    environment.appInfo = &app;
    environment.host = deployment::REPORT_HOST;
    environment.port = deployment::REPORT_PORT;
    return environment;
  }

  // Runs a report to its end; the thread's exit code.
  DWORD Report() {
    CNQReportThread report(nullptr, Environment());
    EXPECT_EQ(WaitForSingleObject(report.ThreadHandle(), REPORT_MS), WAIT_OBJECT_0);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeThread(report.ThreadHandle(), &code);
    return code;
  }

  Json::Value Reports() { return ParseReply(PeerGet(ReportServicePort(), "/log")); }

  TempFolder folder;
  FakeLogger logger;
  FakeServerInfo server;
  FakeAppInfo app;
};

TEST_F(ReportPeer, PostsTheFormAndTakesAnyJsonAnswer) {
  PlaceNquid();
  for (const char* mode : {"json", "code"}) {
    SetMode(mode);
    EXPECT_EQ(Report(), 0u) << mode;
  }
  const Json::Value reports = Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0]["target"].asString(), "/v1/install/nequil");
  EXPECT_NE(reports[0]["content_type"].asString().find("multipart/form-data"), std::string::npos);
  const Json::Value& fields = reports[0]["fields"];
  EXPECT_EQ(fields.size(), 7u);
  EXPECT_EQ(fields["uid"].asString(), FAKE_UID);
  EXPECT_EQ(fields["product_name"].asString(), "Tessaro");
  EXPECT_EQ(fields["app_id"].asString(), "52718340");
  EXPECT_EQ(fields["app_version"].asString(), "1.97.0.3");
  EXPECT_EQ(fields["url_channel"].asString(), "reveza00");
  EXPECT_EQ(fields["mid"].asString(), "");
  const std::string identity = GetMachineIdentity();
  EXPECT_EQ(fields["cam"].asString(), Md5HexOfData(identity.data(), static_cast<int64_t>(identity.size())));
}

TEST_F(ReportPeer, NothingIsSentWithoutUserIdOrProductName) {
  EXPECT_EQ(Report(), 1u);  // no NQUID.dll
  PlaceNquid();
  server.appName.clear();
  EXPECT_EQ(Report(), 1u);
  EXPECT_EQ(Reports().size(), 0u);
}

TEST_F(ReportPeer, AnswerThatIsNotJsonFailsWithoutRetrying) {
  PlaceNquid();
  SetMode("text");
  EXPECT_EQ(Report(), 1u);
  EXPECT_EQ(Reports().size(), 1u);
}

TEST_F(ReportPeer, ThreeAttemptsWithoutAnswerFail) {
  PlaceNquid();
  SetMode("close");
  EXPECT_EQ(Report(), 1u);
  EXPECT_EQ(Reports().size(), 3u);
}

TEST_F(ReportPeer, StopsPromptlyWhileTheServiceStalls) {
  PlaceNquid();
  SetMode("stall");
  auto report = std::make_unique<CNQReportThread>(nullptr, Environment());
  ASSERT_TRUE(WaitUntil([&] { return Reports().size() == 1; }, 10000));
  Sleep(200);
  EXPECT_TRUE(DestroyWithin([&] { report.reset(); }, 1000));
}

}  // namespace
