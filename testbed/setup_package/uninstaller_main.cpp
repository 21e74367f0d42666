// The stand-in uninstaller (unins000.exe in the install folder). Like Inno
// Setup's it cannot delete the program file it runs from, so it works in two
// phases: the first copies itself to the temporary folder, starts the copy
// and ends; the copy waits for the first to end, removes the installed files,
// the folder when it is empty, and the uninstall entry when it names this
// folder. The copy's file is opened delete-on-close and handed to the copy,
// so it disappears when the copy ends.
//
// /SILENT or /VERYSILENT: no questions, no messages. Exit codes: 0 removed
// (or removal started, for the first phase), 2 the user declined.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "product.h"
#include "setup_options.h"
#include "sys/registry_query.h"
#include "sys/unique_handle.h"

namespace {

constexpr int kRemoved = 0;
constexpr int kDeclined = 2;
constexpr wchar_t kSecondPhase[] = L"/SECONDPHASE=";
constexpr wchar_t kWaitFor[] = L"/WAITFOR=";

struct UninstallOptions {
  bool silent = false;
  std::wstring original;        // second phase: the first phase's program file
  HANDLE firstPhase = nullptr;  // second phase: the first phase's process
};

bool HasPrefix(const std::wstring& text, const wchar_t* prefix, std::wstring& rest) {
  const size_t length = std::wcslen(prefix);
  if (text.size() < length || ::_wcsnicmp(text.c_str(), prefix, length) != 0) return false;
  rest = text.substr(length);
  return true;
}

UninstallOptions ParseOptions() {
  UninstallOptions options;
  for (const std::wstring& argument : SplitSetupArguments(::GetCommandLineW())) {
    std::wstring value;
    if (::_wcsicmp(argument.c_str(), L"/SILENT") == 0 ||
        ::_wcsicmp(argument.c_str(), L"/VERYSILENT") == 0) {
      options.silent = true;
    } else if (HasPrefix(argument, kSecondPhase, value)) {
      options.original = value;
    } else if (HasPrefix(argument, kWaitFor, value)) {
      options.firstPhase = reinterpret_cast<HANDLE>(std::wcstoul(value.c_str(), nullptr, 10));
    }
  }
  return options;
}

std::wstring OwnPath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L'\\');
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// A file just released by an ending process may stay locked for a moment.
void DeleteWithRetries(const std::wstring& path) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND) return;
    ::Sleep(100);
  }
}

// The entry may by now describe an install into another folder.
void RemoveRecordOf(const std::wstring& folder) {
  const std::wstring recorded = ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey,
                                                   L"Inno Setup: App Path", RegistryView::Default);
  if (::_wcsicmp(recorded.c_str(), folder.c_str()) == 0)
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKey);
}

void RemoveInstall(const std::wstring& uninstaller) {
  const std::wstring folder = FolderOf(uninstaller);
  for (const wchar_t* file : {kAppFile, kSettingsFile}) DeleteWithRetries(folder + L"\\" + file);
  DeleteWithRetries(uninstaller);
  ::RemoveDirectoryW(folder.c_str());
  RemoveRecordOf(folder);
}

int SecondPhase(const UninstallOptions& options) {
  if (options.firstPhase != nullptr) {
    ::WaitForSingleObject(options.firstPhase, INFINITE);
    ::CloseHandle(options.firstPhase);
  }
  RemoveInstall(options.original);
  if (!options.silent) {
    ::MessageBoxW(nullptr, L"Tessaro was successfully removed from your computer.",
                  L"Tessaro Uninstall", MB_OK | MB_ICONINFORMATION);
  }
  return kRemoved;
}

std::wstring TemporaryCopyPath() {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"_iu" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L".tmp.exe";
}

// Starts the second phase from a copy of this program; false when it cannot.
bool StartSecondPhase(const UninstallOptions& options) {
  const std::wstring copy = TemporaryCopyPath();
  if (!::CopyFileW(OwnPath().c_str(), copy.c_str(), FALSE)) return false;
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const UniqueFileHandle deleteOnClose(
      ::CreateFileW(copy.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited,
                    OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!deleteOnClose) {
    ::DeleteFileW(copy.c_str());
    return false;
  }
  HANDLE self = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self,
                    SYNCHRONIZE, TRUE, 0);
  const UniqueKernelHandle selfForCopy(self);

  std::wstring command = L"\"" + copy + L"\" \"" + kSecondPhase + OwnPath() + L"\" " + kWaitFor +
                         std::to_wstring(reinterpret_cast<uintptr_t>(self));
  if (options.silent) command += L" /SILENT";
  std::vector<wchar_t> writable(command.begin(), command.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(copy.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return false;
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return true;
}

bool UserConfirms() {
  return ::MessageBoxW(nullptr,
                       L"Are you sure you want to completely remove Tessaro and all of its "
                       L"components?",
                       L"Tessaro Uninstall", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const UninstallOptions options = ParseOptions();
  if (!options.original.empty()) return SecondPhase(options);
  if (!options.silent && !UserConfirms()) return kDeclined;
  if (StartSecondPhase(options)) return kRemoved;
  // No copy could run: remove everything but this program, which goes at
  // the next restart.
  const std::wstring self = OwnPath();
  RemoveInstall(self);
  ::MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return kRemoved;
}
