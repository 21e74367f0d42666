// Ostrel.dll: ShellExecAsUser starts a program or opens a document or URL as
// the desktop user. An elevated caller (an installer) would otherwise hand
// its administrator token to the program it starts; asking the desktop
// shell to start it gives the program the shell's own, unelevated token.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <type_traits>

#include "common/export_guard.h"
#include "ostrel/desktop_shell.h"
#include "sys/text_convert.h"
#include "sys/unique_handle.h"
#include "vexa_api.h"

namespace {

// What ShellExecAsUser returns when the desktop shell accepted the request
// (the shell gives no instance handle; like ShellExecute, above 32 is success).
constexpr intptr_t kShellAccepted = 42;
// What it returns for missing arguments: ShellExecute's "out of resources".
constexpr intptr_t kInvalidArguments = 0;

bool IsElevated() {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
  UniqueKernelHandle token(rawToken);
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  // Before Vista there is no elevation: the question fails and the answer is no.
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return false;
  return elevation.TokenIsElevated != 0;
}

class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

  // A thread already in the multithreaded apartment can use COM too.
  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

intptr_t PlainShellExecute(const std::wstring& verb, const std::wstring& file) {
  const HINSTANCE result = ::ShellExecuteW(nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<intptr_t>(result);
}

}  // namespace

extern "C" {

// verb and file are UTF-8 (a null verb means the default verb); the three
// further arguments are reserved and should be 0. Returns ShellExecute's
// result (above 32 on success), kShellAccepted when the desktop shell took
// the request, 0 for a null or empty file.
intptr_t VEXA_CALL ShellExecAsUser(const char* verb, const char* file, int /*arg1*/, int /*arg2*/, int /*arg3*/) {
  return Guarded<intptr_t>(kInvalidArguments, [&]() -> intptr_t {
    if (!file || !*file) return kInvalidArguments;
    const std::wstring wideFile = Utf8ToWide(file);
    const std::wstring wideVerb = verb ? Utf8ToWide(verb) : std::wstring();
    if (wideFile.empty()) return kInvalidArguments;
    ComApartment com;
    if (com.Usable() && IsElevated() && ShellExecuteThroughDesktop(wideVerb, wideFile)) return kShellAccepted;
    // Not elevated (the caller's token is the user's already), or no desktop
    // shell to ask: start it ourselves.
    return PlainShellExecute(wideVerb, wideFile);
  });
}

}  // extern "C"

static_assert(std::is_same<decltype(&ShellExecAsUser), ShellExecAsUser_t>::value, "ShellExecAsUser");
