// A logger for tests that records events instead of sending them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/silent_logger.h"

// Records every SendEvent with the string properties pending at that moment.
class RecordingLogger : public SilentLogger {
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

 private:
  std::map<std::string, std::string> pending_;
  std::vector<Event> events_;
};
