// The installer's one gateway to the analytics SDK: events with typed
// properties, coded records, the machine id, URL opening and starting a
// program as the desktop user. Every operation reports failure through its
// result and never raises; without a working SDK the installer runs unchanged,
// only silently.
//
// An event is built as ClearProperties, Set...Property calls, then SendEvent.
// A key that is already pending keeps its first value. The sequence is not
// atomic: two threads building events at once could mix their properties.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ILoggerServer {
 public:
  virtual ~ILoggerServer() = default;

  // Page action record; the detail is empty in practice. True when sent.
  virtual bool ReportAction(const std::string& pageCode, const std::string& actionCode,
                            const std::string& detail) = 0;
  // Run-state record with the paths (system code page) of attached files that exist.
  virtual bool ReportRunState(int32_t state, const std::string& text1, const std::string& text2,
                              const std::string& text3, const std::string& text4,
                              std::vector<std::string> files) = 0;
  // Event record with every pending property; the properties stay pending.
  virtual bool SendEvent(const std::string& name) = 0;
  virtual void ClearProperties() = 0;
  virtual void SetIntProperty(const std::string& key, int32_t value) = 0;
  virtual void SetBoolProperty(const std::string& key, bool value) = 0;
  // value is UTF-8.
  virtual void SetStringProperty(const std::string& key, const std::string& value) = 0;
  virtual bool ReportBasic(int32_t number, const std::string& text1, const std::string& text2,
                           const std::string& text3) = 0;
  // Seals a request body with the SDK; empty on any failure.
  virtual std::string BuildRequest(int32_t selector, const std::string& body) = 0;
  // Unseals a reply; empty on any failure.
  virtual std::string DecryptReply(const std::string& data) = 0;
  // The SDK's machine id; empty when there is none.
  virtual std::string GetMachineId() = 0;
  virtual std::string GetMachineIdEx(int32_t number) = 0;
  // Re-initialises an SDK whose handle was released; always false.
  virtual bool EnsureHandle() = 0;
  // Stops all sending for the rest of the run (the user declined the plan).
  // The machine id, URL opening and the launcher keep working. Always true.
  virtual bool ReleaseHandle() = 0;
  // Opens a UTF-8 URL through the SDK; false when it cannot.
  virtual bool OpenUrl(const std::string& url) = 0;
  // Starts file (UTF-8) with verb as the desktop user; the shell's result, or 0
  // when the launcher is missing or verb or file is empty.
  virtual intptr_t RunAsDesktopUser(const std::string& verb, const std::string& file, int arg1,
                                    int arg2, int arg3) = 0;
};

// The process-wide logger, created (and the SDK loaded) on the first call.
// Never null.
ILoggerServer* GetLoggerServer();
