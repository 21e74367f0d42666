// Vexa.dll: machine id, URL opening and sealed buffers.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "common/export_guard.h"
#include "sys/text_convert.h"
#include "vexa/core/sealer.h"
#include "vexa/dll/machine_id.h"
#include "vexa/dll/vexa_settings.h"
#include "vexa_api.h"

namespace {

// A copy in memory the caller releases with vexaDataFree; null for an
// empty result or when memory runs out.
uint8_t* HandOut(const std::string& bytes, int* outLength) {
  if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return nullptr;
  auto* buffer = static_cast<uint8_t*>(std::malloc(bytes.size()));
  if (!buffer) return nullptr;
  std::memcpy(buffer, bytes.data(), bytes.size());
  *outLength = static_cast<int>(bytes.size());
  return buffer;
}

bool IsReadable(const uint8_t* bytes, int length) { return length >= 0 && (bytes || length == 0); }

// ShellExecute may hand the URL to a shell extension that needs COM; the
// caller's thread may or may not have it.
class ComForThisCall {
 public:
  ComForThisCall() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComForThisCall() {
    if (initialised_) ::CoUninitialize();
  }
  ComForThisCall(const ComForThisCall&) = delete;
  ComForThisCall& operator=(const ComForThisCall&) = delete;

 private:
  bool initialised_;
};

}  // namespace

extern "C" {

const char* VEXA_CALL vexaMid(void) {
  return Guarded<const char*>(nullptr, [] { return MachineIdText(VexaSettings::Instance().MidVersion()); });
}

const char* VEXA_CALL vexaMidEx(int version) {
  return Guarded<const char*>("", [&] { return MachineIdText(version); });
}

void VEXA_CALL vexaOpenUrl(const char* url) {
  GuardedVoid([&] {
    if (!url || !*url) return;
    const std::wstring wide = Utf8ToWide(url);
    if (wide.empty()) return;
    ComForThisCall com;
    ::ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  });
}

// Seals the bytes for the holder of the private key that matches the key
// given to vexaSetPubCertificate (envelope in sdk/README.md).
uint8_t* VEXA_CALL vexaBuildHttpData(int selector, const uint8_t* bytes, int length, int* outLength, int /*reserved*/,
                                     const char* version) {
  if (outLength) *outLength = 0;
  if (!outLength || !IsReadable(bytes, length)) return nullptr;
  return Guarded<uint8_t*>(nullptr, [&]() -> uint8_t* {
    std::string sealed;
    const std::string data(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    if (!SealData(VexaSettings::Instance().PublicKeyDer(), selector, version ? version : "", data, sealed)) {
      return nullptr;
    }
    return HandOut(sealed, outLength);
  });
}

// Opens an envelope with the key given to vexaSetPriCcertificate. Sealed
// empty data opens to null with an out-length of 0.
uint8_t* VEXA_CALL vexaDecryptData(const uint8_t* bytes, int length, int* outLength) {
  if (outLength) *outLength = 0;
  if (!outLength || !bytes || length <= 0) return nullptr;
  return Guarded<uint8_t*>(nullptr, [&]() -> uint8_t* {
    std::string data;
    const std::string sealed(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    if (!UnsealData(VexaSettings::Instance().PrivateKeyDer(), sealed, data)) return nullptr;
    return HandOut(data, outLength);
  });
}

void VEXA_CALL vexaDataFree(void* buffer) { std::free(buffer); }

}  // extern "C"

static_assert(std::is_same<decltype(&vexaMid), vexaMid_t>::value, "vexaMid");
static_assert(std::is_same<decltype(&vexaMidEx), vexaMidEx_t>::value, "vexaMidEx");
static_assert(std::is_same<decltype(&vexaOpenUrl), vexaOpenUrl_t>::value, "vexaOpenUrl");
static_assert(std::is_same<decltype(&vexaBuildHttpData), vexaBuildHttpData_t>::value, "vexaBuildHttpData");
static_assert(std::is_same<decltype(&vexaDecryptData), vexaDecryptData_t>::value, "vexaDecryptData");
static_assert(std::is_same<decltype(&vexaDataFree), vexaDataFree_t>::value, "vexaDataFree");
