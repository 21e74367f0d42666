// What the URL information query finds out about the package, and who it
// tells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct UrlInfo {
  int64_t size = 0;               // Content-Length; 0 when unknown
  std::wstring fileName;          // a plain file name; empty when unknown
  std::vector<std::string> urls;  // the final address of every package address that answered
};

class IUrlInfoSink {
 public:
  // Called once, on the query's thread, when the query ends, with whatever
  // it found (possibly nothing).
  virtual void OnUrlInfo(const UrlInfo& info) = 0;

 protected:
  ~IUrlInfoSink() = default;
};
