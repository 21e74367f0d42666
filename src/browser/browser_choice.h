// Which program opens a URL: the caller's browser, legacy Edge, the browser
// whose download folder holds the installer, a browser that was running
// before the installer was downloaded, or the system's default handler.
// The decision asks the system only through IBrowserProbe, so it can be
// checked against any machine state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How the URL was opened, reported as "launch_app_type".
enum LaunchKind : int32_t {
  LaunchDefault = 0,                // the URL handed to the shell
  LaunchGivenBrowser = 1,           // the caller's browser, or the Edge protocol
  LaunchRunningBrowser = 2,         // a browser found among running processes
  LaunchDownloadFolderBrowser = 3,  // the browser whose download folder holds the installer
};

// Whether a running process can take a URL: a suspended one (for example a
// browser's pre-started helper) cannot, and neither can one whose state is
// unknown.
enum class ProcessActivity { Running, Suspended, Unknown };

// A running process whose image name passes IsKnownBrowser.
struct RunningBrowser {
  DWORD id = 0;
  std::wstring imageName;
  ProcessActivity activity = ProcessActivity::Unknown;
  std::optional<int64_t> startTime;  // Unix seconds; none when unknown
};

// What the decision needs to know about the machine.
class IBrowserProbe {
 public:
  virtual ~IBrowserProbe() = default;
  // The running installer's image path; false when it cannot be read.
  virtual bool OwnImagePath(std::wstring& path) = 0;
  // The folder of an application in the uninstall list; false when unknown.
  virtual bool UninstallLocation(const std::wstring& uninstallName, std::wstring& folder) = 0;
  // The running known browsers; false when the process list cannot be read.
  virtual bool RunningBrowsers(std::vector<RunningBrowser>& found) = 0;
  // The image path of a process; false when it cannot be read.
  virtual bool ImagePathOf(DWORD processId, std::wstring& path) = 0;
};

struct BrowserRequest {
  std::wstring url;
  std::wstring preferredBrowser;  // a browser path the caller recorded, or empty
  std::wstring defaultBrowser;    // GetDefaultBrowserPath, or empty
  int64_t downloadTime = 0;       // the installer file's last write, Unix seconds
};

// The shell call that opens the URL, and what "vOpenUrl" reports.
struct BrowserChoice {
  std::wstring file;        // program, protocol URL or the URL itself
  std::wstring parameters;  // the URL when `file` is a program, else empty
  LaunchKind kind = LaunchDefault;
  int32_t browserCount = 0;   // distinct browser names among eligible running processes
  std::wstring browserNames;  // those names, each followed by a space
};

BrowserChoice ChooseBrowser(const BrowserRequest& request, IBrowserProbe& probe);
