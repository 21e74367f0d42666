// Vexa.dll: the handle and the settings.
#include <windows.h>

#include <string>
#include <type_traits>

#include "common/export_guard.h"
#include "vexa/dll/client_registry.h"
#include "vexa/dll/crash_report.h"
#include "vexa/dll/vexa_settings.h"
#include "vexa_api.h"

namespace {

constexpr DWORD FREE_FLUSH_MS = 800;

std::string TextOf(const char* text) { return text ? std::string(text) : std::string(); }

int ResultOf(bool accepted) { return accepted ? VEXA_OK : VEXA_ERROR_ARGUMENT; }

// Once a thread or a filter of this DLL may run, the DLL must never be
// unloaded under it: it stays until the process ends.
void PinDll() {
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinDll), &self);
}

}  // namespace

extern "C" {

int VEXA_CALL vexaCreate(VexaHandle* handle) {
  return Guarded<int>(VEXA_ERROR_INTERNAL, [&] {
    if (!handle) return VEXA_ERROR_ARGUMENT;
    *handle = nullptr;
    PinDll();
    *handle = ClientRegistry::Instance().Create();
    return *handle ? VEXA_OK : VEXA_ERROR_INTERNAL;
  });
}

// Uploads what it can within FREE_FLUSH_MS; whatever is left stays in the
// spool for the next run. The installer frees its handle as its last act, so
// this bound is what its exit may take beyond the end of the run.
void VEXA_CALL vexaFree(VexaHandle handle) {
  GuardedVoid([&] {
    std::unique_ptr<UploadWorker> worker = ClientRegistry::Instance().Take(handle);
    if (worker) worker->Flush(FREE_FLUSH_MS);
  });
}

int VEXA_CALL vexaSetApplyKey(const char* appId, const char* appKey) {
  return Guarded<int>(VEXA_ERROR_INTERNAL,
                      [&] { return ResultOf(VexaSettings::Instance().SetAppKey(TextOf(appId), TextOf(appKey))); });
}

int VEXA_CALL vexaSetAppInfo(const char* appName, int /*reserved1*/, int /*reserved2*/) {
  return Guarded<int>(VEXA_ERROR_INTERNAL, [&] { return ResultOf(VexaSettings::Instance().SetAppName(TextOf(appName))); });
}

void VEXA_CALL vexaSetMidVersion(int version) {
  GuardedVoid([&] { VexaSettings::Instance().SetMidVersion(version); });
}

int VEXA_CALL vexaSetHostInfo(const char* host, int port) {
  return Guarded<int>(VEXA_ERROR_INTERNAL, [&] {
    if (!VexaSettings::Instance().SetHost(TextOf(host), port)) return VEXA_ERROR_ARGUMENT;
    ClientRegistry::Instance().WakeAll();
    return VEXA_OK;
  });
}

int VEXA_CALL vexaSetSensorUrl(const char* path) {
  return Guarded<int>(VEXA_ERROR_INTERNAL, [&] {
    if (!VexaSettings::Instance().SetPath(TextOf(path))) return VEXA_ERROR_ARGUMENT;
    ClientRegistry::Instance().WakeAll();
    return VEXA_OK;
  });
}

int VEXA_CALL vexaSetPubCertificate(const char* publicKeyBase64) {
  return Guarded<int>(VEXA_ERROR_INTERNAL,
                      [&] { return ResultOf(VexaSettings::Instance().SetPublicKey(TextOf(publicKeyBase64))); });
}

int VEXA_CALL vexaSetPriCcertificate(const char* privateKeyBase64) {
  return Guarded<int>(VEXA_ERROR_INTERNAL,
                      [&] { return ResultOf(VexaSettings::Instance().SetPrivateKey(TextOf(privateKeyBase64))); });
}

// Records are not run in a sandbox here; accepted so that callers may ask.
int VEXA_CALL vexaEnableSandbox(int /*enable*/) { return VEXA_OK; }

// Only plain HTTP (0) is spoken.
int VEXA_CALL vexaSetNetProtocol(int protocol) { return protocol == 0 ? VEXA_OK : VEXA_ERROR_ARGUMENT; }

// The upload path is given whole by vexaSetSensorUrl; a version text is
// accepted and not used.
int VEXA_CALL vexaSetURLVersion(const char* version) { return version ? VEXA_OK : VEXA_ERROR_ARGUMENT; }

void VEXA_CALL vexaEnableCrashReport(VexaCrashCallback callback, void* context) {
  GuardedVoid([&] {
    PinDll();
    EnableCrashReport(callback, context, DllSpool().Folder());
  });
}

}  // extern "C"

// The exports must keep the call shapes the callers were built against.
static_assert(std::is_same<decltype(&vexaCreate), vexaCreate_t>::value, "vexaCreate");
static_assert(std::is_same<decltype(&vexaFree), vexaFree_t>::value, "vexaFree");
static_assert(std::is_same<decltype(&vexaSetApplyKey), vexaSetApplyKey_t>::value, "vexaSetApplyKey");
static_assert(std::is_same<decltype(&vexaSetAppInfo), vexaSetAppInfo_t>::value, "vexaSetAppInfo");
static_assert(std::is_same<decltype(&vexaSetMidVersion), vexaSetMidVersion_t>::value, "vexaSetMidVersion");
static_assert(std::is_same<decltype(&vexaSetHostInfo), vexaSetHostInfo_t>::value, "vexaSetHostInfo");
static_assert(std::is_same<decltype(&vexaSetSensorUrl), vexaSetSensorUrl_t>::value, "vexaSetSensorUrl");
static_assert(std::is_same<decltype(&vexaSetPubCertificate), vexaSetPubCertificate_t>::value, "pub");
static_assert(std::is_same<decltype(&vexaSetPriCcertificate), vexaSetPriCcertificate_t>::value, "pri");
static_assert(std::is_same<decltype(&vexaEnableSandbox), vexaEnableSandbox_t>::value, "vexaEnableSandbox");
static_assert(std::is_same<decltype(&vexaSetNetProtocol), vexaSetNetProtocol_t>::value, "vexaSetNetProtocol");
static_assert(std::is_same<decltype(&vexaSetURLVersion), vexaSetURLVersion_t>::value, "vexaSetURLVersion");
static_assert(std::is_same<decltype(&vexaEnableCrashReport), vexaEnableCrashReport_t>::value, "crash");
