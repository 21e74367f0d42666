#include <atomic>
#include <exception>

#include "net/tcp_http.h"
#include "sys/xmutex.h"
#include "ui/banner_source.h"

namespace {

class HttpBannerSource final : public IBannerSource {
 public:
  std::string Get(const std::string& host, uint16_t port, const std::string& path) override {
    try {
      CTCPHttp client(host, port);
      if (!Register(&client)) return std::string();
      std::string body;
      try {
        body = client.Get(path, host);
      } catch (const std::exception&) {
        body.clear();
      }
      Register(nullptr);
      return body;
    } catch (const std::exception&) {
      return std::string();
    }
  }

  void Abort() noexcept override {
    CXMutexLock hold(lock_);
    aborted_ = true;
    if (active_ != nullptr) active_->Abort();
  }

 private:
  // Makes `client` the one Abort reaches; false when an Abort came first.
  bool Register(CTCPHttp* client) {
    CXMutexLock hold(lock_);
    active_ = client;
    return !aborted_;
  }

  CXMutex lock_;
  bool aborted_ = false;          // guarded by lock_
  CTCPHttp* active_ = nullptr;    // guarded by lock_
};

}  // namespace

std::unique_ptr<IBannerSource> MakeHttpBannerSource() {
  return std::make_unique<HttpBannerSource>();
}
