// The installer's run between the single-instance guard and the end of the run.
#pragma once

#include <windows.h>

// Works out the channel and the install context, records the start of the run,
// starts the background queries, shows the main window and runs the message
// loop until a page or dialog ends the run. Any failure abandons the rest
// silently; the caller then ends the run as usual. The windows register
// their classes under the executable's module handle, which is `instance`.
void RunInstallerSession(HINSTANCE instance);

// The end-of-run records and the "vSoftQuit" event.
void EndRun();
