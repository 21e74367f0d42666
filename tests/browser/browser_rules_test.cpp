// The browser launcher's decisions on tables: browser names, recorded paths,
// default-browser commands and the choice among the ways to open a URL.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "browser/browser_choice.h"
#include "browser/browser_exe.h"
#include "browser/browser_names.h"
#include "browser/default_browser.h"
#include "support/temp_folder.h"

namespace {

TEST(BrowserNamesTest, PreferenceAndRecognitionAreCaseSensitiveSubstrings) {
  struct Case {
    const wchar_t* text;
    int preference;
  };
  const Case cases[] = {
      {L"C:\\Users\\a\\AppData\\360Chrome\\Chrome\\Application\\360chrome.exe", 1},
      {L"360se.exe", 2},
      {L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe", 3},
      {L"ChromeCore.exe", 4},
      {L"MicrosoftEdge.exe", 5},
      {L"iexplore.exe", 6},
      {L"QQBrowser.exe", 7},
      {L"SogouExplorer.exe", 8},
      {L"firefox.exe", 9},
      {L"liebao.exe", 10},
      {L"UCBrowser.exe", 11},
      {L"C:\\x\\chrome.exe --profile-directory=Default", 3},
      {L"Chrome.exe", kOtherProgram},
      {L"FIREFOX.EXE", kOtherProgram},
      {L"browser_broker.exe", kOtherProgram},
      {L"LaunchWinApp.exe", kOtherProgram},
      {L"notepad.exe", kOtherProgram},
      {L"", kOtherProgram},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BrowserPreference(c.text), c.preference) << c.text;
    EXPECT_EQ(IsKnownBrowser(c.text), c.preference != kOtherProgram) << c.text;
  }
}

TEST(BrowserExeTest, RecordedPathsAreCutAfterExeAndMustExistUnlessTheyEndInExe) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder / L"chrome.exe", "MZ"));
  ASSERT_TRUE(::CreateDirectoryW((folder / L"folder.exe").c_str(), nullptr));
  struct Case {
    std::wstring path;
    bool valid;
    std::wstring after;
  };
  const Case cases[] = {
      {L"C:\\nowhere\\chrome.exe", true, L"C:\\nowhere\\chrome.exe"},
      {folder / L"chrome.exe --new-window", true, folder / L"chrome.exe"},
      {folder / L"missing.exe --new-window", false, folder / L"missing.exe"},
      {folder / L"folder.exe\\ -x", false, folder / L"folder.exe"},
      {folder / L"chrome", false, folder / L"chrome"},
      {L"C:\\nowhere\\CHROME.EXE", false, L"C:\\nowhere\\CHROME.EXE"},
      {L"", false, L""},
  };
  for (const Case& c : cases) {
    std::wstring path = c.path;
    EXPECT_EQ(ValidateBrowserExe(path), c.valid) << c.path;
    EXPECT_EQ(path, c.after) << c.path;
  }
}

TEST(DefaultBrowserTest, ProgramPathOfAnOpenCommand) {
  struct Case {
    const wchar_t* command;
    const wchar_t* path;  // null: no path, the output stays untouched
  };
  const Case cases[] = {
      {L"\"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe\" --single-argument %1",
       L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe"},
      {L"\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\"",
       L"C:\\Program Files\\Mozilla Firefox\\firefox.exe"},
      {L"\"C:\\Apps\\browser.exe\"", L"C:\\Apps\\browser.exe"},
      {L"C:\\PROGRA~1\\INTERN~1\\iexplore.exe -nohome", L"C:\\PROGRA~1\\INTERN~1\\iexplore.exe"},
      {L"\"C:\\never closed\\b.exe %1", L"C:\\never closed\\b.exe %1"},
      {L"  \"C:\\lead space\\b.exe\"", L"C:\\lead space\\b.exe"},
      {L"", nullptr},
      {L"   ", nullptr},
  };
  for (const Case& c : cases) {
    std::wstring path = L"untouched";
    EXPECT_EQ(BrowserPathOfCommand(c.command, path), c.path != nullptr) << c.command;
    EXPECT_EQ(path, c.path ? c.path : L"untouched") << c.command;
  }
}

// ---- the choice ------------------------------------------------------------

constexpr int64_t kDownloaded = 1700000000;
constexpr wchar_t kUrl[] = L"http://127.0.0.1:18084/welcome?from=setup";

RunningBrowser Running(DWORD id, const wchar_t* image, int64_t started = kDownloaded - 60) {
  return RunningBrowser{id, image, ProcessActivity::Running, started};
}

// A machine as the decision sees it; records what it was asked.
class FakeProbe : public IBrowserProbe {
 public:
  bool ownPathKnown = true;
  std::wstring ownPath = L"C:\\Users\\a\\Downloads\\TessaroSetup.exe";
  std::map<std::wstring, std::wstring> uninstallList;
  bool processListReadable = true;
  std::vector<RunningBrowser> running;
  std::map<DWORD, std::wstring> imagePaths;
  std::vector<std::wstring> uninstallAsked;

  bool OwnImagePath(std::wstring& path) override {
    if (ownPathKnown) path = ownPath;
    return ownPathKnown;
  }
  bool UninstallLocation(const std::wstring& name, std::wstring& folder) override {
    uninstallAsked.push_back(name);
    const auto found = uninstallList.find(name);
    if (found == uninstallList.end()) return false;
    folder = found->second;
    return true;
  }
  bool RunningBrowsers(std::vector<RunningBrowser>& found) override {
    if (!processListReadable) return false;
    found = running;
    return true;
  }
  bool ImagePathOf(DWORD id, std::wstring& path) override {
    const auto found = imagePaths.find(id);
    if (found == imagePaths.end()) return false;
    path = found->second;
    return true;
  }
};

struct Expected {
  std::wstring file;
  std::wstring parameters;
  LaunchKind kind;
  int32_t count;
  std::wstring names;
};

void ExpectChoice(const BrowserChoice& got, const Expected& want, const char* what) {
  EXPECT_EQ(got.file, want.file) << what;
  EXPECT_EQ(got.parameters, want.parameters) << what;
  EXPECT_EQ(got.kind, want.kind) << what;
  EXPECT_EQ(got.browserCount, want.count) << what;
  EXPECT_EQ(got.browserNames, want.names) << what;
}

BrowserRequest Request(const std::wstring& preferred = L"",
                       const std::wstring& defaultBrowser = L"") {
  BrowserRequest request;
  request.url = kUrl;
  request.preferredBrowser = preferred;
  request.defaultBrowser = defaultBrowser;
  request.downloadTime = kDownloaded;
  return request;
}

const std::wstring kEdgeUrl = std::wstring(L"microsoft-edge:") + kUrl;

TEST(BrowserChoiceTest, CallersBrowserAndLegacyEdgeComeFirst) {
  TempFolder folder;
  ASSERT_TRUE(WriteWholeFile(folder / L"chrome.exe", "MZ"));
  FakeProbe probe;
  probe.running = {Running(8, L"firefox.exe")};
  probe.imagePaths = {{8, L"C:\\ff\\firefox.exe"}};

  struct Case {
    const char* what;
    std::wstring preferred;
    Expected expected;
  };
  const Case cases[] = {
      {"recorded path ending in .exe, not on disk",
       L"C:\\nowhere\\chrome.exe",
       {L"C:\\nowhere\\chrome.exe", kUrl, LaunchGivenBrowser, 0, L""}},
      {"recorded path with a switch, cut and found",
       folder / L"chrome.exe --new-window",
       {folder / L"chrome.exe", kUrl, LaunchGivenBrowser, 0, L""}},
      {"legacy Edge broker",
       L"C:\\Windows\\System32\\browser_broker.exe",
       {kEdgeUrl, L"", LaunchGivenBrowser, 0, L""}},
      {"recorded path with a switch, missing: running browsers decide",
       folder / L"gone\\chrome.exe --new-window",
       {L"C:\\ff\\firefox.exe", kUrl, LaunchRunningBrowser, 1, L"firefox.exe "}},
      {"unknown program: running browsers decide",
       L"C:\\Apps\\opera.exe",
       {L"C:\\ff\\firefox.exe", kUrl, LaunchRunningBrowser, 1, L"firefox.exe "}},
  };
  for (const Case& c : cases) {
    ExpectChoice(ChooseBrowser(Request(c.preferred), probe), c.expected, c.what);
  }
}

TEST(BrowserChoiceTest, DownloadFolderBrowserWinsOverRunningAndDefaultBrowsers) {
  struct Case {
    const char* what;
    std::wstring ownPath;
    std::map<std::wstring, std::wstring> uninstallList;
    Expected expected;
    std::vector<std::wstring> asked;
  };
  const std::wstring downloads = L"C:\\Users\\a\\Downloads\\";
  const Case cases[] = {
      {"360se download folder",
       downloads + L"360安全浏览器下载\\TessaroSetup.exe",
       {{L"360se6", L"C:\\Program Files\\360\\360se6\\Application"}},
       {L"C:\\Program Files\\360\\360se6\\Application\\360se.exe", kUrl,
        LaunchDownloadFolderBrowser, 0, L""},
       {L"360se6"}},
      {"location with a trailing backslash",
       downloads + L"搜狗高速下载\\TessaroSetup.exe",
       {{L"SogouExplorer", L"D:\\Sogou\\"}},
       {L"D:\\Sogou\\SogouExplorer.exe", kUrl, LaunchDownloadFolderBrowser, 0, L""},
       {L"SogouExplorer"}},
      {"only the first folder in table order is tried",
       downloads + L"360安全浏览器下载\\360极速浏览器下载\\TessaroSetup.exe",
       {{L"360se6", L"C:\\360se"}},
       {L"C:\\chrome\\chrome.exe", kUrl, LaunchRunningBrowser, 1, L"chrome.exe "},
       {L"360Chrome"}},
      {"browser not installed",
       downloads + L"360极速浏览器下载\\TessaroSetup.exe",
       {},
       {L"C:\\chrome\\chrome.exe", kUrl, LaunchRunningBrowser, 1, L"chrome.exe "},
       {L"360Chrome"}},
      {"ordinary download folder",
       downloads + L"TessaroSetup.exe",
       {{L"360se6", L"C:\\360se"}},
       {L"C:\\chrome\\chrome.exe", kUrl, LaunchRunningBrowser, 1, L"chrome.exe "},
       {}},
  };
  for (const Case& c : cases) {
    FakeProbe probe;
    probe.ownPath = c.ownPath;
    probe.uninstallList = c.uninstallList;
    probe.running = {Running(4, L"chrome.exe")};
    probe.imagePaths = {{4, L"C:\\chrome\\chrome.exe"}};
    const BrowserChoice choice = ChooseBrowser(Request(L"", L"C:\\ff\\firefox.exe"), probe);
    ExpectChoice(choice, c.expected, c.what);
    EXPECT_EQ(probe.uninstallAsked, c.asked) << c.what;
  }

  FakeProbe unknownOwnPath;
  unknownOwnPath.ownPathKnown = false;
  ExpectChoice(ChooseBrowser(Request(), unknownOwnPath), {kUrl, L"", LaunchDefault, 0, L""},
               "own path unknown, nothing running");
}

// Where a fake running browser lives.
std::wstring ProgramOf(DWORD id, const std::wstring& imageName) {
  return L"C:\\b" + std::to_wstring(id) + L"\\" + imageName;
}

TEST(BrowserChoiceTest, RunningBrowsersByDefaultThenPreferenceAndStartTime) {
  const int64_t before = kDownloaded - 1;
  enum class Paths { Readable, Unreadable };
  struct Case {
    const char* what;
    std::vector<RunningBrowser> running;
    std::wstring defaultBrowser;
    Expected expected;
    Paths paths = Paths::Readable;
  };
  const std::wstring defaultFirefox = L"C:\\Program Files\\Mozilla Firefox\\firefox.exe";
  const Case cases[] = {
      {"chrome preferred over firefox, names in id order",
       {Running(20, L"chrome.exe", before), Running(12, L"firefox.exe", before)},
       L"",
       {ProgramOf(20, L"chrome.exe"), kUrl, LaunchRunningBrowser, 2, L"firefox.exe chrome.exe "}},
      {"the default browser among them wins over preference",
       {Running(12, L"chrome.exe"), Running(16, L"firefox.exe")},
       defaultFirefox,
       {defaultFirefox, kUrl, LaunchRunningBrowser, 2, L"chrome.exe firefox.exe "}},
      {"legacy Edge running while its launcher is the default",
       {Running(12, L"MicrosoftEdge.exe")},
       L"C:\\Windows\\SystemApps\\LaunchWinApp.exe",
       {kEdgeUrl, L"", LaunchRunningBrowser, 1, L"MicrosoftEdge.exe "}},
      {"started at or after the download: not eligible",
       {Running(12, L"chrome.exe", kDownloaded), Running(16, L"firefox.exe", kDownloaded + 5)},
       L"",
       {kUrl, L"", LaunchDefault, 0, L""}},
      {"suspended or unknown processes are skipped",
       {RunningBrowser{12, L"chrome.exe", ProcessActivity::Suspended, before},
        RunningBrowser{16, L"360se.exe", ProcessActivity::Unknown, before},
        RunningBrowser{20, L"360chrome.exe", ProcessActivity::Running, std::nullopt},
        Running(24, L"firefox.exe")},
       L"",
       {ProgramOf(24, L"firefox.exe"), kUrl, LaunchRunningBrowser, 1, L"firefox.exe "}},
      {"a second 360chrome.exe counts under chrome.exe",
       {Running(12, L"360chrome.exe"), Running(16, L"360chrome.exe"),
        Running(20, L"360chrome.exe")},
       L"",
       {ProgramOf(12, L"360chrome.exe"), kUrl, LaunchRunningBrowser, 2,
        L"360chrome.exe chrome.exe "}},
      {"the first process of a preference is started",
       {Running(12, L"firefox.exe"), Running(16, L"chrome.exe"), Running(20, L"chrome.exe")},
       L"",
       {ProgramOf(16, L"chrome.exe"), kUrl, LaunchRunningBrowser, 2, L"firefox.exe chrome.exe "}},
      {"the chosen browser's path cannot be read: default handler",
       {Running(28, L"liebao.exe")},
       L"",
       {kUrl, L"", LaunchDefault, 1, L"liebao.exe "},
       Paths::Unreadable},
  };
  for (const Case& c : cases) {
    FakeProbe probe;
    probe.running = c.running;
    if (c.paths == Paths::Readable) {
      for (const RunningBrowser& process : c.running) {
        probe.imagePaths[process.id] = ProgramOf(process.id, process.imageName);
      }
    }
    ExpectChoice(ChooseBrowser(Request(L"", c.defaultBrowser), probe), c.expected, c.what);
  }

  FakeProbe unreadable;
  unreadable.processListReadable = false;
  ExpectChoice(ChooseBrowser(Request(), unreadable), {kUrl, L"", LaunchDefault, 0, L""},
               "process list unreadable");
}

}  // namespace
