#include "sys/os_version.h"

#include "sys/system_library.h"

namespace {

using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
using GetNativeSystemInfoFn = void(WINAPI*)(SYSTEM_INFO*);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);

constexpr int kNotComputed = -1;

int& CachedOsVersionCode() {
  static int code = kNotComputed;
  return code;
}

int ComputeOsVersionCode() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return OS_OTHER;
  const ReportedVersion reported{info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor};
  return OsVersionCodeFor(reported, [] {
    DWORD major = 0, minor = 0, build = 0;
    GetNtVersionNumbers(major, minor, build);
    return major;
  });
}

}  // namespace

static_assert(sizeof(OSVERSIONINFOEXW) == 284, "the extended version structure");

void GetNtVersionNumbers(DWORD& major, DWORD& minor, DWORD& build) {
  static const auto query =
      SystemFunctionAs<RtlGetNtVersionNumbersFn>(L"ntdll.dll", "RtlGetNtVersionNumbers");
  if (query == nullptr) return;
  query(&major, &minor, &build);
}

int GetOsVersionCode() {
  int& code = CachedOsVersionCode();
  if (code != kNotComputed) return code;
  code = OS_OTHER;
  code = ComputeOsVersionCode();
  return code;
}

bool Is64BitWindows() {
  // The native architecture is the true answer; IsWow64Process only matters
  // where GetNativeSystemInfo does not exist (before Windows XP).
  if (const auto nativeInfo =
          SystemFunctionAs<GetNativeSystemInfoFn>(L"kernel32.dll", "GetNativeSystemInfo")) {
    SYSTEM_INFO info{};
    nativeInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
  }
  const auto isWow64 = SystemFunctionAs<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
  if (isWow64 == nullptr) return false;
  BOOL wow64 = FALSE;
  return isWow64(::GetCurrentProcess(), &wow64) && wow64;
}
