// The two gateway queries against the gateway fixture, which
// gateway_query_test.py starts (and configures) around each case.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "api/pkg_info_impl.h"
#include "api/server_info_impl.h"
#include "app/global_settings.h"

namespace {

constexpr DWORD MUST_HAPPEN_MS = 20000;

class GlobalSettingsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    CreateGlobalSettings();
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
  }
  void TearDown() override { DeleteGlobalSettings(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GlobalSettingsEnvironment);

template <typename Info>
int32_t WaitForAnswer(Info& info) {
  for (DWORD waited = 0; info.GetStatus() == QueryPending && waited < MUST_HAPPEN_MS; waited += 20) Sleep(20);
  return info.GetStatus();
}

template <typename Object>
DWORD WINAPI DestroyObject(void* object) {
  delete static_cast<Object*>(object);
  return 0;
}

// Destroys the object on another thread; false when that did not finish in time.
template <typename Object>
bool DestroyWithin(std::unique_ptr<Object> object, DWORD ms) {
  HANDLE thread = CreateThread(nullptr, 0, DestroyObject<Object>, object.release(), 0, nullptr);
  const bool done = WaitForSingleObject(thread, ms) == WAIT_OBJECT_0;
  if (done) CloseHandle(thread);
  return done;
}

const std::string PATH = PackageQueryPath("1.0.0.1", false);

TEST(PkgQuery, FallbackAnswersInTheFirstPass) {
  CPkgInfo info(PATH, "127.0.0.1", "127.0.0.2");
  ASSERT_EQ(WaitForAnswer(info), QueryDone);
  ASSERT_NE(info.GetVersionCode(), nullptr);
  EXPECT_STREQ(info.GetVersionCode(), "2.1.0.5");
  EXPECT_EQ(info.GetUrlCount(), 1);
  EXPECT_EQ(info.GetUrl(1), nullptr);
  EXPECT_EQ(info.GetPackageSize(), 1234);
}

TEST(PkgQuery, InvalidEnvelopeFailsWithoutRetrying) {
  CPkgInfo info(PATH, "127.0.0.1", "127.0.0.2");
  EXPECT_EQ(WaitForAnswer(info), QueryFailed);
  EXPECT_EQ(info.GetVersionCode(), nullptr);
  EXPECT_EQ(info.GetInstallationSize(), DEFAULT_INSTALLATION_SIZE);
}

// The fixture holds the request without answering: destroying the query must
// not wait for the network.
TEST(PkgQuery, StopsPromptlyWhileTheGatewayStalls) {
  auto info = std::make_unique<CPkgInfo>(PATH, "127.0.0.1", "127.0.0.2");
  Sleep(1000);
  EXPECT_EQ(info->GetStatus(), QueryPending);
  EXPECT_TRUE(DestroyWithin(std::move(info), 5000));
}

TEST(ServerQuery, ReadsTheWelcomeInformation) {
  CServerInfo info("reveza00", "127.0.0.1");
  ASSERT_EQ(WaitForAnswer(info), QueryDone);
  EXPECT_STREQ(info.GetWelcomeUrl(), "http://127.0.0.1:18084/welcome");
  EXPECT_STREQ(info.GetAdvertisingAccountName(), "acc");
  EXPECT_TRUE(info.GetWantsReport());
}

TEST(ServerQuery, NoChannelMeansNoRequest) {
  CServerInfo info("", "127.0.0.1");
  EXPECT_EQ(WaitForAnswer(info), QueryDone);
  EXPECT_STREQ(info.GetWelcomeUrl(), "");
}

TEST(ServerQuery, UnreachableGatewayFails) {
  CServerInfo info("reveza00", "127.0.0.3");
  EXPECT_EQ(WaitForAnswer(info), QueryFailed);
}

}  // namespace
