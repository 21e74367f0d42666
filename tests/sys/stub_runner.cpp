#include "stub_runner.h"

#include "support/test_paths.h"

#include <cwchar>
#include <iterator>
#include <vector>

#include "support/temp_folder.h"
#include "sys/text_convert.h"

namespace {

constexpr DWORD kChildEndsWithinMs = 60000;

}  // namespace

std::wstring BuiltStubPath() { return BesideTestProgram(L"query_stub.exe"); }

StartedChild StartChild(const std::wstring& program, const std::wstring& arguments,
                        StartMode mode) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  std::vector<wchar_t> writable(command.begin(), command.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  const DWORD flags = mode == StartMode::Suspended ? CREATE_SUSPENDED : 0;
  StartedChild child;
  if (!::CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        nullptr, &startup, &started)) {
    return child;
  }
  child.process.reset(started.hProcess);
  child.thread.reset(started.hThread);
  child.processId = started.dwProcessId;
  return child;
}

long RunChild(const std::wstring& program, const std::wstring& arguments) {
  StartedChild child = StartChild(program, arguments, StartMode::Running);
  if (!child.process) return -1;
  if (::WaitForSingleObject(child.process.get(), kChildEndsWithinMs) != WAIT_OBJECT_0) {
    EndChild(child);
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(child.process.get(), &code);
  return static_cast<long>(code);
}

void EndChild(StartedChild& child) {
  if (!child.process) return;
  ::TerminateProcess(child.process.get(), 99);
  ::WaitForSingleObject(child.process.get(), kChildEndsWithinMs);
}

std::wstring ReadUtf8File(const std::wstring& path) { return Utf8ToWide(ReadWholeFile(path)); }

bool SamePathText(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && ::_wcsicmp(a.c_str(), b.c_str()) == 0;
}
