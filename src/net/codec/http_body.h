// How the body after a reply head is read, and the most the client accepts.
#pragma once

#include <cstdint>

#include "net/codec/http_head.h"

// The largest body a request may return. The client only fetches small
// documents (gateway replies, configuration, an image); a Content-Length or a
// chunked body beyond this fails the request instead of growing memory at the
// server's word. The package itself is downloaded by its own workers.
constexpr int64_t HTTP_BODY_LIMIT = 16 * 1024 * 1024;

enum class BodyFraming {
  ByLength,  // exactly head.contentLength bytes
  Chunked,   // ChunkedBodyDecoder
  TooLarge,  // the declared length exceeds HTTP_BODY_LIMIT: fail the request
};

// Chunked when Transfer-Encoding names chunked, and also when Content-Length
// is missing, 0 or negative (a close-delimited body is not supported); by
// length otherwise.
BodyFraming ChooseBodyFraming(const HttpResponseHead& head);
