// What the installer reports when the SDK has caught a crash of the process.
#pragma once

#include "vexa_api.h"

// Registered with vexaEnableCrashReport; the SDK calls it with the core table
// as context and the path of the minidump it wrote. Sends the dump's run-state
// records and the "vSoftDump" and "vSoftQuit" events; never raises.
void VEXA_CALL OnSdkCrash(void* context, const wchar_t* dumpPath);
