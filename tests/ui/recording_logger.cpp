#include "recording_logger.h"

std::vector<std::string> RecordingLogger::Summary() const {
  std::vector<std::string> lines;
  for (const Event& event : events_) {
    std::string line = event.name;
    for (const char* key : {"error_status", "resource_status"}) {
      const auto found = event.strings.find(key);
      if (found != event.strings.end()) line += ":" + found->second;
    }
    lines.push_back(line);
  }
  return lines;
}

bool RecordingLogger::SendEvent(const std::string& name) {
  events_.push_back(Event{name, pending_});
  return true;
}

void RecordingLogger::SetStringProperty(const std::string& key, const std::string& value) {
  pending_.emplace(key, value);
}
