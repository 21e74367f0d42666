// A child program for the process tests.
//   child_stub <code|crash|show> [sleepMs] [eventName]
// Waits for the named event when one is given, then sleeps sleepMs, then exits
// with code, crashes with an access violation ("crash"), or exits with the
// show-window value it was started with ("show"; 1000 when none was set).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kNoShowWindow = 1000;

int ShowWindowValue() {
  STARTUPINFOW info{};
  info.cb = sizeof(info);
  ::GetStartupInfoW(&info);
  if (!(info.dwFlags & STARTF_USESHOWWINDOW)) return kNoShowWindow;
  return info.wShowWindow;
}

// Ends the process with the exception's code, as an unhandled crash does,
// without starting a debugger or showing a crash dialog first.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

void Crash() {
  ::SetUnhandledExceptionFilter(&EndWithExceptionCode);
  // Read through volatile so the compiler cannot see the null write coming.
  volatile std::uintptr_t address = 0;
  *reinterpret_cast<volatile int*>(address) = 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (argc > 3) {
    HANDLE event = ::OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
    if (!event) return 3;
    ::WaitForSingleObject(event, INFINITE);
    ::CloseHandle(event);
  }
  if (argc > 2) ::Sleep(std::strtoul(argv[2], nullptr, 10));
  if (std::strcmp(argv[1], "crash") == 0) Crash();
  if (std::strcmp(argv[1], "show") == 0) return ShowWindowValue();
  return static_cast<int>(std::strtoul(argv[1], nullptr, 10));
}
