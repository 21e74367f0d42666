// The cache root: a per-user folder that outlives the run (the SDK, the
// downloaded package and the hand-off settings live under it).
#pragma once

#include <string>

// The user's roaming application-data folder followed by "OrvanePkg\",
// ending in a backslash; the folder is created on the first call. Empty when
// the application-data folder cannot be found, and then the next call tries
// again. Once known the value is kept (even when creating the folder failed).
// Not locked: first called on the main thread during startup, before any
// worker uses it.
std::wstring GetCacheRoot();
