// The system's process table (NtQuerySystemInformation, process class) and
// the suspension test built on it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One snapshot of the process table. Owns its buffer; not shared between
// threads.
class cProcInfo {
 public:
  cProcInfo() = default;
  virtual ~cProcInfo();
  cProcInfo(const cProcInfo&) = delete;
  cProcInfo& operator=(const cProcInfo&) = delete;

  // Reads the table, growing the buffer while the system says it is too
  // small. 0 on success, otherwise the failing status (or the last error
  // when the query function or the memory cannot be had).
  LONG Query();

  const unsigned char* data() const { return buffer; }
  uint32_t capacity() const { return size; }

 private:
  using QueryFn = LONG(WINAPI*)(ULONG infoClass, void* buffer, ULONG length, ULONG* needed);

  void FreeBuffer();

  unsigned char* buffer = nullptr;
  uint32_t size = 1000;
  QueryFn query = nullptr;
};

// What a process table says about one process.
enum class TableLookup { NotFound, Running, Suspended };

// Walks a process table as the system lays it out for a 32-bit program
// (entries linked by next-entry offsets, each followed by its threads) and
// finds `processId`. Suspended when its first thread waits (state 5) for
// the reason "suspended" (5). An entry that would reach past `length` ends
// the walk, so a damaged table is never read beyond its end.
TableLookup FindProcessState(const unsigned char* table, size_t length, DWORD processId);

// Sets `suspended` and returns true when the process is in the table; false
// (leaving `suspended` alone) when it is not or the table cannot be read.
bool IsProcessSuspended(DWORD processId, bool& suspended);
