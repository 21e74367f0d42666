#include "browser/browser_names.h"

namespace {

struct RankedBrowser {
  const wchar_t* name;
  int preference;
};

// Tested in this order: "chrome.exe" occurs inside "360chrome.exe", so the
// longer name must be tried first.
constexpr RankedBrowser kRankedBrowsers[] = {
    {L"360chrome.exe", 1}, {L"360se.exe", 2},      {L"SogouExplorer.exe", 8}, {L"firefox.exe", 9},
    {L"chrome.exe", 3},    {L"ChromeCore.exe", 4}, {L"iexplore.exe", 6},      {L"liebao.exe", 10},
    {L"QQBrowser.exe", 7}, {L"UCBrowser.exe", 11}, {L"MicrosoftEdge.exe", 5},
};

}  // namespace

int BrowserPreference(const std::wstring& pathOrImageName) {
  for (const RankedBrowser& browser : kRankedBrowsers) {
    if (pathOrImageName.find(browser.name) != std::wstring::npos) return browser.preference;
  }
  return kOtherProgram;
}

bool IsKnownBrowser(const std::wstring& pathOrImageName) {
  return BrowserPreference(pathOrImageName) != kOtherProgram;
}
