// Opens a URL in the browser the user most likely uses and reports the way
// it went as the event "vOpenUrl". Runs on the caller's thread and blocks it
// while the process list is walked.
#pragma once

#include <cstdint>

class ILoggerServer;

// Opens `url` (null counts as empty) with the caller's browser
// `preferredBrowser` (a recorded path, possibly with switches; null or empty
// for none), else legacy Edge, else the browser whose download folder holds
// the installer, else a browser that ran before the installer file was last
// written, else the system's default handler. Returns the LaunchKind used,
// or -1 when the installer's own file cannot be opened or anything else
// failed; then nothing is opened and no event is sent. The shell's answer is
// not checked.
int32_t OpenUrlInBrowser(const wchar_t* url, const wchar_t* preferredBrowser,
                         ILoggerServer& logger);

// The same, reporting to the process-wide event logger.
int32_t OpenUrlInBrowser(const wchar_t* url, const wchar_t* preferredBrowser);
