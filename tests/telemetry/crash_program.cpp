// Loads the SDK the way the installer does (from its own embedded archive),
// then either crashes ("crash") or just ends the run ("flush"), so the test
// can see what the crash callback reports.
#include <windows.h>

#include <cstring>

#include "telemetry/logger_server.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  ILoggerServer* logger = GetLoggerServer();
  if (wcsstr(commandLine, L"crash")) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  logger->ReleaseHandle();
  return 0;
}
