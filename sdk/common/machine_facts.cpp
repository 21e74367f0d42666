#include "common/machine_facts.h"

#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <string>

#include "sys/text_convert.h"
#include "sys/unique_handle.h"

namespace {

std::string MachineGuid() {
  HKEY raw = nullptr;
  // The 64-bit view where there is one: a 32-bit process on 64-bit Windows
  // would otherwise read the redirected key, which has no GUID.
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) {
    return {};
  }
  UniqueRegKey key(raw);
  wchar_t value[128] = {};
  DWORD type = 0;
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (::RegQueryValueExW(key.get(), L"MachineGuid", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return WideToUtf8(value);
}

std::string WindowsVolumeSerial() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  if (length < 3 || length >= MAX_PATH) return {};
  const wchar_t root[4] = {folder[0], L':', L'\\', L'\0'};
  DWORD serial = 0;
  if (!::GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return {};
  char text[16] = {};
  std::snprintf(text, sizeof(text), "%08lX", static_cast<unsigned long>(serial));
  return text;
}

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &size)) return "unknown-computer";
  return WideToUtf8(name);
}

std::string UserSidText() {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
  UniqueKernelHandle token(rawToken);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::string buffer(size, '\0');
  if (!::GetTokenInformation(token.get(), TokenUser, &buffer[0], size, &size)) return {};
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  wchar_t* text = nullptr;
  if (!::ConvertSidToStringSidW(user->User.Sid, &text)) return {};
  std::string result = WideToUtf8(text);
  ::LocalFree(text);
  return result;
}

std::string UserName() {
  wchar_t name[257] = {};
  DWORD size = 257;
  if (!::GetUserNameW(name, &size)) return {};
  return WideToUtf8(name);
}

}  // namespace

std::string StableMachineFacts() {
  std::string guid = MachineGuid();
  if (guid.empty()) guid = ComputerName();
  return guid + "|" + WindowsVolumeSerial();
}

std::string CurrentUserText() {
  std::string sid = UserSidText();
  return sid.empty() ? UserName() : sid;
}
