#include "support/temp_folder.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

namespace {

std::atomic<unsigned> g_nextFolder{0};

std::wstring MakeUniqueName() {
  wchar_t name[64];
  std::swprintf(name, 64, L"tessaro-test-%lu-%lu-%u\\", ::GetCurrentProcessId(),
                ::GetTickCount(), g_nextFolder++);
  return name;
}

}  // namespace

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp) + MakeUniqueName();
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTreeForTest(path_.substr(0, path_.size() - 1)); }

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                                &written, nullptr) &&
                                    written == bytes.size());
  ::CloseHandle(file);
  return ok;
}

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char piece[4096];
  DWORD read = 0;
  while (::ReadFile(file, piece, sizeof(piece), &read, nullptr) && read > 0) {
    bytes.append(piece, read);
  }
  ::CloseHandle(file);
  return bytes;
}

bool PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTreeForTest(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    ::DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0) {
        continue;
      }
      RemoveTreeForTest(path + L"\\" + data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(path.c_str());
}
