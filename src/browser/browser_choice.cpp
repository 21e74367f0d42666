#include "browser/browser_choice.h"

#include <algorithm>
#include <map>
#include <utility>

#include "browser/browser_exe.h"
#include "browser/browser_names.h"
#include "sys/path_pieces.h"

namespace {

bool Contains(const std::wstring& text, const std::wstring& part) {
  return !part.empty() && text.find(part) != std::wstring::npos;
}

void OpenWith(BrowserChoice& choice, std::wstring file, std::wstring parameters, LaunchKind kind) {
  choice.file = std::move(file);
  choice.parameters = std::move(parameters);
  choice.kind = kind;
}

bool ChooseGivenBrowser(const BrowserRequest& request, BrowserChoice& choice) {
  std::wstring preferred = request.preferredBrowser;
  if (preferred.empty() || !IsKnownBrowser(preferred) || !ValidateBrowserExe(preferred)) {
    return false;
  }
  OpenWith(choice, preferred, request.url, LaunchGivenBrowser);
  return true;
}

bool ChooseLegacyEdge(const BrowserRequest& request, BrowserChoice& choice) {
  if (!Contains(request.preferredBrowser, kEdgeBroker)) return false;
  OpenWith(choice, kEdgeProtocol + request.url, std::wstring(), LaunchGivenBrowser);
  return true;
}

// Only the first download folder named in the installer's path is tried.
bool ChooseDownloadFolderBrowser(const BrowserRequest& request, IBrowserProbe& probe,
                                 BrowserChoice& choice) {
  std::wstring ownPath;
  if (!probe.OwnImagePath(ownPath)) return false;
  for (const DownloadFolderBrowser& browser : kDownloadFolderBrowsers) {
    if (!Contains(ownPath, browser.folderName)) continue;
    std::wstring folder;
    if (!probe.UninstallLocation(browser.uninstallName, folder)) return false;
    OpenWith(choice, WithTrailingSeparator(folder) + browser.executable, request.url,
             LaunchDownloadFolderBrowser);
    return true;
  }
  return false;
}

// Counts each browser name once. A name already counted is passed over, so a
// second "360chrome.exe" is counted under "chrome.exe", which it contains.
class BrowserTally {
 public:
  void Count(const std::wstring& imageName, BrowserChoice& choice) {
    for (size_t i = 0; i < kCountedBrowserCount; ++i) {
      if (counted_[i] || !Contains(imageName, kCountedBrowsers[i])) continue;
      counted_[i] = true;
      choice.browserNames += kCountedBrowsers[i];
      choice.browserNames += L' ';
      ++choice.browserCount;
      return;
    }
  }

 private:
  bool counted_[kCountedBrowserCount] = {};
};

// A browser that already ran when the installer was written is likely the
// one that downloaded it.
bool RanBeforeDownload(const RunningBrowser& process, int64_t downloadTime) {
  return process.activity == ProcessActivity::Running && process.startTime.has_value() &&
         *process.startTime < downloadTime;
}

// The default browser when this process is an instance of it.
bool MatchDefaultBrowser(const BrowserRequest& request, const std::wstring& imageName,
                         BrowserChoice& choice) {
  if (Contains(request.defaultBrowser, imageName)) {
    OpenWith(choice, request.defaultBrowser, request.url, LaunchRunningBrowser);
    return true;
  }
  if (Contains(imageName, kEdgeImage) && Contains(request.defaultBrowser, kEdgeLauncher)) {
    OpenWith(choice, kEdgeProtocol + request.url, std::wstring(), LaunchRunningBrowser);
    return true;
  }
  return false;
}

bool ChooseRunningBrowser(const BrowserRequest& request, IBrowserProbe& probe,
                          BrowserChoice& choice) {
  std::vector<RunningBrowser> running;
  if (!probe.RunningBrowsers(running)) return false;
  std::stable_sort(running.begin(), running.end(),
                   [](const RunningBrowser& a, const RunningBrowser& b) { return a.id < b.id; });

  bool chosen = false;
  std::map<int, DWORD> byPreference;  // the first process of each preference
  BrowserTally tally;
  for (const RunningBrowser& process : running) {
    if (!RanBeforeDownload(process, request.downloadTime)) continue;
    if (!chosen) chosen = MatchDefaultBrowser(request, process.imageName, choice);
    byPreference.emplace(BrowserPreference(process.imageName), process.id);
    tally.Count(process.imageName, choice);
  }
  if (chosen || byPreference.empty()) return chosen;

  // A browser that ended meanwhile, or whose path cannot be read, gives no
  // program to start; the URL then goes to the default handler.
  std::wstring program;
  if (!probe.ImagePathOf(byPreference.begin()->second, program) || program.empty()) return false;
  OpenWith(choice, program, request.url, LaunchRunningBrowser);
  return true;
}

}  // namespace

BrowserChoice ChooseBrowser(const BrowserRequest& request, IBrowserProbe& probe) {
  BrowserChoice choice;
  if (ChooseGivenBrowser(request, choice)) return choice;
  if (ChooseLegacyEdge(request, choice)) return choice;
  if (ChooseDownloadFolderBrowser(request, probe, choice)) return choice;
  if (ChooseRunningBrowser(request, probe, choice)) return choice;
  OpenWith(choice, request.url, std::wstring(), LaunchDefault);
  return choice;
}
