#include <windows.h>

#include "app/startup_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (!CreateStartupWindow(instance)) return 1;
  return RunMessageLoop();
}
