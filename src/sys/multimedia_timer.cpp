#include "sys/multimedia_timer.h"

#include "sys/system_library.h"

namespace {

constexpr wchar_t WINMM[] = L"winmm.dll";

}  // namespace

DWORD MultimediaTime() {
  static const auto timeGetTimeFn = SystemFunctionAs<decltype(&::timeGetTime)>(WINMM, "timeGetTime");
  return timeGetTimeFn != nullptr ? timeGetTimeFn() : 0;
}

bool PeriodicTimer::Start(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback,
                          DWORD_PTR user) {
  Kill();
  static const auto timeSetEventFn =
      SystemFunctionAs<decltype(&::timeSetEvent)>(WINMM, "timeSetEvent");
  if (timeSetEventFn == nullptr) return false;
  id_ = timeSetEventFn(delayMs, resolutionMs, callback, user,
                       TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  return id_ != 0;
}

void PeriodicTimer::Kill() {
  const UINT id = id_.exchange(0);
  if (id == 0) return;
  static const auto timeKillEventFn =
      SystemFunctionAs<decltype(&::timeKillEvent)>(WINMM, "timeKillEvent");
  if (timeKillEventFn != nullptr) timeKillEventFn(id);
}
