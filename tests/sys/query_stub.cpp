// A child program for the system query tests, with its own version block.
//   query_stub workfolder <outFile> [eventName]
//       writes its work folder to outFile and a file into that folder, then
//       waits for the named event (when given) before it ends
//   query_stub parent <outFile>    writes the image path of its parent
//   query_stub version <outFile>   writes its own product version
// Output is UTF-8. Exit code 0 on success.
#include <windows.h>

#include <cstring>
#include <string>

#include "sys/app_info.h"
#include "sys/process_query.h"
#include "sys/text_convert.h"
#include "sys/work_folder.h"

namespace {

// As the installer does: the work folder exists before main runs.
const struct WorkFolderBeforeMain {
  WorkFolderBeforeMain() { PrepareWorkFolder(); }
} workFolderBeforeMain;

bool WriteText(const std::wstring& path, const std::wstring& text) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string bytes = WideToUtf8(text);
  DWORD written = 0;
  const bool ok = bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                               &written, nullptr);
  ::CloseHandle(file);
  return ok;
}

int ReportWorkFolder(const char* outFile, const char* eventName) {
  const std::wstring folder = GetWorkFolder();
  if (folder.empty() || !WriteText(folder + L"content.txt", L"x")) return 4;
  if (!WriteText(AnsiToWide(outFile), folder)) return 5;
  if (eventName == nullptr) return 0;
  HANDLE event = ::OpenEventA(SYNCHRONIZE, FALSE, eventName);
  if (event == nullptr) return 6;
  ::WaitForSingleObject(event, INFINITE);
  ::CloseHandle(event);
  return 0;
}

int ReportParent(const char* outFile) {
  DWORD parent = 0;
  std::wstring path;
  if (!GetParentProcessId(::GetCurrentProcessId(), parent)) return 4;
  if (!GetProcessImagePath(parent, path)) return 5;
  return WriteText(AnsiToWide(outFile), path) ? 0 : 6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  if (std::strcmp(argv[1], "workfolder") == 0) {
    return ReportWorkFolder(argv[2], argc > 3 ? argv[3] : nullptr);
  }
  if (std::strcmp(argv[1], "parent") == 0) return ReportParent(argv[2]);
  if (std::strcmp(argv[1], "version") == 0) {
    return WriteText(AnsiToWide(argv[2]), GetAppInfo()->GetProductVersion(L"")) ? 0 : 4;
  }
  return 3;
}
