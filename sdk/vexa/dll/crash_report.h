// The crash report of Vexa.dll: an unhandled exception on any thread writes
// a minidump into the spool folder, hands its path to the caller's callback
// and lets the process end.
#pragma once

#include <string>

#include "vexa_api.h"

// Installs the process's unhandled-exception filter (once) and keeps the
// callback and its context (the latest call wins; a null callback only
// writes dumps). `folder` ends in a backslash and is created here.
void EnableCrashReport(VexaCrashCallback callback, void* context, const std::wstring& folder);
