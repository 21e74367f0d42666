// A logger for tests that records events instead of sending them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "telemetry/logger_server.h"

// Records every SendEvent with the string properties pending at that moment.
class RecordingLogger : public ILoggerServer {
 public:
  struct Event {
    std::string name;
    std::map<std::string, std::string> strings;
  };

  const std::vector<Event>& Events() const { return events_; }
  // The events' names in order, each followed by its "error_status" or
  // "resource_status" value when it has one: {"vResourceError:资源解压失败", ...}.
  std::vector<std::string> Summary() const;

  bool SendEvent(const std::string& name) override;
  void ClearProperties() override { pending_.clear(); }
  void SetStringProperty(const std::string& key, const std::string& value) override;

  void SetIntProperty(const std::string&, int32_t) override {}
  void SetBoolProperty(const std::string&, bool) override {}
  bool ReportAction(const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  bool ReportRunState(int32_t, const std::string&, const std::string&, const std::string&,
                      const std::string&, std::vector<std::string>) override {
    return false;
  }
  bool ReportBasic(int32_t, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  std::string BuildRequest(int32_t, const std::string&) override { return {}; }
  std::string DecryptReply(const std::string&) override { return {}; }
  std::string GetMachineId() override { return {}; }
  std::string GetMachineIdEx(int32_t) override { return {}; }
  bool EnsureHandle() override { return false; }
  bool ReleaseHandle() override { return true; }
  bool OpenUrl(const std::string&) override { return false; }
  intptr_t RunAsDesktopUser(const std::string&, const std::string&, int, int, int) override {
    return 0;
  }

 private:
  std::map<std::string, std::string> pending_;
  std::vector<Event> events_;
};
