// Plays the installer for the launcher's tests: opens a URL through the
// browser launcher from its own file (whose folder and last-write time the
// test chooses) and writes what happened to a result file, one key=value
// line each: "result" (the launch kind or -1), then "event" and the
// properties of every event sent.
//
// Usage: url_opener.exe <result file> <url> [<preferred browser>]
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "browser/open_url.h"
#include "sys/text_convert.h"
#include "support/silent_logger.h"

namespace {

// Keeps every event with the properties pending when it was sent.
class EventCapture final : public SilentLogger {
 public:
  std::vector<std::map<std::string, std::string>> events;

  bool SendEvent(const std::string& name) override {
    std::map<std::string, std::string> event = pending_;
    event["event"] = name;
    events.push_back(event);
    return true;
  }
  void ClearProperties() override { pending_.clear(); }
  void SetIntProperty(const std::string& key, int32_t value) override {
    pending_.emplace(key, std::to_string(value));
  }
  void SetBoolProperty(const std::string& key, bool value) override {
    pending_.emplace(key, value ? "true" : "false");
  }
  void SetStringProperty(const std::string& key, const std::string& value) override {
    pending_.emplace(key, value);
  }


 private:
  std::map<std::string, std::string> pending_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  EventCapture logger;
  const int32_t kind = OpenUrlInBrowser(argv[2], argc > 3 ? argv[3] : nullptr, logger);

  std::string text = "result=" + std::to_string(kind) + "\n";
  for (const auto& event : logger.events) {
    text += "event=" + event.at("event") + "\n";
    for (const auto& [key, value] : event) {
      if (key != "event") text += key + "=" + value + "\n";
    }
  }
  FILE* out = _wfopen(argv[1], L"wb");
  if (out == nullptr) return 3;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  return std::fclose(out) == 0 && written ? 0 : 3;
}
