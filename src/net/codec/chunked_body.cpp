#include "net/codec/chunked_body.h"

#include <algorithm>

#include "net/codec/http_body.h"

namespace {

constexpr uint64_t MAX_CHUNK_SIZE = 0xFFFFFFFFu;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool EndsWithCrLf(const std::string& text) {
  return text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n';
}

}  // namespace

int64_t ParseChunkSize(const std::string& line) {
  const size_t end = line.find("\r\n");
  if (end == std::string::npos) return -1;
  if (end == 0) return 0;

  size_t i = 0;
  uint64_t value = 0;
  for (; i < end && HexValue(line[i]) >= 0; ++i) {
    value = value * 16 + static_cast<uint64_t>(HexValue(line[i]));
    if (value > MAX_CHUNK_SIZE) return -1;
  }
  if (i == 0) return -1;
  while (i < end && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i < end && line[i] != ';') return -1;
  return static_cast<int64_t>(value);
}

size_t ChunkedBodyDecoder::Feed(const char* data, size_t size) {
  size_t taken = 0;
  while (taken < size && !Finished()) {
    if (state == State::SizeLine) {
      TakeLineByte(data[taken++]);
      continue;
    }
    const size_t n = static_cast<size_t>(std::min<uint64_t>(chunkLeft, size - taken));
    body.append(data + taken, n);
    taken += n;
    chunkLeft -= n;
    if (chunkLeft == 0) state = State::SizeLine;
  }
  return taken;
}

size_t ChunkedBodyDecoder::Wanted() const {
  if (state == State::SizeLine) return 1;
  if (state == State::ChunkData) return static_cast<size_t>(chunkLeft);
  return 0;
}

void ChunkedBodyDecoder::TakeLineByte(char byte) {
  line.push_back(byte);
  if (EndsWithCrLf(line) || line.size() >= CHUNK_LINE_LIMIT) OnSizeLine();
}

void ChunkedBodyDecoder::OnSizeLine() {
  const int64_t chunkSize = ParseChunkSize(line);
  line.clear();
  if (chunkSize < 0) {
    state = State::BadSizeLine;
    return;
  }
  if (chunkSize == 0) {
    if (afterZeroLine) state = State::Done;
    afterZeroLine = true;
    return;
  }
  afterZeroLine = false;
  if (static_cast<uint64_t>(chunkSize) > static_cast<uint64_t>(HTTP_BODY_LIMIT) - body.size()) {
    state = State::TooLarge;
    return;
  }
  chunkLeft = static_cast<uint64_t>(chunkSize);
  state = State::ChunkData;
}
