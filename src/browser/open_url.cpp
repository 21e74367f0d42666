#include "browser/open_url.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "browser/browser_choice.h"
#include "browser/default_browser.h"
#include "browser/system_browser_probe.h"
#include "sys/file_stream.h"
#include "sys/text_convert.h"
#include "telemetry/logger_server.h"

namespace {

std::wstring TextOrEmpty(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

// The installer's own file name, as far as a MAX_PATH buffer holds it.
std::wstring OwnFileName() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::wstring(buffer, length < MAX_PATH ? length : MAX_PATH);
}

// When the installer file was last written, which for a fresh download is
// when the browser saved it; 0 when the times cannot be read.
int64_t DownloadTimeOf(CFileStream& installer) {
  int64_t created = 0, accessed = 0, written = 0;
  return installer.GetTimes(created, accessed, written) ? written : 0;
}

void Report(ILoggerServer& logger, const BrowserChoice& choice) {
  logger.ClearProperties();
  logger.SetIntProperty("launch_app_type", choice.kind);
  logger.SetIntProperty("browser_num", choice.browserCount);
  logger.SetStringProperty("browser_name", WideToUtf8(choice.browserNames));
  logger.SendEvent("vOpenUrl");
}

int32_t OpenUrl(const std::wstring& url, const std::wstring& preferred, ILoggerServer& logger) {
  BrowserRequest request;
  request.url = url;
  request.preferredBrowser = preferred;
  GetDefaultBrowserPath(request.defaultBrowser);

  // Held open until the URL is handed over, as a download in progress would
  // find it. Throws when the file cannot be opened.
  CFileStream installer(OpenFileHandle(OpenModeReadShared, OwnFileName()));
  request.downloadTime = DownloadTimeOf(installer);

  SystemBrowserProbe probe;
  const BrowserChoice choice = ChooseBrowser(request, probe);
  Report(logger, choice);
  ::ShellExecuteW(nullptr, L"open", choice.file.c_str(),
                  choice.parameters.empty() ? nullptr : choice.parameters.c_str(), nullptr,
                  SW_SHOWNORMAL);
  return choice.kind;
}

}  // namespace

int32_t OpenUrlInBrowser(const wchar_t* url, const wchar_t* preferredBrowser,
                         ILoggerServer& logger) {
  try {
    return OpenUrl(TextOrEmpty(url), TextOrEmpty(preferredBrowser), logger);
  } catch (...) {
    return -1;
  }
}
