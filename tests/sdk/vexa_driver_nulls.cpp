// vexa_driver nulls: every export with null, empty or refused arguments
// gives its documented failure value and does not crash.
#include "sdk/vexa_driver_nulls.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "sdk/sdk_api.h"

namespace {

class Checker {
 public:
  void Expect(bool condition, const char* what) {
    if (condition) return;
    ++failures_;
    std::printf("error=%s\n", what);
  }
  int Failures() const { return failures_; }

 private:
  int failures_ = 0;
};

bool IsHex32(const char* text) {
  if (!text || std::strlen(text) != 32) return false;
  return std::strspn(text, "0123456789abcdef") == 32;
}

void CheckSettings(const VexaApi& api, Checker& check) {
  check.Expect(api.create(nullptr) == VEXA_ERROR_ARGUMENT, "vexaCreate(null)");
  check.Expect(api.setApplyKey(nullptr, "key") != VEXA_OK, "vexaSetApplyKey(null, key)");
  check.Expect(api.setApplyKey("id", nullptr) != VEXA_OK, "vexaSetApplyKey(id, null)");
  check.Expect(api.setApplyKey("", "key") != VEXA_OK, "vexaSetApplyKey(empty, key)");
  check.Expect(api.setAppInfo(nullptr, 0, 0) != VEXA_OK, "vexaSetAppInfo(null)");
  check.Expect(api.setHostInfo(nullptr, 80) != VEXA_OK, "vexaSetHostInfo(null)");
  check.Expect(api.setHostInfo("host", 0) != VEXA_OK, "vexaSetHostInfo(port 0)");
  check.Expect(api.setHostInfo("host", 70000) != VEXA_OK, "vexaSetHostInfo(port 70000)");
  check.Expect(api.setHostInfo("a host\r\n", 80) != VEXA_OK, "vexaSetHostInfo(line break)");
  check.Expect(api.setSensorUrl(nullptr) != VEXA_OK, "vexaSetSensorUrl(null)");
  check.Expect(api.setSensorUrl("sa") != VEXA_OK, "vexaSetSensorUrl(relative)");
  check.Expect(api.setSensorUrl("/sa\r\nX-Injected: 1") != VEXA_OK, "vexaSetSensorUrl(line break)");
  check.Expect(api.setPubCertificate(nullptr) != VEXA_OK, "vexaSetPubCertificate(null)");
  check.Expect(api.setPubCertificate("not base64!") != VEXA_OK, "vexaSetPubCertificate(garbage)");
  check.Expect(api.setPriCcertificate(nullptr) != VEXA_OK, "vexaSetPriCcertificate(null)");
  check.Expect(api.setPriCcertificate(TESSARO_TEST_PUBLIC_KEY) != VEXA_OK, "vexaSetPriCcertificate(public key)");
  check.Expect(api.setNetProtocol(0) == VEXA_OK && api.setNetProtocol(1) != VEXA_OK, "vexaSetNetProtocol");
  check.Expect(api.setURLVersion(nullptr) != VEXA_OK, "vexaSetURLVersion(null)");
  check.Expect(api.enableSandbox(1) == VEXA_OK, "vexaEnableSandbox");
  api.setMidVersion(0);
  api.setMidVersion(-5);
  api.free(nullptr);
  int unrelated = 0;
  api.free(&unrelated);  // not a handle: ignored
}

void CheckRecords(const VexaApi& api, Checker& check) {
  VexaRecord record = &record;
  check.Expect(api.recordCreate(nullptr, VEXA_RECORD_EVENT, &record) == VEXA_ERROR_ARGUMENT && !record,
               "vexaCLTCreate(null handle)");
  VexaHandle handle = nullptr;
  check.Expect(api.create(&handle) == VEXA_OK && handle, "vexaCreate");
  check.Expect(api.recordCreate(handle, 3, &record) == VEXA_ERROR_ARGUMENT && !record, "vexaCLTCreate(kind 3)");
  check.Expect(api.recordCreate(handle, VEXA_RECORD_EVENT, nullptr) == VEXA_ERROR_ARGUMENT,
               "vexaCLTCreate(null out)");
  check.Expect(api.recordCreate(handle, VEXA_RECORD_EVENT, &record) == VEXA_OK && record, "vexaCLTCreate");
  api.writeInt(nullptr, 1, 1);
  api.writeData(nullptr, 1, "x", 1);
  api.writeData(record, 1, nullptr, 5);
  api.writeData(record, 1, "x", -1);
  api.writeEvent(record, nullptr, 1);
  api.writeEvent(nullptr, "name", 1);
  api.writeIntProperty(record, nullptr, 1);
  api.writeBoolProperty(record, nullptr, 1);
  api.writeStringProperty(record, nullptr, "value");
  api.writeStringProperty(record, "key", nullptr);
  check.Expect(api.commit(nullptr) == VEXA_ERROR_ARGUMENT, "vexaCLTCommit(null)");
  check.Expect(api.commit(record) == VEXA_OK, "vexaCLTCommit");
  check.Expect(api.commit(record) == VEXA_ERROR_STATE, "vexaCLTCommit twice");
  api.recordFree(record);
  api.recordFree(record);  // a second free is ignored
  api.writeInt(record, 1, 1);
  check.Expect(api.commit(record) == VEXA_ERROR_ARGUMENT, "vexaCLTCommit after free");
  api.recordFree(nullptr);
  api.free(handle);
  check.Expect(api.recordCreate(handle, VEXA_RECORD_EVENT, &record) == VEXA_ERROR_ARGUMENT,
               "vexaCLTCreate(freed handle)");
  api.free(handle);  // a second free is ignored
}

void CheckUtilities(const VexaApi& api, Checker& check) {
  check.Expect(IsHex32(api.mid()), "vexaMid");
  check.Expect(IsHex32(api.midEx(1)) && std::strcmp(api.midEx(1), api.mid()) == 0, "vexaMidEx(1)");
  check.Expect(IsHex32(api.midEx(2)) && std::strcmp(api.midEx(2), api.mid()) != 0, "vexaMidEx(2)");
  check.Expect(api.midEx(0) && !*api.midEx(0) && api.midEx(-1) && !*api.midEx(-1), "vexaMidEx(0)");
  api.openUrl(nullptr);
  api.openUrl("");
  const uint8_t data[4] = {1, 2, 3, 4};
  int length = 77;
  check.Expect(!api.buildHttpData(1, data, 4, nullptr, 0, "/v1.1"), "vexaBuildHttpData(null out)");
  check.Expect(!api.buildHttpData(1, nullptr, 4, &length, 0, "/v1.1") && length == 0,
               "vexaBuildHttpData(null bytes)");
  length = 77;
  check.Expect(!api.buildHttpData(1, data, -1, &length, 0, "/v1.1") && length == 0,
               "vexaBuildHttpData(negative length)");
  // No key given yet in this process.
  check.Expect(!api.buildHttpData(1, data, 4, &length, 0, "/v1.1"), "vexaBuildHttpData(no key)");
  length = 77;
  check.Expect(!api.decryptData(nullptr, 4, &length) && length == 0, "vexaDecryptData(null)");
  check.Expect(!api.decryptData(data, 4, nullptr), "vexaDecryptData(null out)");
  check.Expect(!api.decryptData(data, 4, &length) && length == 0, "vexaDecryptData(garbage)");
  api.dataFree(nullptr);
}

void CheckCompanions(const std::wstring& sdk, Checker& check) {
  UniqueModule ostrel(::LoadLibraryW((sdk + L"Ostrel.dll").c_str()));
  const auto shellExec = ostrel ? ExportOf<ShellExecAsUser_t>(ostrel.get(), "ShellExecAsUser") : nullptr;
  check.Expect(shellExec != nullptr, "ShellExecAsUser missing");
  if (shellExec) {
    check.Expect(shellExec("open", nullptr, 0, 0, 0) == 0, "ShellExecAsUser(null file)");
    check.Expect(shellExec("open", "", 0, 0, 0) == 0, "ShellExecAsUser(empty file)");
  }
  UniqueModule nquid(::LoadLibraryW((sdk + L"NQUID.dll").c_str()));
  const auto getNquid = nquid ? ExportOf<GetNQUID_t>(nquid.get(), "GetNQUID") : nullptr;
  check.Expect(getNquid != nullptr, "GetNQUID missing");
  if (!getNquid) return;
  char small[10] = "unchanged";
  check.Expect(getNquid(nullptr, 33) != 0, "GetNQUID(null)");
  check.Expect(getNquid(small, 0) != 0 && small[0] == 'u', "GetNQUID(size 0)");
  check.Expect(getNquid(small, sizeof(small)) != 0 && small[0] == '\0', "GetNQUID(small buffer)");
}

}  // namespace

int CheckNullArguments(const VexaApi& api, const std::wstring& sdk) {
  Checker check;
  CheckSettings(api, check);
  CheckRecords(api, check);
  CheckUtilities(api, check);
  CheckCompanions(sdk, check);
  std::printf("failures=%d\n", check.Failures());
  return check.Failures() == 0 ? 0 : 1;
}
