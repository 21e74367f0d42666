// The installer runs elevated from the user's download folder, where anyone may
// have dropped a DLL named like a system library. Call first thing.
#pragma once

// Removes the current folder (and, where the system can, the program's own
// folder) from the DLL search path, then loads every system library the
// program reaches through delay imports by full path from the system folder.
void HardenLibraryLoading();
