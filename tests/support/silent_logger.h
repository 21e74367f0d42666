// Test support: an event logger that sends nothing and answers every slot as
// a logger without an SDK does. Test loggers derive from it and override only
// what they record.
#pragma once

#include <string>
#include <vector>

#include "telemetry/logger_server.h"

class SilentLogger : public ILoggerServer {
 public:
  bool ReportAction(const std::string&, const std::string&, const std::string&) override { return false; }
  bool ReportRunState(int32_t, const std::string&, const std::string&, const std::string&, const std::string&,
                      std::vector<std::string>) override {
    return false;
  }
  bool SendEvent(const std::string&) override { return false; }
  void ClearProperties() override {}
  void SetIntProperty(const std::string&, int32_t) override {}
  void SetBoolProperty(const std::string&, bool) override {}
  void SetStringProperty(const std::string&, const std::string&) override {}
  bool ReportBasic(int32_t, const std::string&, const std::string&, const std::string&) override { return false; }
  std::string BuildRequest(int32_t, const std::string&) override { return {}; }
  std::string DecryptReply(const std::string&) override { return {}; }
  std::string GetMachineId() override { return {}; }
  std::string GetMachineIdEx(int32_t) override { return {}; }
  bool EnsureHandle() override { return false; }
  bool ReleaseHandle() override { return true; }
  bool OpenUrl(const std::string&) override { return false; }
  intptr_t RunAsDesktopUser(const std::string&, const std::string&, int, int, int) override { return 0; }
};
