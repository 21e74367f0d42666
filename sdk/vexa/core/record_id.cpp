#include "vexa/core/record_id.h"

#include <windows.h>

#include <wincrypt.h>

#include <cstdint>
#include <cstdio>

#include "sys/unique_handle.h"
#include "sys/xmutex.h"

namespace {

uint64_t RandomProcessPart() {
  uint64_t value = 0;
  HCRYPTPROV raw = 0;
  if (::CryptAcquireContextW(&raw, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
    UniqueCryptProvider provider(raw);
    if (::CryptGenRandom(provider.get(), sizeof(value), reinterpret_cast<BYTE*>(&value))) return value;
  }
  // No random source: the process id and the start time still separate runs.
  FILETIME now = {};
  ::GetSystemTimeAsFileTime(&now);
  return (uint64_t{::GetCurrentProcessId()} << 32) ^ now.dwLowDateTime ^ (uint64_t{now.dwHighDateTime} << 16);
}

uint64_t FileTimeNow() {
  FILETIME now = {};
  ::GetSystemTimeAsFileTime(&now);
  return (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

// The process's id source: the last time used (never going back, so ids keep
// their order when the clock is set back) and a counter.
class RecordIdSource {
 public:
  static RecordIdSource& Instance() {
    // Never destroyed: ids may still be made while the process unloads.
    static RecordIdSource* instance = new RecordIdSource();
    return *instance;
  }

  std::string Next() {
    uint64_t time = 0;
    uint32_t counter = 0;
    {
      CXMutexLock guard(lock_);
      const uint64_t now = FileTimeNow();
      if (now > lastTime_) lastTime_ = now;
      time = lastTime_;
      counter = ++counter_;
    }
    char text[48] = {};
    std::snprintf(text, sizeof(text), "%016llx%08lx%016llx", static_cast<unsigned long long>(time),
                  static_cast<unsigned long>(counter), static_cast<unsigned long long>(processPart_));
    return text;
  }

 private:
  RecordIdSource() : processPart_(RandomProcessPart()) {}

  CXMutex lock_;
  const uint64_t processPart_;
  uint64_t lastTime_ = 0;
  uint32_t counter_ = 0;
};

}  // namespace

std::string NewRecordId() { return RecordIdSource::Instance().Next(); }
