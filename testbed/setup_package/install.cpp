#include "install.h"

#include <windows.h>

#include <string>
#include <vector>

#include "install_record.h"
#include "product.h"
#include "sys/file_ops.h"
#include "sys/unique_handle.h"

namespace {

bool WriteBytes(const std::wstring& path, const void* data, DWORD size) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), data, size, &written, nullptr) && written == size;
}

bool ExtractPayload(const wchar_t* resource, const std::wstring& path) {
  HRSRC found = ::FindResourceW(nullptr, resource, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(nullptr, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  return data != nullptr && WriteBytes(path, data, ::SizeofResource(nullptr, found));
}

bool WriteSettings(const SetupOptions& options, const std::wstring& path) {
  const std::string text = std::string("[Install]\r\nJoinPlan=") + (options.joinPlan ? "1" : "0") +
                           "\r\nShowWelcome=" + (options.showWelcome ? "1" : "0") + "\r\n";
  return WriteBytes(path, text.data(), static_cast<DWORD>(text.size()));
}

// Removes what an interrupted install left behind.
void RollBack(const std::wstring& folder, const std::vector<std::wstring>& written,
              bool createdFolder) {
  for (const std::wstring& path : written) DeleteFileAt(path);
  RemoveInstallRecord();
  if (createdFolder) ::RemoveDirectoryW(folder.c_str());
}

bool CopyPayload(const SetupOptions& options, const std::wstring& base,
                 std::vector<std::wstring>& written) {
  written.push_back(base + kAppFile);
  if (!ExtractPayload(kAppPayload, written.back())) return false;
  written.push_back(base + kUninstallerFile);
  if (!ExtractPayload(kUninstallerPayload, written.back())) return false;
  written.push_back(base + kSettingsFile);
  return WriteSettings(options, written.back());
}

}  // namespace

bool InstallProduct(const SetupOptions& options, const std::wstring& folder,
                    const std::wstring& version) {
  const bool createdFolder = !DirectoryExists(folder);
  if (!CreateDirectoryChain(folder)) return false;
  const std::wstring base = folder + L"\\";
  std::vector<std::wstring> written;
  InstallRecord record{folder, version, options.noIcons, 0};
  if (CopyPayload(options, base, written)) {
    int64_t bytes = 0;
    for (const std::wstring& path : written) bytes += FileSize(path);
    record.sizeKb = static_cast<uint32_t>((bytes + 1023) / 1024);
    if (WriteInstallRecord(record)) return true;
  }
  RollBack(folder, written, createdFolder);
  return false;
}

std::wstring DefaultInstallFolder() {
  wchar_t programFiles[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
  const std::wstring root = length > 0 && length < MAX_PATH ? programFiles : L"C:\\Program Files";
  return root + L"\\" + kProductName;
}
