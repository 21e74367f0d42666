// Vexa.dll's entry point. Nothing is done on detach: at process exit the
// upload threads are already gone and every committed record is on the disk
// (the next run sends it); joining a thread here would deadlock on the
// loader lock. Before process exit the DLL cannot be unloaded at all once a
// handle or the crash report exists (it pins itself).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD /*reason*/, LPVOID /*reserved*/) { return TRUE; }
