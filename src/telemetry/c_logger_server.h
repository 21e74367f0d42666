// CLoggerServer: ILoggerServer over the SDK that LoadSdk bound.
#pragma once

#include <atomic>
#include <map>

#include "sys/xmutex.h"
#include "telemetry/logger_server.h"
#include "telemetry/sdk_loader.h"

class CLoggerServer final : public ILoggerServer {
 public:
  // Unpacks the SDK embedded in the running program and loads it; any failure
  // leaves a logger that sends nothing.
  static std::unique_ptr<CLoggerServer> CreateFromResources();
  // Loads the SDK from a folder that already holds Vexa.dll and Ostrel.dll.
  static std::unique_ptr<CLoggerServer> CreateFromFolder(const std::wstring& folder);

  bool ReportAction(const std::string& pageCode, const std::string& actionCode,
                    const std::string& detail) override;
  bool ReportRunState(int32_t state, const std::string& text1, const std::string& text2,
                      const std::string& text3, const std::string& text4,
                      std::vector<std::string> files) override;
  bool SendEvent(const std::string& name) override;
  void ClearProperties() override;
  void SetIntProperty(const std::string& key, int32_t value) override;
  void SetBoolProperty(const std::string& key, bool value) override;
  void SetStringProperty(const std::string& key, const std::string& value) override;
  bool ReportBasic(int32_t number, const std::string& text1, const std::string& text2,
                   const std::string& text3) override;
  std::string BuildRequest(int32_t selector, const std::string& body) override;
  std::string DecryptReply(const std::string& data) override;
  std::string GetMachineId() override;
  std::string GetMachineIdEx(int32_t number) override;
  bool EnsureHandle() override;
  bool ReleaseHandle() override;
  bool OpenUrl(const std::string& url) override;
  intptr_t RunAsDesktopUser(const std::string& verb, const std::string& file, int arg1, int arg2,
                            int arg3) override;

  const std::wstring& SdkLibraryPath() const { return sdk_.sdkLibraryPath; }
  const std::wstring& LauncherLibraryPath() const { return sdk_.launcherLibraryPath; }

 private:
  CLoggerServer() = default;

  // Creates a record of kind, lets write fill it, commits and frees it; false
  // when the SDK cannot take records. Holds the lock for the whole conversation.
  template <typename Writer>
  bool SendRecord(int kind, Writer write);
  void WriteText(VexaRecord record, int field, const std::string& text);
  std::string TakeBuffer(uint8_t* buffer, int length);

  LoadedSdk sdk_;
  CXMutex lock_;
  // The property maps have a lock of their own: events are built from several
  // threads, and unguarded map inserts from two threads corrupt the heap. It is
  // only ever taken inside lock_ or alone, never the other way round.
  CXMutex propertiesLock_;
  std::map<std::string, int32_t> intProperties_;
  std::map<std::string, bool> boolProperties_;
  std::map<std::string, std::string> stringProperties_;
};
