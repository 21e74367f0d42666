// Decoding a chunked reply body as its bytes arrive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A chunk-size line must end with CR LF within this many bytes; it leaves
// room for eight hex digits and a short chunk extension.
constexpr size_t CHUNK_LINE_LIMIT = 64;

// The size announced by one chunk-size line (which includes its CR LF):
// hex digits in either case, optionally followed by blanks and a ";"
// extension, which is ignored. A line that is only CR LF gives 0.
// Returns -1 when the line has no CR LF, no digits before the extension,
// any other character, or a size above 0xFFFFFFFF.
int64_t ParseChunkSize(const std::string& line);

// Feeds on the bytes after the head and collects the body. Each size line is
// read to its CR LF; a line of size 0 is passed over once and the line after
// it decides: 0 ends the body (so the CR LF after each chunk's data is taken
// in stride, and the terminating "0" line ends the body), a positive size
// starts the next chunk. Trailers after the last chunk are never read.
class ChunkedBodyDecoder {
 public:
  enum class State {
    SizeLine,     // reading a chunk-size line
    ChunkData,    // reading a chunk's data
    Done,         // the body is complete
    BadSizeLine,  // a size line was malformed or too long
    TooLarge,     // the body would exceed HTTP_BODY_LIMIT
  };

  // Takes bytes from `data` until the body ends or fails; returns how many it
  // took. Bytes offered after that are not taken.
  size_t Feed(const char* data, size_t size);

  // How many bytes to receive next so as not to read past the body: 1 while
  // a size line is read, the rest of the chunk while data is read, 0 once
  // finished (Done or failed).
  size_t Wanted() const;

  State GetState() const { return state; }
  bool Finished() const { return state != State::SizeLine && state != State::ChunkData; }
  const std::string& Body() const { return body; }

 private:
  void TakeLineByte(char byte);
  void OnSizeLine();

  State state = State::SizeLine;
  bool afterZeroLine = false;
  std::string line;
  std::string body;
  uint64_t chunkLeft = 0;
};
