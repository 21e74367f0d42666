// Sending a spool's records to the collector, oldest first, in batches.
#pragma once

#include <windows.h>

#include "vexa/core/spool.h"
#include "vexa/core/upload_target.h"

enum class DrainResult {
  Empty,      // every record was confirmed (or the spool was empty)
  Failed,     // a batch got no 2xx reply; it stays for a later attempt
  Cancelled,  // `cancel` was signalled
  NoTarget    // the target is incomplete; nothing was tried
};

// Sends batches until the spool is empty, one fails or `cancel` (may be null)
// is signalled. Each batch is the oldest records joined into one body of
// JSON lines. A 2xx reply removes the batch from the spool; a reply that
// refuses it for good (4xx other than 408 and 429) moves it to quarantine;
// anything else leaves it where it is. The spool's upload lock is held for
// each batch, so uploaders of several threads or processes take turns; a
// record is thus sent twice only when an uploader dies between the reply and
// the removal, and the collector drops the copy by the record's id.
DrainResult DrainSpool(const Spool& spool, const UploadTarget& target, HANDLE cancel);
