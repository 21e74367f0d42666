// The on-disk queue of committed records that are not yet confirmed by the
// collector: one file "<record id>.rec" per record in the spool folder,
// holding the record's JSON line.
//
// Several threads and processes may share one spool. A record file appears
// whole or not at all: it is written under a temporary name, flushed to the
// disk and then renamed. Files are read and removed only by an uploader that
// holds the spool's upload lock (SpoolUploadLock), so that two uploaders do
// not send the same batch at once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class Spool {
 public:
  // `folder` ends in a backslash; it is created on the first Append.
  explicit Spool(std::wstring folder) : folder_(std::move(folder)) {}

  const std::wstring& Folder() const { return folder_; }

  // Writes one record durably (on the disk, not only in the cache) before
  // returning true; false when it could not be written.
  bool Append(const std::string& recordId, const std::string& jsonLine) const;

  struct Entry {
    std::wstring fileName;
    std::string line;
  };

  // The oldest records (ids sort in commit order), as many as fit in
  // maxRecords and maxBytes, but always the first one when there is one.
  // Files that vanish while being read are skipped.
  std::vector<Entry> Oldest(size_t maxRecords, size_t maxBytes) const;

  // Every record file name, oldest first.
  std::vector<std::wstring> RecordFiles() const;

  // Confirmed records leave the spool.
  void Remove(const std::vector<Entry>& entries) const;

  // Records the collector refuses for good move to the "rejected" subfolder,
  // where they are kept but never sent again.
  void Quarantine(const std::vector<Entry>& entries) const;

  // Leftovers of writers that died before renaming, older than a day.
  void RemoveStaleTemporaries() const;

 private:
  std::wstring folder_;
};

// The spool folder of a component: the "spool" folder beside the module
// that holds `address`; empty when the module's folder is unknown.
std::wstring SpoolFolderBesideModule(const void* address);
