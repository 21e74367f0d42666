#include "app/single_instance.h"

#include <windows.h>

#include <cstdlib>

#include "pages/window_messages.h"

namespace {

constexpr wchar_t INSTANCE_MUTEX[] = L"OrvanePkg-Event-5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63";

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
  wchar_t className[260] = {};
  GetClassNameW(window, className, 259);
  if (wcscmp(className, MAIN_WINDOW_CLASS) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

UniqueKernelHandle GuardSingleInstance() {
  UniqueKernelHandle mutex(CreateMutexW(nullptr, TRUE, INSTANCE_MUTEX));
  if (GetLastError() != ERROR_ALREADY_EXISTS) return mutex;

  mutex.reset();
  HWND running = nullptr;
  EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&running));
  if (running) PostMessageW(running, WM_WAKE_INSTANCE, 0, 0);
  std::exit(0);
}
