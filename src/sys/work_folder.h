// The per-run work folder: a fresh folder on the roomiest writable volume,
// for files that must not outlive the run (the unpacked skin and SDK
// archives). A process that is killed leaves it behind.
//
// Lifetime: the folder is made by the first call of either function below
// and deleted, with everything in it, when the process ends normally (static
// destruction after the entry point returns). The executable calls
// PrepareWorkFolder from a namespace-scope object of its entry-point file, so
// the folder exists before the entry point runs and is destroyed after every
// object made later. It depends on no other file's static objects.
#pragma once

#include <string>

// The work folder, ending in a backslash, e.g. D:\OrvanePkg_1700000000\ (with
// "_1", "_2"... appended when another process made that name first);
// empty when no volume could take it (callers then use paths relative to the
// current folder). Not locked: the first call must happen before any worker
// thread exists.
std::wstring GetWorkFolder();

// Makes the work folder now if it does not exist yet.
void PrepareWorkFolder();
