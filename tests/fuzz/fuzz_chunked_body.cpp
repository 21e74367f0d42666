// A chunked body as it arrives after the head. Feeding it the way the client
// does (Wanted() bytes at a time) and all at once must agree, and the body
// never outgrows the limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "net/codec/chunked_body.h"
#include "net/codec/http_body.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);

  ChunkedBodyDecoder pieces;
  size_t used = 0;
  while (!pieces.Finished() && used < size) {
    const size_t want = std::min(pieces.Wanted(), size - used);
    FUZZ_CHECK(want > 0);
    FUZZ_CHECK(pieces.Feed(bytes + used, want) == want);
    used += want;
  }

  ChunkedBodyDecoder bulk;
  FUZZ_CHECK(bulk.Feed(bytes, size) == used);
  FUZZ_CHECK(bulk.GetState() == pieces.GetState());
  FUZZ_CHECK(bulk.Body() == pieces.Body());
  FUZZ_CHECK(bulk.Body().size() <= static_cast<size_t>(HTTP_BODY_LIMIT));
  FUZZ_CHECK(bulk.Body().size() <= size);
  FUZZ_CHECK(bulk.Finished() == (bulk.Wanted() == 0));

  // Every prefix up to the first CR LF, as one size line.
  const std::string line(bytes, std::min<size_t>(size, CHUNK_LINE_LIMIT));
  const int64_t chunkSize = ParseChunkSize(line);
  FUZZ_CHECK(chunkSize >= -1 && chunkSize <= 0xFFFFFFFFLL);
  return 0;
}
