#include "sys/child_process.h"

#include <utility>
#include <vector>

namespace {

// This process's startup information with the window hidden. The parts that
// describe this process's own inherited handles (standard handles and the C
// runtime's handle table) are dropped: the child inherits no handles, so
// passing them on would hand it values that mean nothing in its process.
STARTUPINFOW HiddenStartupInfo() {
  STARTUPINFOW info{};
  info.cb = sizeof(info);
  ::GetStartupInfoW(&info);
  info.cb = sizeof(info);
  info.lpReserved = nullptr;
  info.cbReserved2 = 0;
  info.lpReserved2 = nullptr;
  info.dwFlags &= ~static_cast<DWORD>(STARTF_USESTDHANDLES);
  info.hStdInput = info.hStdOutput = info.hStdError = nullptr;
  info.dwFlags |= STARTF_USESHOWWINDOW;
  info.wShowWindow = SW_HIDE;
  return info;
}

}  // namespace

COrvaneBasedProcess::COrvaneBasedProcess(std::wstring command, OnDestroy onDestroy)
    : waitOnDestroy(onDestroy == OnDestroy::WaitForChild), commandLine(std::move(command)) {}

COrvaneBasedProcess::~COrvaneBasedProcess() {
  if (process && waitOnDestroy) ::WaitForSingleObject(process.get(), INFINITE);
  thread.reset();
  process.reset();
  commandLine.clear();
}

bool COrvaneBasedProcess::Start() {
  if (process) return true;
  STARTUPINFOW startup = HiddenStartupInfo();
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  PROCESS_INFORMATION created{};
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &created)) {
    return false;
  }
  process.reset(created.hProcess);
  thread.reset(created.hThread);
  return true;
}

bool COrvaneBasedProcess::WaitForExit(DWORD timeoutMs) const noexcept {
  if (!process) return false;
  return ::WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> COrvaneBasedProcess::ExitCode() const noexcept {
  if (!WaitForExit(0)) return std::nullopt;
  DWORD code = 0;
  if (!::GetExitCodeProcess(process.get(), &code)) return std::nullopt;
  return code;
}
