#include "telemetry/crash_report.h"

#include <string>
#include <vector>

#include "sys/text_convert.h"
#include "telemetry/logger_server.h"

void VEXA_CALL OnSdkCrash(void* /*context*/, const wchar_t* dumpPath) {
  try {
    ILoggerServer* logger = GetLoggerServer();
    std::vector<std::string> dumpFiles{WideToAnsi(dumpPath ? dumpPath : L"")};
    logger->ReportRunState(1, "0001", "0001", "", "", dumpFiles);
    logger->ReportRunState(4, "0001", "0002", "", "", {});
    logger->ClearProperties();
    logger->SendEvent("vSoftDump");
    logger->ClearProperties();
    logger->SetStringProperty("event_name", WideToUtf8(L"软件崩溃"));
    logger->SendEvent("vSoftQuit");
  } catch (...) {
    // The process is going down; nothing may escape into the SDK's handler.
  }
}
