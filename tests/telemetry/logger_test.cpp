// The event logger over a recording stand-in of the SDK: the initialisation
// sequence, what each slot sends, and how a missing or failing SDK degrades.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "telemetry/c_logger_server.h"

namespace {

// A folder holding one build of the stand-in SDK as Vexa.dll, with the
// launcher beside it when asked.
class SdkFolder {
 public:
  SdkFolder(const wchar_t* fakeVexa, bool withLauncher) {
    EXPECT_TRUE(CopyFileW(BesideTestProgram(fakeVexa).c_str(), (folder_ / L"Vexa.dll").c_str(), FALSE));
    if (withLauncher) {
      EXPECT_TRUE(CopyFileW(BesideTestProgram(L"fake_ostrel.dll").c_str(), (folder_ / L"Ostrel.dll").c_str(), FALSE));
    }
  }
  ~SdkFolder() {
    // The logger keeps its libraries for the life of the process; let them go
    // so the folder can be removed.
    for (const wchar_t* dll : {L"Vexa.dll", L"Ostrel.dll"}) {
      if (HMODULE module = GetModuleHandleW((folder_ / dll).c_str())) FreeLibrary(module);
    }
  }
  const std::wstring& path() const { return folder_.path(); }

  // The calls the stand-in recorded so far.
  std::string Log() const {
    HMODULE module = GetModuleHandleW((folder_ / L"Vexa.dll").c_str());
    if (!module) return "(not loaded)";
    using LogFn = const char*(VEXA_CALL*)();
    auto log = reinterpret_cast<LogFn>(reinterpret_cast<void*>(GetProcAddress(module, "fakeVexaLog")));
    return log ? log() : "(no log)";
  }

 private:
  TempFolder folder_;
};

std::string After(const std::string& log, const std::string& marker) {
  const size_t at = log.find(marker);
  return at == std::string::npos ? std::string() : log.substr(at);
}

TEST(EventLogger, InitialisesTheSdkInOrder) {
  SdkFolder sdk(L"fake_vexa.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  EXPECT_EQ(sdk.Log(),
            "create\n"
            "applykey 52718340 D3E07A19C4F2B8605E1D97A3C0B4F728\n"
            "appinfo win_installer\n"
            "host localhost:18082\n"
            "sensor /sa?project=production\n"
            "midversion 1\n"
            "pubkey 392\n"
            "prikey 1588\n"
            "crashreport set\n");
}

TEST(EventLogger, EventsCarryFirstValuesInKeyOrderAndConsecutiveNumbers) {
  SdkFolder sdk(L"fake_vexa.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  const std::string start = sdk.Log();

  logger->ClearProperties();
  logger->SetStringProperty("event_name", "a");
  logger->SetStringProperty("event_name", "b");
  logger->SetIntProperty("download_time", 7);
  logger->SetBoolProperty("is_first_install", true);
  logger->SetStringProperty("aaa", "first");
  ASSERT_TRUE(logger->SendEvent("vFirst"));
  ASSERT_TRUE(logger->SendEvent("vSecond"));

  const std::string sent = sdk.Log().substr(start.size());
  int first = 0, second = 0;
  ASSERT_EQ(sscanf(sent.c_str(), "record 6\nevent vFirst %d", &first), 1) << sent;
  ASSERT_EQ(sscanf(After(sent, "event vSecond").c_str(), "event vSecond %d", &second), 1) << sent;
  EXPECT_EQ(second - first, first % 100 == 99 ? -99 : 1);
  EXPECT_NE(sent.find("event vFirst " + std::to_string(first) +
                      "\nint download_time=7\nbool is_first_install=1\nstring aaa=first\n"
                      "string event_name=a\ncommit\nrelease\n"),
            std::string::npos)
      << sent;
}

TEST(EventLogger, RecordsWriteIntegerThenNonEmptyTextsThenExistingFiles) {
  SdkFolder sdk(L"fake_vexa.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  TempFolder files;
  const std::wstring present = files / L"dump.dmp";
  ASSERT_TRUE(WriteWholeFile(present, "x"));
  const std::string presentAnsi(present.begin(), present.end());
  const std::string start = sdk.Log();

  ASSERT_TRUE(logger->ReportBasic(1, "", "two", ""));
  ASSERT_TRUE(logger->ReportAction("0001", "0002", ""));
  ASSERT_TRUE(logger->ReportRunState(4, "0001", "", "pkg", "", {presentAnsi, "", "C:\\missing.dmp"}));
  EXPECT_EQ(sdk.Log().substr(start.size()),
            "record 1\nfield 1=1\nfield 3=two\ncommit\nrelease\n"
            "record 2\nfield 10=0001\nfield 11=0002\ncommit\nrelease\n"
            "record 4\nfield 50=4\nfield 51=0001\nfield 53=pkg\nfield 55=" + presentAnsi +
                "\ncommit\nrelease\n");
}

TEST(EventLogger, AfterReleaseHandleNothingIsSentButUtilitiesWork) {
  SdkFolder sdk(L"fake_vexa.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  EXPECT_TRUE(logger->ReleaseHandle());
  const std::string released = sdk.Log();
  EXPECT_NE(released.find("free\n"), std::string::npos);

  logger->ClearProperties();
  EXPECT_FALSE(logger->SendEvent("vSoftQuit"));
  EXPECT_FALSE(logger->ReportBasic(1, "", "", ""));
  EXPECT_EQ(sdk.Log(), released);
  EXPECT_EQ(logger->GetMachineId(), "fake-machine-id");
  EXPECT_TRUE(logger->OpenUrl("http://127.0.0.1/x"));
  EXPECT_EQ(logger->RunAsDesktopUser("open", "C:\\a.exe", 0, 0, 0), 42);
  EXPECT_FALSE(logger->EnsureHandle());
}

TEST(EventLogger, OptionalExportMissingStillInitialises) {
  SdkFolder sdk(L"fake_vexa_no_net_protocol.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  logger->ClearProperties();
  EXPECT_TRUE(logger->SendEvent("vSoftQuit"));
}

TEST(EventLogger, MissingReportExportSendsNothingButKeepsUtilities) {
  SdkFolder sdk(L"fake_vexa_no_commit.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  const std::string start = sdk.Log();
  EXPECT_FALSE(logger->SendEvent("vSoftQuit"));
  EXPECT_EQ(sdk.Log(), start);
  EXPECT_EQ(logger->GetMachineId(), "fake-machine-id");
}

TEST(EventLogger, FailingInitialisationLeavesAQuietLogger) {
  SetEnvironmentVariableW(L"FAKE_VEXA_APPINFO_RESULT", L"1");
  SdkFolder sdk(L"fake_vexa.dll", true);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  SetEnvironmentVariableW(L"FAKE_VEXA_APPINFO_RESULT", nullptr);
  const std::string start = sdk.Log();
  EXPECT_EQ(start.find("host"), std::string::npos) << "initialisation went on after a failure";
  EXPECT_FALSE(logger->SendEvent("pSoftInstall"));
  EXPECT_EQ(logger->GetMachineId(), "");
  EXPECT_FALSE(logger->OpenUrl("http://127.0.0.1/x"));
  EXPECT_EQ(logger->RunAsDesktopUser("open", "C:\\a.exe", 0, 0, 0), 0);
  EXPECT_EQ(sdk.Log(), start);
}

TEST(EventLogger, NoSdkAtAllAnswersEverythingEmpty) {
  TempFolder empty;
  auto logger = CLoggerServer::CreateFromFolder(empty.path());
  logger->ClearProperties();
  logger->SetStringProperty("event_name", "x");
  EXPECT_FALSE(logger->SendEvent("vSoftQuit"));
  EXPECT_FALSE(logger->ReportAction("0001", "0001", ""));
  EXPECT_FALSE(logger->ReportRunState(4, "0001", "0002", "", "", {}));
  EXPECT_EQ(logger->GetMachineId(), "");
  EXPECT_EQ(logger->BuildRequest(1, "body"), "");
  EXPECT_FALSE(logger->OpenUrl("http://127.0.0.1/"));
  EXPECT_EQ(logger->RunAsDesktopUser("open", "x", 0, 0, 0), 0);
  EXPECT_TRUE(logger->ReleaseHandle());
}

TEST(EventLogger, LauncherMissingOnlyDisablesRunAsDesktopUser) {
  SdkFolder sdk(L"fake_vexa.dll", false);
  auto logger = CLoggerServer::CreateFromFolder(sdk.path());
  logger->ClearProperties();
  EXPECT_TRUE(logger->SendEvent("vSoftQuit"));
  EXPECT_EQ(logger->RunAsDesktopUser("open", "C:\\a.exe", 0, 0, 0), 0);
}

}  // namespace
