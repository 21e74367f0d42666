#include "pages/page_events.h"

#include "app/run_flags.h"
#include "sys/text_convert.h"
#include "telemetry/logger_server.h"

void SendPageEvent(const char* eventName, const wchar_t* windowsName) {
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SetBoolProperty("is_reinstall", GetRunFlags().isReinstall);
  logger->SetStringProperty("windows_name", WideToUtf8(windowsName));
  logger->SendEvent(eventName);
}

void SendTextEvent(const char* eventName, const char* key, const wchar_t* value) {
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SetStringProperty(key, WideToUtf8(value));
  logger->SendEvent(eventName);
}

void ReportPageAction(const char* pageCode, const char* actionCode) {
  GetLoggerServer()->ReportAction(pageCode, actionCode, "");
}
