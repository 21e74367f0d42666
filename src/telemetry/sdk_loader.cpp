#include "telemetry/sdk_loader.h"

#include <windows.h>

#include <stdexcept>

#include "deployment.h"
#include "sys/file_ops.h"
#include "sys/file_stream.h"
#include "sys/cache_root.h"
#include "sys/work_folder.h"
#include "sys/zip_extract.h"
#include "telemetry/crash_report.h"

namespace {

constexpr int SDK_ARCHIVE_RESOURCE = 105;
constexpr char APP_ID[] = "52718340";
constexpr char APP_KEY[] = "D3E07A19C4F2B8605E1D97A3C0B4F728";
constexpr char APP_NAME[] = "win_installer";
constexpr char SENSOR_PATH[] = "/sa?project=production";

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A required entry point: raises message when the export is missing.
template <typename Function>
void Require(Function& slot, HMODULE module, const char* name, const std::string& message) {
  slot = Lookup<Function>(module, name);
  if (!slot) throw std::runtime_error(message);
}

std::unique_ptr<SdkCoreTable> BindCore(HMODULE module) {
  auto core = std::make_unique<SdkCoreTable>();
  Require(core->vexaCreate, module, "vexaCreate", "Get vexaCreate address failed");
  Require(core->vexaSetApplyKey, module, "vexaSetApplyKey", "Get vexaSetAppKey address failed");
  Require(core->vexaSetAppInfo, module, "vexaSetAppInfo", "Get vexaSetAppInfo address failed");
  Require(core->vexaSetPubCertificate, module, "vexaSetPubCertificate",
          "Get vexaSetPubCertificate address failed");
  Require(core->vexaSetPriCcertificate, module, "vexaSetPriCcertificate",
          "Get vexaSetPriCcertificate address failed");
  Require(core->vexaSetHostInfo, module, "vexaSetHostInfo", "Get vexaSetHostInfo address failed");
  Require(core->vexaSetSensorUrl, module, "vexaSetSensorUrl", "Get vexaSetSensorUrl failed");
  core->vexaSetMidVersion = Lookup<vexaSetMidVersion_t>(module, "vexaSetMidVersion");
  core->vexaEnableSandbox = Lookup<vexaEnableSandbox_t>(module, "vexaEnableSandbox");
  core->vexaEnableCrashReport = Lookup<vexaEnableCrashReport_t>(module, "vexaEnableCrashReport");
  core->vexaFree = Lookup<vexaFree_t>(module, "vexaFree");
  core->vexaSetNetProtocol = Lookup<vexaSetNetProtocol_t>(module, "vexaSetNetProtocol");
  core->vexaSetURLVersion = Lookup<vexaSetURLVersion_t>(module, "vexaSetURLVersion");
  return core;
}

template <typename Function>
void RequireReport(Function& slot, HMODULE module, const char* name) {
  Require(slot, module, name, std::string("Get ") + name + " address error");
}

std::unique_ptr<SdkReportTable> BindReport(HMODULE module) {
  auto report = std::make_unique<SdkReportTable>();
  RequireReport(report->vexaCLTCreate, module, "vexaCLTCreate");
  RequireReport(report->vexaCLTSensorWriteEvent, module, "vexaCLTSensorWriteEvent");
  RequireReport(report->vexaCLTSensorWriteIntProperties, module, "vexaCLTSensorWriteIntProperties");
  RequireReport(report->vexaCLTSensorWriteBoolProperties, module, "vexaCLTSensorWriteBoolProperties");
  RequireReport(report->vexaCLTSensorWriteStringProperties, module,
                "vexaCLTSensorWriteStringProperties");
  RequireReport(report->vexaCLTWriteInt, module, "vexaCLTWriteInt");
  RequireReport(report->vexaCLTWriteData, module, "vexaCLTWriteData");
  RequireReport(report->vexaCLTCommit, module, "vexaCLTCommit");
  RequireReport(report->vexaCLTFree, module, "vexaCLTFree");
  return report;
}

std::unique_ptr<SdkUtilityTable> BindUtility(HMODULE module) {
  auto utility = std::make_unique<SdkUtilityTable>();
  utility->vexaBuildHttpData = Lookup<vexaBuildHttpData_t>(module, "vexaBuildHttpData");
  utility->vexaDecryptData = Lookup<vexaDecryptData_t>(module, "vexaDecryptData");
  utility->vexaDataFree = Lookup<vexaDataFree_t>(module, "vexaDataFree");
  utility->vexaMid = Lookup<vexaMid_t>(module, "vexaMid");
  utility->vexaMidEx = Lookup<vexaMidEx_t>(module, "vexaMidEx");
  utility->vexaOpenUrl = Lookup<vexaOpenUrl_t>(module, "vexaOpenUrl");
  return utility;
}

// The libraries stay loaded for the life of the process: the SDK's threads and
// the crash handler run from them.
HMODULE LoadFromFolder(const std::wstring& path) {
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

std::wstring ExtractSdkArchive() {
  HMODULE self = GetModuleHandleW(nullptr);
  if (!self) throw std::runtime_error("Get module handle failed");
  HRSRC resource = FindResourceW(self, MAKEINTRESOURCEW(SDK_ARCHIVE_RESOURCE), L"BinarySystem");
  if (!resource) throw std::runtime_error("VEXA not found resource");
  const DWORD size = SizeofResource(self, resource);
  if (size == 0) throw std::runtime_error("VEXA resource is empty");
  HGLOBAL loaded = LoadResource(self, resource);
  if (!loaded) throw std::runtime_error("Load VEXA resource failed");

  const std::wstring archivePath = GetWorkFolder() + L"Vexa.zip";
  if (const void* data = LockResource(loaded)) {
    CFileStream stream(OpenFileHandle(OpenModeCreate, archivePath));
    stream.Write(data, size);
  }
  if (!FileExists(archivePath)) throw std::runtime_error("Save VEXA resource failed");
  return archivePath;
}

std::wstring SdkCacheFolder() { return GetCacheRoot() + L"Vexa\\"; }

std::wstring PrepareSdkFolder(const std::wstring& archivePath) {
  const std::wstring folder = SdkCacheFolder();
  if (!DirectoryExists(folder) && !CreateDirectoryChain(folder))
    throw std::runtime_error("Create VEXA cache path failed");
  ExtractZipQuiet(folder, archivePath);
  return folder;
}

void LoadSdk(LoadedSdk& sdk, const std::wstring& folder) {
  sdk.sdkLibraryPath = folder + L"Vexa.dll";
  sdk.launcherLibraryPath = folder + L"Ostrel.dll";

  HMODULE vexa = LoadFromFolder(sdk.sdkLibraryPath);
  if (!vexa) throw std::runtime_error("Load VEXA.dll failed");
  auto core = BindCore(vexa);
  InitialiseSdk(*core);
  sdk.core = std::move(core);

  try {
    sdk.report = BindReport(vexa);
  } catch (const std::exception&) {
    // Without the report table nothing is sent; the utilities still work.
  }
  sdk.utility = BindUtility(vexa);

  HMODULE ostrel = LoadFromFolder(sdk.launcherLibraryPath);
  if (!ostrel) throw std::runtime_error("Load Ostrel.dll failed");
  sdk.launcher = std::make_unique<SdkLauncherTable>();
  sdk.launcher->ShellExecAsUser = Lookup<ShellExecAsUser_t>(ostrel, "ShellExecAsUser");
}

void InitialiseSdk(SdkCoreTable& core) {
  if (core.vexaCreate(&core.handle) != 0) throw std::runtime_error("create VEXA handle failed");
  if (core.vexaSetApplyKey(APP_ID, APP_KEY) != 0) throw std::runtime_error("SetAppkey failed");
  if (core.vexaSetAppInfo(APP_NAME, 0, 0) != 0) throw std::runtime_error("SetAppInfo failed");
  if (core.vexaSetHostInfo(deployment::ANALYTICS_HOST, deployment::ANALYTICS_PORT) != 0)
    throw std::runtime_error("SetHostInfo failed");
  if (core.vexaSetSensorUrl(SENSOR_PATH) != 0) throw std::runtime_error("SetSensorUrl failed");
  if (core.vexaSetMidVersion) core.vexaSetMidVersion(1);
  core.vexaSetPubCertificate(deployment::SDK_PUBLIC_KEY);
  core.vexaSetPriCcertificate(deployment::SDK_PRIVATE_KEY);
  if (core.vexaEnableCrashReport) core.vexaEnableCrashReport(OnSdkCrash, &core);
}
