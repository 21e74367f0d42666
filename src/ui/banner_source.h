// Where the animated banner gets its bytes: the installer configuration and
// the GIF, each by one plain HTTP GET. The banner's thread calls Get; the
// thread that stops the banner calls Abort.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class IBannerSource {
 public:
  virtual ~IBannerSource() = default;

  // The body of a "200" reply to GET `path` from host:port, with `host` in the
  // Host line; empty on any failure, any other status and after Abort.
  virtual std::string Get(const std::string& host, uint16_t port, const std::string& path) = 0;

  // Makes a Get running on another thread end at once, and every later Get
  // fail. Safe from any thread.
  virtual void Abort() noexcept = 0;
};

// Gets through the installer's own HTTP client, with the process's proxy and
// DNS settings and without time-outs of its own (an Abort ends a wait).
std::unique_ptr<IBannerSource> MakeHttpBannerSource();
