// Test support for the system query tests: query_stub.exe (built next to
// the test program) copied to a folder of the test's own, and started from
// there, so that it has an ordinary drive path.
#pragma once

#include <windows.h>

#include <string>

#include "sys/unique_handle.h"

// The path of query_stub.exe beside the running test program, in a form
// that opens under Wine as well.
std::wstring BuiltStubPath();

struct StartedChild {
  UniqueKernelHandle process;
  UniqueKernelHandle thread;
  DWORD processId = 0;
};

// Starts `program` with `arguments`; suspended when asked. An empty child
// (no process handle) when it cannot be started.
enum class StartMode { Running, Suspended };
StartedChild StartChild(const std::wstring& program, const std::wstring& arguments, StartMode mode);

// Runs the program to its end (at most 60 s); its exit code, or -1 when it
// could not be started or did not end in time.
long RunChild(const std::wstring& program, const std::wstring& arguments);

// Ends a child that is still running and waits for it.
void EndChild(StartedChild& child);

// A file's UTF-8 text as wide text.
std::wstring ReadUtf8File(const std::wstring& path);

// Case-insensitive comparison of two paths' texts.
bool SamePathText(const std::wstring& a, const std::wstring& b);
