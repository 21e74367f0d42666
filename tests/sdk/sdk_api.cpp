#include "sdk/sdk_api.h"

namespace {

template <typename F>
bool Bind(HMODULE module, const char* name, F& slot, std::string& missing) {
  slot = ExportOf<F>(module, name);
  if (!slot && missing.empty()) missing = name;
  return slot != nullptr;
}

}  // namespace

bool LoadVexa(const std::wstring& folder, UniqueModule& module, VexaApi& api, std::string& missing) {
  missing.clear();
  module.reset(::LoadLibraryW((folder + L"Vexa.dll").c_str()));
  if (!module) {
    missing = "Vexa.dll";
    return false;
  }
  HMODULE m = module.get();
  Bind(m, "vexaCreate", api.create, missing);
  Bind(m, "vexaFree", api.free, missing);
  Bind(m, "vexaSetApplyKey", api.setApplyKey, missing);
  Bind(m, "vexaSetAppInfo", api.setAppInfo, missing);
  Bind(m, "vexaSetMidVersion", api.setMidVersion, missing);
  Bind(m, "vexaSetHostInfo", api.setHostInfo, missing);
  Bind(m, "vexaSetSensorUrl", api.setSensorUrl, missing);
  Bind(m, "vexaSetPubCertificate", api.setPubCertificate, missing);
  Bind(m, "vexaSetPriCcertificate", api.setPriCcertificate, missing);
  Bind(m, "vexaEnableSandbox", api.enableSandbox, missing);
  Bind(m, "vexaSetNetProtocol", api.setNetProtocol, missing);
  Bind(m, "vexaSetURLVersion", api.setURLVersion, missing);
  Bind(m, "vexaEnableCrashReport", api.enableCrashReport, missing);
  Bind(m, "vexaCLTCreate", api.recordCreate, missing);
  Bind(m, "vexaCLTWriteInt", api.writeInt, missing);
  Bind(m, "vexaCLTWriteData", api.writeData, missing);
  Bind(m, "vexaCLTSensorWriteEvent", api.writeEvent, missing);
  Bind(m, "vexaCLTSensorWriteIntProperties", api.writeIntProperty, missing);
  Bind(m, "vexaCLTSensorWriteBoolProperties", api.writeBoolProperty, missing);
  Bind(m, "vexaCLTSensorWriteStringProperties", api.writeStringProperty, missing);
  Bind(m, "vexaCLTCommit", api.commit, missing);
  Bind(m, "vexaCLTFree", api.recordFree, missing);
  Bind(m, "vexaMid", api.mid, missing);
  Bind(m, "vexaMidEx", api.midEx, missing);
  Bind(m, "vexaOpenUrl", api.openUrl, missing);
  Bind(m, "vexaBuildHttpData", api.buildHttpData, missing);
  Bind(m, "vexaDecryptData", api.decryptData, missing);
  Bind(m, "vexaDataFree", api.dataFree, missing);
  return missing.empty();
}
