#include "download/package_name.h"

#include <cwchar>
#include <cwctype>

#include "net/codec/http_header_fields.h"
#include "sys/path_pieces.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"

namespace {

constexpr size_t MAX_NAME_CHARS = 255;

const wchar_t* const DEVICE_NAMES[] = {
    L"CON",  L"PRN",  L"AUX",  L"NUL",  L"CONIN$", L"CONOUT$", L"CLOCK$",
    L"COM1", L"COM2", L"COM3", L"COM4", L"COM5",   L"COM6",    L"COM7",   L"COM8", L"COM9",
    L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5",   L"LPT6",    L"LPT7",   L"LPT8", L"LPT9",
};

bool HasForbiddenCharacter(const std::wstring& name) {
  for (wchar_t c : name) {
    if (c < 0x20 || std::wcschr(L"\\/:*?\"<>|", c) != nullptr) return true;
  }
  return false;
}

// Windows opens the device for its name followed by any extension, and
// ignores blanks before that extension.
bool IsDeviceName(const std::wstring& name) {
  std::wstring stem = name.substr(0, name.find(L'.'));
  stem = TrimRightWide(stem, L" ");
  for (wchar_t& c : stem) c = static_cast<wchar_t>(std::towupper(c));
  for (const wchar_t* device : DEVICE_NAMES) {
    if (stem == device) return true;
  }
  return false;
}

}  // namespace

bool IsPlainFileName(const std::wstring& name) {
  if (name.empty() || name.size() > MAX_NAME_CHARS) return false;
  if (HasForbiddenCharacter(name)) return false;
  if (name.back() == L'.' || name.back() == L' ') return false;
  return !IsDeviceName(name);
}

std::wstring PackageNameFromHead(const std::vector<std::string>& lines) {
  const std::wstring name = AnsiToWide(ContentDispositionFileName(lines));
  return IsPlainFileName(name) ? name : std::wstring();
}

std::wstring MadeUpPackageName(const std::wstring& ownModulePath, const std::string& version) {
  std::wstring name = FileNameOfPath(ownModulePath);
  if (name.empty()) return name;
  const std::wstring extension = ExtensionOf(name);
  if (!extension.empty()) name = RemoveAllWide(name, extension);
  if (FindWide(name, L"_install") == NOT_FOUND) name += L"_install";
  if (!version.empty()) name += L"_v" + Utf8ToWide(version);
  name += L".exe";
  return IsPlainFileName(name) ? name : std::wstring();
}

std::wstring ChannelPackageName(const std::wstring& ownProductVersion) {
  const std::vector<std::wstring> parts = SplitWide(ownProductVersion, L".");
  if (parts.size() != 4) return std::wstring();
  switch (ParseInt64(WideToUtf8(parts[1]))) {
    case 96: return L"install_rozorir0.exe";
    case 97: return L"install_ruva3600.exe";
    case 98: return L"install_dizorar0.exe";
    case 99: return L"install_reveza00.exe";
    default: return std::wstring();
  }
}
