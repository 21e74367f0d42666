// The whole hand-off of a URL: url_opener.exe plays the installer from a
// folder and with a file time the test chooses, fake_browser.exe copies play
// the browsers (running ones, or ones that log the URL they are started
// with), and the test prefix hands URLs given to the shell to a recorder that
// appends them to the file named by TESSARO_URL_LOG.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "registry_tree.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"
#include "sys/registry_query.h"
#include "sys/stub_runner.h"
#include "sys/text_convert.h"

namespace {

constexpr int64_t kUnixEpochAsFileTime = 116444736000000000LL;
constexpr int64_t kTicksPerSecond = 10000000LL;
constexpr int kWaitSteps = 200;  // of 100 ms
constexpr int64_t kYear2001 = 978307200;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(name, value, 1024);
  return length > 0 && length < 1024 ? value : L"";
}

// A Linux path as a Windows program opens it.
std::wstring HostPath(const std::wstring& unixPath) {
  std::wstring path = L"\\\\?\\unix" + unixPath;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

bool SetLastWriteTime(const std::wstring& path, int64_t unixSeconds) {
  HANDLE file = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const uint64_t ticks =
      static_cast<uint64_t>(unixSeconds * kTicksPerSecond + kUnixEpochAsFileTime);
  FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const BOOL ok = ::SetFileTime(file, nullptr, nullptr, &written);
  ::CloseHandle(file);
  return ok != FALSE;
}

int64_t NowSeconds() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const int64_t ticks =
      static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  return (ticks - kUnixEpochAsFileTime) / kTicksPerSecond;
}

// Polls a file until it contains `text`.
bool WaitForText(const std::wstring& path, const std::string& text) {
  for (int step = 0; step < kWaitSteps; ++step) {
    if (ReadWholeFile(path).find(text) != std::string::npos) return true;
    ::Sleep(100);
  }
  return false;
}

std::map<std::string, std::string> ParseResult(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

class OpenUrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    url_ = "http://127.0.0.1:9/welcome?run=" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::GetTickCount()) + "-" + std::to_string(++counter);
  }

  void TearDown() override {
    for (StartedChild& browser : running_) EndChild(browser);
  }

  // A copy of the stand-in browser at folder_\<dir>\<name>.
  std::wstring PlaceBrowser(const std::wstring& dir, const std::wstring& name) {
    ::CreateDirectoryW((folder_ / dir).c_str(), nullptr);
    const std::wstring path = folder_ / (dir + L"\\" + name);
    EXPECT_TRUE(::CopyFileW(BesideTestProgram(L"fake_browser.exe").c_str(), path.c_str(), FALSE));
    return path;
  }

  // A browser the user has open; returns its process id.
  DWORD StartBrowser(const std::wstring& dir, const std::wstring& name) {
    running_.push_back(StartChild(PlaceBrowser(dir, name), L"--stay", StartMode::Running));
    EXPECT_TRUE(running_.back().process) << "cannot start " << WideToUtf8(name);
    return running_.back().processId;
  }

  // The installer file at folder_\<dir>\TessaroSetup.exe, last written at `written`.
  std::wstring PlaceInstaller(const std::wstring& dir, int64_t written) {
    ::CreateDirectoryW((folder_ / dir).c_str(), nullptr);
    const std::wstring path = folder_ / (dir + L"\\TessaroSetup.exe");
    EXPECT_TRUE(::CopyFileW(BesideTestProgram(L"url_opener.exe").c_str(), path.c_str(), FALSE));
    EXPECT_TRUE(SetLastWriteTime(path, written));
    return path;
  }

  // Runs the installer stand-in; the result and event lines it wrote.
  std::map<std::string, std::string> Open(const std::wstring& installer,
                                          const std::wstring& preferred = L"") {
    const std::wstring result = folder_ / L"result.txt";
    std::wstring arguments = L"\"" + result + L"\" \"" + Utf8ToWide(url_) + L"\"";
    if (!preferred.empty()) arguments += L" \"" + preferred + L"\"";
    EXPECT_EQ(RunChild(installer, arguments), 0);
    return ParseResult(ReadWholeFile(result));
  }

  bool BrowserGotUrl(const std::wstring& browser) {
    return WaitForText(browser + L".log", url_ + "\n") &&
           ReadWholeFile(browser + L".log") == url_ + "\n";
  }

  bool ShellGotUrl() {
    const std::wstring log = Environment(L"TESSARO_URL_LOG");
    return !log.empty() && WaitForText(HostPath(log), url_);
  }

  TempFolder folder_;
  std::string url_;
  std::vector<StartedChild> running_;
};

TEST_F(OpenUrlTest, RunningChromeIsPreferredOverFirefoxAndCapitalisedNamesAreIgnored) {
  const DWORD firefox = StartBrowser(L"firefox", L"firefox.exe");
  const DWORD chrome = StartBrowser(L"chrome", L"chrome.exe");
  StartBrowser(L"other", L"Chrome.exe");
  const std::wstring installer = PlaceInstaller(L"Downloads", NowSeconds() + 30);

  const auto result = Open(installer);
  EXPECT_EQ(result.at("result"), "2");
  EXPECT_EQ(result.at("event"), "vOpenUrl");
  EXPECT_EQ(result.at("launch_app_type"), "2");
  EXPECT_EQ(result.at("browser_num"), "2");
  EXPECT_EQ(result.at("browser_name"),
            firefox < chrome ? "firefox.exe chrome.exe " : "chrome.exe firefox.exe ");
  EXPECT_TRUE(BrowserGotUrl(folder_ / L"chrome\\chrome.exe"));
  EXPECT_FALSE(PathExists(folder_ / L"firefox\\firefox.exe.log"));
}

TEST_F(OpenUrlTest, BrowsersStartedAfterTheDownloadLeaveTheUrlToTheShell) {
  StartBrowser(L"chrome", L"chrome.exe");
  const std::wstring installer = PlaceInstaller(L"Downloads", kYear2001);

  const auto result = Open(installer);
  EXPECT_EQ(result.at("result"), "0");
  EXPECT_EQ(result.at("launch_app_type"), "0");
  EXPECT_EQ(result.at("browser_num"), "0");
  EXPECT_EQ(result.at("browser_name"), "");
  EXPECT_TRUE(ShellGotUrl()) << "URL not in the recorder's log";
  EXPECT_FALSE(PathExists(folder_ / L"chrome\\chrome.exe.log"));
}

TEST_F(OpenUrlTest, RecordedBrowserPathWithASwitchOpensThatBrowser) {
  const std::wstring browser = PlaceBrowser(L"given", L"chrome.exe");
  const std::wstring installer = PlaceInstaller(L"Downloads", NowSeconds() + 30);

  const auto result = Open(installer, browser + L" --new-window");
  EXPECT_EQ(result.at("result"), "1");
  EXPECT_EQ(result.at("launch_app_type"), "1");
  EXPECT_EQ(result.at("browser_num"), "0");
  EXPECT_TRUE(BrowserGotUrl(browser));
}

// The uninstall entry of this browser has a fixed name; it exists only
// inside this test and must not exist before it.
TEST_F(OpenUrlTest, InstallerInA360DownloadFolderOpensThatBrowser) {
  const std::wstring entry = UninstallKeyOf(L"360se6");
  ASSERT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, entry));
  ASSERT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, entry));
  RegistryTree record(HKEY_CURRENT_USER, entry);
  ASSERT_TRUE(record.valid());
  const std::wstring browser = PlaceBrowser(L"360se6", L"360se.exe");
  ASSERT_TRUE(record.SetString(L"", L"InstallLocation", folder_ / L"360se6"));
  StartBrowser(L"chrome", L"chrome.exe");
  const std::wstring installer = PlaceInstaller(L"360安全浏览器下载", NowSeconds() + 30);

  const auto result = Open(installer);
  EXPECT_EQ(result.at("result"), "3");
  EXPECT_EQ(result.at("launch_app_type"), "3");
  EXPECT_EQ(result.at("browser_num"), "0");
  EXPECT_TRUE(BrowserGotUrl(browser));
  EXPECT_FALSE(PathExists(folder_ / L"chrome\\chrome.exe.log"));
}

}  // namespace
