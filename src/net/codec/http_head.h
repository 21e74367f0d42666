// The head of an HTTP reply: collecting it as it arrives, and splitting it
// into the status and the header lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A head ends at CR LF CR LF or at this many bytes, whichever comes first;
// reaching the limit is no error, whatever follows is then taken as body.
constexpr size_t HTTP_HEAD_LIMIT = 4096;

// Collects a reply head. The socket code receives one byte at a time and
// feeds it here until Complete(), so no byte of the body is read early.
class HttpHeadBuffer {
 public:
  // Takes bytes from `data` until the head is complete; returns how many it
  // took (fewer than `size` only when the head completed on the way).
  size_t Feed(const char* data, size_t size);

  // The head ends with CR LF CR LF or holds HTTP_HEAD_LIMIT bytes.
  bool Complete() const { return complete; }
  const std::string& Text() const { return text; }

 private:
  std::string text;
  bool complete = false;
};

struct HttpResponseHead {
  // The three characters at offset 9 of the status line ("200"), or empty
  // when that line is 11 characters or shorter.
  std::string status;
  // The head split at every CR and LF, empty pieces dropped; lines[0] is the
  // status line.
  std::vector<std::string> lines;
  // From the first Content-Length header that has a value; 0 when none.
  int64_t contentLength = 0;
  // A Transfer-Encoding header names "chunked".
  bool chunked = false;
};

// Splits a collected head. Never fails: a head without lines gives an empty
// status, no lines and length 0.
HttpResponseHead ParseResponseHead(const std::string& head);
