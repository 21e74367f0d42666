// QueryUrlInfoThread: the HEAD requests for one package address, their
// retries and redirects, and what the final reply tells.
#include <stdexcept>

#include "download/download_events.h"
#include "download/package_name.h"
#include "download/url_info_query.h"
#include "net/codec/http_header_fields.h"
#include "net/tcp_http.h"
#include "sys/text_util.h"

namespace {

constexpr int32_t HEAD_ATTEMPTS = 10;
constexpr int32_t HEAD_TIMEOUT_MS = 3000;
constexpr DWORD HEAD_RETRY_PAUSE_MS = 100;

}  // namespace

bool QueryUrlInfoThread::QueryUrl(const std::string& version, std::string& address) {
  if (address.empty()) return false;
  current_ = ParseUrlOrRaise(address, environment_.logger);
  const std::vector<std::string> lines = HeadWithRedirects(address);
  if (lines.empty()) {
    SendDownloadError(environment_.logger, download_event::QUERY_ERROR, download_event::NO_HEAD);
    throw std::runtime_error("http get url header information error");
  }
  if (info_.fileName.empty()) info_.fileName = ChooseFileName(lines, version);
  if (info_.size <= 0) info_.size = HeaderContentLength(lines);
  if (info_.size <= 0) {
    info_.fileName.clear();
    return false;
  }
  CXMutexLock guard(lock_);
  info_.urls.push_back(address);
  return true;
}

std::wstring QueryUrlInfoThread::ChooseFileName(const std::vector<std::string>& lines,
                                                const std::string& version) const {
  std::wstring name = PackageNameFromHead(lines);
  if (name.empty()) name = MadeUpPackageName(environment_.ownModulePath, version);
  if (name.empty()) name = FALLBACK_PACKAGE_NAME;
  return name;
}

// Follows redirects, replacing address with each new target; the header
// lines of the final reply, empty when it failed (no reply, status 400 and
// above, or a chain longer than MAX_REDIRECTS).
std::vector<std::string> QueryUrlInfoThread::HeadWithRedirects(std::string& address) {
  for (int32_t redirects = 0;; ++redirects) {
    const HttpResponseHead head = HeadWithRetries(ParseUrlOrRaise(address, environment_.logger));
    if (head.status.empty()) return {};
    const int64_t status = ParseInt64(head.status);
    if (status < 300) return head.lines;
    if (status >= 400) return {};
    std::string location;
    if (!HeaderLocation(head.lines, &location)) return head.lines;
    if (redirects >= MAX_REDIRECTS) return {};
    // A relative target belongs to the address the query started from.
    address = ResolveLocation(location, current_.host, current_.port);
  }
}

HttpResponseHead QueryUrlInfoThread::HeadWithRetries(const UrlParts& parts) {
  HttpResponseHead head;
  for (int32_t attempt = 1;; ++attempt) {
    ThrowIfStopped();
    // A host that cannot be resolved at all ends the whole query.
    CTCPHttp client(parts.host, parts.port);
    client.SetRecvTimeout(HEAD_TIMEOUT_MS);
    client.SetSendTimeout(HEAD_TIMEOUT_MS);
    try {
      AttachedClient attached(slot_, client);
      head = client.Head(parts.host, parts.path);
    } catch (const std::exception&) {
      head = HttpResponseHead();
    }
    if (!head.lines.empty()) return head;
    if (attempt == HEAD_ATTEMPTS) break;
    if (!SleepUnlessStopped(HEAD_RETRY_PAUSE_MS)) ThrowIfStopped();
  }
  SendDownloadError(environment_.logger, download_event::QUERY_ERROR, download_event::TOO_MANY_ATTEMPTS);
  return head;
}
