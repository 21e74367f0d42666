// Only one installer runs at a time: the first holds a named mutex for its
// whole run; a second one wakes the first one's window and leaves.
#pragma once

#include "sys/unique_handle.h"

// The window class of the installer's main window, which a second instance
// looks for.
constexpr wchar_t MAIN_WINDOW_CLASS[] = L"OrvanePkg-Window-5B0E7C31-42AF-4D96-8E1B-C2A7D0F49E63";

// Takes the single-instance mutex (created owned, never released, closed at the
// end of the run). When another instance holds it, posts WM_WAKE_INSTANCE to
// that instance's main window, if it has one yet, and ends this process with
// exit code 0 without writing anything.
UniqueKernelHandle GuardSingleInstance();
