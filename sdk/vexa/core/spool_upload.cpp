#include "vexa/core/spool_upload.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "sys/md5.h"
#include "sys/text_convert.h"
#include "sys/unique_handle.h"
#include "vexa/core/http_codec.h"
#include "vexa/core/http_exchange.h"

namespace {

constexpr size_t kBatchRecords = 100;
constexpr size_t kBatchBytes = 512 * 1024;
constexpr char kContentType[] = "application/x-ndjson; charset=utf-8";

enum class BatchResult { Confirmed, Refused, Failed };

BatchResult Classify(int status) {
  if (status >= 200 && status < 300) return BatchResult::Confirmed;
  if (status >= 400 && status < 500 && status != 408 && status != 429) return BatchResult::Refused;
  return BatchResult::Failed;
}

// A named mutex per spool folder, shared by every process of the session.
UniqueKernelHandle OpenUploadLock(const std::wstring& folder) {
  std::wstring lower = folder;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  const std::string key = WideToUtf8(lower);
  const std::wstring name = L"Local\\VexaSpoolUpload-" + Utf8ToWide(Md5HexOfData(key.data(), static_cast<int64_t>(key.size())));
  return UniqueKernelHandle(::CreateMutexW(nullptr, FALSE, name.c_str()));
}

// Holds the upload lock while it exists. Waiting ends early on cancel.
class UploadLockHold {
 public:
  UploadLockHold(HANDLE mutex, HANDLE cancel) : mutex_(mutex) {
    if (!mutex_) {
      held_ = true;  // no lock to be had: go on unguarded rather than never send
      return;
    }
    HANDLE waits[2] = {mutex_, cancel};
    const DWORD count = cancel ? 2 : 1;
    const DWORD result = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
    // An abandoned lock (its holder died) is ours as much as a released one.
    owns_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0;
    held_ = owns_;
  }
  ~UploadLockHold() {
    if (owns_) ::ReleaseMutex(mutex_);
  }
  UploadLockHold(const UploadLockHold&) = delete;
  UploadLockHold& operator=(const UploadLockHold&) = delete;

  bool Held() const { return held_; }

 private:
  HANDLE mutex_;
  bool owns_ = false;
  bool held_ = false;
};

BatchResult SendBatch(const std::vector<Spool::Entry>& batch, const UploadTarget& target, HANDLE cancel) {
  std::string body;
  for (const Spool::Entry& entry : batch) body += entry.line;
  return Classify(ExchangeHttp(target, BuildPostRequest(target, body, kContentType), cancel));
}

// Settles one batch with the spool; false when it failed and stays.
bool Settle(const Spool& spool, const std::vector<Spool::Entry>& batch, BatchResult result) {
  switch (result) {
    case BatchResult::Confirmed:
      spool.Remove(batch);
      return true;
    case BatchResult::Refused:
      spool.Quarantine(batch);
      return true;
    case BatchResult::Failed:
      break;
  }
  return false;
}

bool IsSignalled(HANDLE event) { return event && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

}  // namespace

DrainResult DrainSpool(const Spool& spool, const UploadTarget& target, HANDLE cancel) {
  if (!target.Complete()) return DrainResult::NoTarget;
  UniqueKernelHandle lock = OpenUploadLock(spool.Folder());
  spool.RemoveStaleTemporaries();
  for (;;) {
    if (IsSignalled(cancel)) return DrainResult::Cancelled;
    UploadLockHold hold(lock.get(), cancel);
    if (!hold.Held()) return DrainResult::Cancelled;
    // Listed under the lock: another uploader may just have sent some.
    const std::vector<Spool::Entry> batch = spool.Oldest(kBatchRecords, kBatchBytes);
    if (batch.empty()) return DrainResult::Empty;
    const BatchResult result = SendBatch(batch, target, cancel);
    if (result == BatchResult::Refused && batch.size() > 1) {
      // One bad record (or a batch too large) must not take the good ones
      // into quarantine with it: settle them one by one.
      for (const Spool::Entry& entry : batch) {
        const std::vector<Spool::Entry> single{entry};
        if (!Settle(spool, single, SendBatch(single, target, cancel))) {
          return IsSignalled(cancel) ? DrainResult::Cancelled : DrainResult::Failed;
        }
      }
      continue;
    }
    if (!Settle(spool, batch, result)) return IsSignalled(cancel) ? DrainResult::Cancelled : DrainResult::Failed;
  }
}
