// Test support: the SDK components loaded the way the installer loads them,
// by full path with LoadLibraryW and every export by its plain name.
#pragma once

#include <windows.h>

#include <string>

#include "sys/unique_handle.h"
#include "vexa_api.h"

struct VexaApi {
  vexaCreate_t create = nullptr;
  vexaFree_t free = nullptr;
  vexaSetApplyKey_t setApplyKey = nullptr;
  vexaSetAppInfo_t setAppInfo = nullptr;
  vexaSetMidVersion_t setMidVersion = nullptr;
  vexaSetHostInfo_t setHostInfo = nullptr;
  vexaSetSensorUrl_t setSensorUrl = nullptr;
  vexaSetPubCertificate_t setPubCertificate = nullptr;
  vexaSetPriCcertificate_t setPriCcertificate = nullptr;
  vexaEnableSandbox_t enableSandbox = nullptr;
  vexaSetNetProtocol_t setNetProtocol = nullptr;
  vexaSetURLVersion_t setURLVersion = nullptr;
  vexaEnableCrashReport_t enableCrashReport = nullptr;
  vexaCLTCreate_t recordCreate = nullptr;
  vexaCLTWriteInt_t writeInt = nullptr;
  vexaCLTWriteData_t writeData = nullptr;
  vexaCLTSensorWriteEvent_t writeEvent = nullptr;
  vexaCLTSensorWriteIntProperties_t writeIntProperty = nullptr;
  vexaCLTSensorWriteBoolProperties_t writeBoolProperty = nullptr;
  vexaCLTSensorWriteStringProperties_t writeStringProperty = nullptr;
  vexaCLTCommit_t commit = nullptr;
  vexaCLTFree_t recordFree = nullptr;
  vexaMid_t mid = nullptr;
  vexaMidEx_t midEx = nullptr;
  vexaOpenUrl_t openUrl = nullptr;
  vexaBuildHttpData_t buildHttpData = nullptr;
  vexaDecryptData_t decryptData = nullptr;
  vexaDataFree_t dataFree = nullptr;
};

// Loads `folder` + "Vexa.dll" (folder ends in a backslash) and every export.
// False, with `missing` naming the first export not found (or the DLL),
// when anything is absent. The module stays loaded in `module`.
bool LoadVexa(const std::wstring& folder, UniqueModule& module, VexaApi& api, std::string& missing);

// The export `name` of `module` as the function pointer type F; null when absent.
template <typename F>
F ExportOf(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
