// The install report's form: the user id from NQUID.dll, the product name of
// the channel, the machine and the installer.
#pragma once

#include <cstdint>
#include <string>

class HttpForm;
class IAppInfo;
class ILoggerServer;
class IServerInfo;

// Where the report's values come from and where it goes: in the installer
// the process-wide objects and the deployment's report host, in tests
// stand-ins.
struct ReportEnvironment {
  std::wstring sdkFolder;               // where NQUID.dll may lie; ends in a backslash
  IServerInfo* serverInfo = nullptr;    // the product name (GetAppName)
  ILoggerServer* logger = nullptr;      // the machine id
  IAppInfo* appInfo = nullptr;          // the installer's own version
  std::string host;                     // the report service
  uint16_t port = 80;
};

// The installer's environment. Main thread, after startup.
ReportEnvironment DefaultReportEnvironment();

// The id GetNQUID of folder's NQUID.dll writes (at most 32 characters); empty
// when the file is missing or a folder, cannot be loaded or lacks the export.
// The library is unloaded again.
std::string ReadNquid(const std::wstring& sdkFolder);

// Adds app_version, product_name, uid, app_id, cam, mid and url_channel to
// form. False, adding nothing, when the user id or the product name is empty:
// then there is nothing to report.
bool FillReportForm(HttpForm& form, const ReportEnvironment& environment);
