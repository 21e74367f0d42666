// The browsers the launcher knows by their executable names. Names are
// compared case-sensitively as parts of paths and process image names, so
// "Chrome.exe" is not "chrome.exe". Pure functions, safe from any thread.
#pragma once

#include <cstddef>
#include <string>

// The preference of a running browser, smallest first: 1 for 360chrome.exe
// up to 11 for UCBrowser.exe; kOtherProgram for anything else.
constexpr int kOtherProgram = 99;
int BrowserPreference(const std::wstring& pathOrImageName);

// True when one of the eleven ranked browser names occurs in the text.
bool IsKnownBrowser(const std::wstring& pathOrImageName);

// The names reported in "browser_name", in the order a process is counted
// under them.
inline constexpr const wchar_t* kCountedBrowsers[] = {
    L"360chrome.exe",      L"360se.exe",        L"chrome.exe",    L"MicrosoftEdge.exe",
    L"browser_broker.exe", L"LaunchWinApp.exe", L"QQBrowser.exe", L"SogouExplorer.exe",
    L"firefox.exe",        L"liebao.exe",       L"iexplore.exe",  L"ChromeCore.exe",
    L"UCBrowser.exe",
};
constexpr size_t kCountedBrowserCount = sizeof(kCountedBrowsers) / sizeof(kCountedBrowsers[0]);

// A browser whose own download folder may hold the installer: the folder's
// name, the browser's uninstall-list entry and its executable.
struct DownloadFolderBrowser {
  const wchar_t* folderName;
  const wchar_t* uninstallName;
  const wchar_t* executable;
};
inline constexpr DownloadFolderBrowser kDownloadFolderBrowsers[] = {
    {L"360极速浏览器下载", L"360Chrome", L"360chrome.exe"},
    {L"360安全浏览器下载", L"360se6", L"360se.exe"},
    {L"搜狗高速下载", L"SogouExplorer", L"SogouExplorer.exe"},
};

// The legacy Edge browser: started through its protocol, recognised by its
// broker (a caller's browser path) or its launcher (the default browser).
inline constexpr wchar_t kEdgeBroker[] = L"browser_broker.exe";
inline constexpr wchar_t kEdgeLauncher[] = L"LaunchWinApp.exe";
inline constexpr wchar_t kEdgeImage[] = L"MicrosoftEdge.exe";
inline constexpr wchar_t kEdgeProtocol[] = L"microsoft-edge:";
