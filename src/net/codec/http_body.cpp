#include "net/codec/http_body.h"

BodyFraming ChooseBodyFraming(const HttpResponseHead& head) {
  if (head.chunked || head.contentLength <= 0) return BodyFraming::Chunked;
  if (head.contentLength > HTTP_BODY_LIMIT) return BodyFraming::TooLarge;
  return BodyFraming::ByLength;
}
