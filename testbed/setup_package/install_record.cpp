#include "install_record.h"

#include <windows.h>
// After windows.h, which it needs.
#include <lmcons.h>

#include <cwchar>
#include <vector>

#include "product.h"
#include "sys/unique_handle.h"

namespace {

bool SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD number) {
  return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof(number)) == ERROR_SUCCESS;
}

std::wstring UserName() {
  wchar_t name[UNLEN + 1] = {};
  DWORD size = UNLEN + 1;
  return ::GetUserNameW(name, &size) ? name : L"";
}

std::wstring Today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

DWORD VersionPart(const std::wstring& version, int index) {
  size_t at = 0;
  for (int i = 0; i < index && at != std::wstring::npos; ++i) {
    at = version.find(L'.', at);
    if (at != std::wstring::npos) ++at;
  }
  return at == std::wstring::npos
             ? 0
             : static_cast<DWORD>(std::wcstoul(version.c_str() + at, nullptr, 10));
}

bool WriteTexts(HKEY key, const InstallRecord& record) {
  const std::wstring folder = record.folder + L"\\";
  const std::wstring uninstaller = L"\"" + folder + kUninstallerFile + L"\"";
  struct Text {
    const wchar_t* name;
    std::wstring value;
  };
  const Text texts[] = {
      {L"Inno Setup: Setup Version", L"6.2.2"},
      {L"Inno Setup: App Path", record.folder},
      {L"InstallLocation", folder},
      {L"Inno Setup: User", UserName()},
      {L"Inno Setup: Language", L"default"},
      {L"DisplayName", std::wstring(kProductName) + L" version " + record.version},
      {L"DisplayIcon", folder + kAppFile},
      {L"UninstallString", uninstaller},
      {L"QuietUninstallString", uninstaller + L" /SILENT"},
      {L"DisplayVersion", record.version},
      {L"Publisher", kPublisher},
      {L"InstallDate", Today()},
  };
  for (const Text& text : texts) {
    if (!SetText(key, text.name, text.value)) return false;
  }
  return record.noIcons ? SetNumber(key, L"Inno Setup: No Icons", 1)
                        : SetText(key, L"Inno Setup: Icon Group", kProductName);
}

bool WriteNumbers(HKEY key, const InstallRecord& record) {
  struct Number {
    const wchar_t* name;
    DWORD value;
  };
  const Number numbers[] = {
      {L"NoModify", 1},
      {L"NoRepair", 1},
      {L"MajorVersion", VersionPart(record.version, 0)},
      {L"MinorVersion", VersionPart(record.version, 1)},
      {L"VersionMajor", VersionPart(record.version, 0)},
      {L"VersionMinor", VersionPart(record.version, 1)},
      {L"EstimatedSize", record.sizeKb},
  };
  for (const Number& number : numbers) {
    if (!SetNumber(key, number.name, number.value)) return false;
  }
  return true;
}

}  // namespace

bool WriteInstallRecord(const InstallRecord& record) {
  HKEY created = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const UniqueRegKey key(created);
  return WriteTexts(key.get(), record) && WriteNumbers(key.get(), record);
}

bool RemoveInstallRecord() {
  const LONG status = ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
