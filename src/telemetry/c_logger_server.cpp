#include "telemetry/c_logger_server.h"

#include <stdexcept>

#include "sys/file_ops.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"

namespace {

// Numbers the events of the process; advances only for records that were created.
std::atomic<int32_t> eventCounter{0};

int32_t NextSequenceNumber() {
  const int32_t counter = eventCounter.fetch_add(1);
  return static_cast<int32_t>(NowUnixSeconds() % 10000000) * 100 + counter % 100;
}

}  // namespace

std::unique_ptr<CLoggerServer> CLoggerServer::CreateFromResources() {
  std::unique_ptr<CLoggerServer> logger(new CLoggerServer());
  try {
    const std::wstring archive = ExtractSdkArchive();
    const std::wstring folder = PrepareSdkFolder(archive);
    LoadSdk(logger->sdk_, folder);
  } catch (...) {
    // Without the SDK the installer runs unchanged, only silently.
  }
  return logger;
}

std::unique_ptr<CLoggerServer> CLoggerServer::CreateFromFolder(const std::wstring& folder) {
  std::unique_ptr<CLoggerServer> logger(new CLoggerServer());
  try {
    LoadSdk(logger->sdk_, folder);
  } catch (...) {
  }
  return logger;
}

template <typename Writer>
bool CLoggerServer::SendRecord(int kind, Writer write) {
  CXMutexLock guard(lock_);
  if (!sdk_.report || !sdk_.core || !sdk_.core->handle) return false;
  const SdkReportTable& report = *sdk_.report;
  VexaRecord record = nullptr;
  if (report.vexaCLTCreate(sdk_.core->handle, kind, &record) != 0) return false;
  write(report, record);
  report.vexaCLTCommit(record);
  report.vexaCLTFree(record);
  return true;
}

void CLoggerServer::WriteText(VexaRecord record, int field, const std::string& text) {
  if (text.empty()) return;
  sdk_.report->vexaCLTWriteData(record, field, text.data(), static_cast<int>(text.size()));
}

bool CLoggerServer::ReportAction(const std::string& pageCode, const std::string& actionCode,
                                 const std::string& detail) {
  return SendRecord(VEXA_RECORD_ACTION, [&](const SdkReportTable&, VexaRecord record) {
    WriteText(record, 10, pageCode);
    WriteText(record, 11, actionCode);
    WriteText(record, 12, detail);
  });
}

bool CLoggerServer::ReportRunState(int32_t state, const std::string& text1, const std::string& text2,
                                   const std::string& text3, const std::string& text4,
                                   std::vector<std::string> files) {
  return SendRecord(VEXA_RECORD_RUN_STATE, [&](const SdkReportTable& report, VexaRecord record) {
    report.vexaCLTWriteInt(record, 50, state);
    WriteText(record, 51, text1);
    WriteText(record, 52, text2);
    WriteText(record, 53, text3);
    WriteText(record, 54, text4);
    for (const std::string& file : files) {
      if (!file.empty() && FileExists(AnsiToWide(file))) WriteText(record, 55, file);
    }
  });
}

bool CLoggerServer::ReportBasic(int32_t number, const std::string& text1, const std::string& text2,
                                const std::string& text3) {
  return SendRecord(VEXA_RECORD_BASIC, [&](const SdkReportTable& report, VexaRecord record) {
    report.vexaCLTWriteInt(record, 1, number);
    WriteText(record, 2, text1);
    WriteText(record, 3, text2);
    WriteText(record, 4, text3);
  });
}

bool CLoggerServer::SendEvent(const std::string& name) {
  return SendRecord(VEXA_RECORD_EVENT, [&](const SdkReportTable& report, VexaRecord record) {
    report.vexaCLTSensorWriteEvent(record, name.c_str(), NextSequenceNumber());
    CXMutexLock properties(propertiesLock_);
    for (const auto& [key, value] : intProperties_)
      report.vexaCLTSensorWriteIntProperties(record, key.c_str(), value);
    for (const auto& [key, value] : boolProperties_)
      report.vexaCLTSensorWriteBoolProperties(record, key.c_str(), value ? 1 : 0);
    for (const auto& [key, value] : stringProperties_)
      report.vexaCLTSensorWriteStringProperties(record, key.c_str(), value.c_str());
  });
}

void CLoggerServer::ClearProperties() {
  CXMutexLock properties(propertiesLock_);
  intProperties_.clear();
  boolProperties_.clear();
  stringProperties_.clear();
}

// insert() keeps the value already pending for a key: the first one wins.
void CLoggerServer::SetIntProperty(const std::string& key, int32_t value) {
  CXMutexLock properties(propertiesLock_);
  intProperties_.insert({key, value});
}

void CLoggerServer::SetBoolProperty(const std::string& key, bool value) {
  CXMutexLock properties(propertiesLock_);
  boolProperties_.insert({key, value});
}

void CLoggerServer::SetStringProperty(const std::string& key, const std::string& value) {
  CXMutexLock properties(propertiesLock_);
  stringProperties_.insert({key, value});
}

std::string CLoggerServer::TakeBuffer(uint8_t* buffer, int length) {
  if (!buffer) return {};
  std::string bytes;
  if (length > 0) bytes.assign(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
  if (sdk_.utility->vexaDataFree) sdk_.utility->vexaDataFree(buffer);
  return bytes;
}

std::string CLoggerServer::BuildRequest(int32_t selector, const std::string& body) {
  CXMutexLock guard(lock_);
  try {
    if (!sdk_.utility || !sdk_.utility->vexaBuildHttpData) return {};
    int length = 0;
    uint8_t* sealed = sdk_.utility->vexaBuildHttpData(
        selector, reinterpret_cast<const uint8_t*>(body.data()), static_cast<int>(body.size()), &length, 0,
        "/v1.1");
    return TakeBuffer(sealed, length);
  } catch (...) {
    return {};
  }
}

std::string CLoggerServer::DecryptReply(const std::string& data) {
  CXMutexLock guard(lock_);
  try {
    if (!sdk_.utility || !sdk_.utility->vexaDecryptData) return {};
    int length = 0;
    uint8_t* plain = sdk_.utility->vexaDecryptData(reinterpret_cast<const uint8_t*>(data.data()),
                                                   static_cast<int>(data.size()), &length);
    return TakeBuffer(plain, length);
  } catch (...) {
    return {};
  }
}

std::string CLoggerServer::GetMachineId() {
  CXMutexLock guard(lock_);
  if (!sdk_.utility || !sdk_.utility->vexaMid) return {};
  const char* id = sdk_.utility->vexaMid();
  return id ? id : "";
}

std::string CLoggerServer::GetMachineIdEx(int32_t number) {
  CXMutexLock guard(lock_);
  if (!sdk_.utility || !sdk_.utility->vexaMidEx) return {};
  const char* id = sdk_.utility->vexaMidEx(number);
  return id ? id : "";
}

bool CLoggerServer::EnsureHandle() {
  CXMutexLock guard(lock_);
  try {
    if (!sdk_.core) throw std::runtime_error("VEXA not init");
    if (!sdk_.core->handle) InitialiseSdk(*sdk_.core);
  } catch (...) {
  }
  return false;
}

bool CLoggerServer::ReleaseHandle() {
  CXMutexLock guard(lock_);
  if (sdk_.core && sdk_.core->handle && sdk_.core->vexaFree) {
    sdk_.core->vexaFree(sdk_.core->handle);
    sdk_.core->handle = nullptr;
  }
  return true;
}

bool CLoggerServer::OpenUrl(const std::string& url) {
  if (!sdk_.utility || !sdk_.utility->vexaOpenUrl || url.empty()) return false;
  sdk_.utility->vexaOpenUrl(url.c_str());
  return true;
}

intptr_t CLoggerServer::RunAsDesktopUser(const std::string& verb, const std::string& file, int arg1,
                                         int arg2, int arg3) {
  if (!sdk_.launcher || !sdk_.launcher->ShellExecAsUser || verb.empty() || file.empty()) return 0;
  return sdk_.launcher->ShellExecAsUser(verb.c_str(), file.c_str(), arg1, arg2, arg3);
}

ILoggerServer* GetLoggerServer() {
  // Destroyed at process exit; the SDK libraries stay loaded and its handle is
  // not freed then.
  static const std::unique_ptr<CLoggerServer> instance = CLoggerServer::CreateFromResources();
  return instance.get();
}
