#include "sys/process_table.h"

#include <cstring>

#include "sys/system_library.h"

namespace {

constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr LONG kStatusNoMemory = static_cast<LONG>(0xC0000017);
constexpr LONG kStatusProcedureNotFound = static_cast<LONG>(0xC000007A);
constexpr uint32_t kGrowthSlack = 4000;

// Offsets in the 32-bit layout of the process and thread records.
constexpr size_t kNextEntryOffset = 0x00;
constexpr size_t kThreadCountOffset = 0x04;
constexpr size_t kProcessIdOffset = 0x44;
constexpr size_t kFirstThreadOffset = 0xB8;
constexpr size_t kThreadStateOffset = 0x34;
constexpr size_t kWaitReasonOffset = 0x38;
constexpr size_t kThreadStateBytes = kWaitReasonOffset + sizeof(uint32_t);

constexpr uint32_t kThreadStateWaiting = 5;
constexpr uint32_t kWaitReasonSuspended = 5;

uint32_t ReadUint32(const unsigned char* at) {
  uint32_t value = 0;
  std::memcpy(&value, at, sizeof(value));
  return value;
}

TableLookup StateOfEntry(const unsigned char* entry, size_t room) {
  if (ReadUint32(entry + kThreadCountOffset) == 0) return TableLookup::Running;
  if (room < kFirstThreadOffset + kThreadStateBytes) return TableLookup::NotFound;
  const unsigned char* thread = entry + kFirstThreadOffset;
  const bool suspended = ReadUint32(thread + kThreadStateOffset) == kThreadStateWaiting &&
                         ReadUint32(thread + kWaitReasonOffset) == kWaitReasonSuspended;
  return suspended ? TableLookup::Suspended : TableLookup::Running;
}

}  // namespace

cProcInfo::~cProcInfo() { FreeBuffer(); }

void cProcInfo::FreeBuffer() {
  if (buffer != nullptr) ::VirtualFree(buffer, 0, MEM_RELEASE);
  buffer = nullptr;
}

LONG cProcInfo::Query() {
  if (query == nullptr) {
    query = SystemFunctionAs<QueryFn>(L"ntdll.dll", "NtQuerySystemInformation");
    if (query == nullptr) {
      // Never 0: that would read as a table.
      const DWORD error = ::GetLastError();
      return error != 0 ? static_cast<LONG>(error) : kStatusProcedureNotFound;
    }
  }
  for (;;) {
    if (buffer == nullptr) {
      buffer = static_cast<unsigned char*>(
          ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
      // A failure must never read as success: the table would be walked.
      if (buffer == nullptr) return kStatusNoMemory;
    }
    ULONG needed = 0;
    const LONG status = query(kSystemProcessInformation, buffer, size, &needed);
    if (status != kStatusInfoLengthMismatch) return status;
    // Some systems report no needed length; growing at least twofold keeps
    // the loop from asking again with the same size for ever.
    const uint32_t grown = needed + kGrowthSlack;
    size = grown > size * 2 ? grown : size * 2;
    FreeBuffer();
  }
}

TableLookup FindProcessState(const unsigned char* table, size_t length, DWORD processId) {
  if (table == nullptr) return TableLookup::NotFound;
  size_t at = 0;
  while (length >= kFirstThreadOffset && at <= length - kFirstThreadOffset) {
    const unsigned char* entry = table + at;
    if (ReadUint32(entry + kProcessIdOffset) == processId) return StateOfEntry(entry, length - at);
    const uint32_t next = ReadUint32(entry + kNextEntryOffset);
    if (next == 0 || next > length - at) break;
    at += next;
  }
  return TableLookup::NotFound;
}

bool IsProcessSuspended(DWORD processId, bool& suspended) {
  cProcInfo table;
  if (table.Query() != 0) return false;
  const TableLookup state = FindProcessState(table.data(), table.capacity(), processId);
  if (state == TableLookup::NotFound) return false;
  suspended = state == TableLookup::Suspended;
  return true;
}
