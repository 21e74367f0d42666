#include "download/download_events.h"

#include <stdexcept>

#include "telemetry/logger_server.h"

void SendDownloadStart(ILoggerServer* logger) noexcept {
  try {
    logger->ClearProperties();
    logger->SendEvent("vSoftDownloadStart");
  } catch (...) {
  }
}

void SendDownloadError(ILoggerServer* logger, const char* type, const char* status) noexcept {
  try {
    logger->ClearProperties();
    logger->SetStringProperty("error_type", type);
    logger->SetStringProperty("error_status", status);
    logger->SendEvent("vSoftDownloadError");
  } catch (...) {
  }
}

void SendDownloadResult(ILoggerServer* logger, const char* status, int32_t seconds) noexcept {
  try {
    logger->ClearProperties();
    logger->SetStringProperty("soft_download_status", status);
    logger->SetIntProperty("download_time", seconds);
    logger->SendEvent("pSoftDownloadResult");
  } catch (...) {
  }
}

UrlParts ParseUrlOrRaise(const std::string& address, ILoggerServer* logger) {
  UrlParts parts;
  if (ParseUrl(address, &parts)) return parts;
  SendDownloadError(logger, download_event::QUERY_ERROR, download_event::INIT_FAILED);
  throw std::runtime_error("init url failed");
}
