#include "api/pkg_info_impl.h"

#include <algorithm>
#include <stdexcept>

#include "deployment.h"
#include "sys/app_info.h"
#include "sys/os_version.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"

namespace {

constexpr char APP_ID[] = "52718340";
constexpr char UNKNOWN_OWN_VERSION[] = "0.9.0.1";
constexpr DWORD PASS_PAUSE_MS = 300;

int64_t SizeOr(const std::string& text, int64_t fallback) {
  const int64_t value = ParseInt64(text);
  return value == 0 ? fallback : value;
}

}  // namespace

PackageReply ReadPackageReply(const std::string& body) {
  const Json::Value root = ParseReply(body);
  const Json::Value& data = StrictReplyData(root);
  PackageReply reply;
  if (data.isObject() && data.isMember("downloadUrl"))
    reply.downloadUrls.push_back(PackageUrl{0, MemberText(data, "downloadUrl"), 0});
  reply.softwareCode = MemberText(data, "softwareCode");
  reply.versionCode = MemberText(data, "versionCode");
  reply.size = SizeOr(MemberText(data, "size"), DEFAULT_PACKAGE_SIZE);
  reply.installationSize = SizeOr(MemberText(data, "installationSize"), DEFAULT_INSTALLATION_SIZE);
  reply.md5 = MemberText(data, "md5");
  return reply;
}

std::string PackageQueryPath(const std::string& ownVersion, bool is64BitWindows) {
  return std::string("/applicationService/installer/getAppVersion?appId=") + APP_ID +
         "&versionCode=" + (ownVersion.empty() ? UNKNOWN_OWN_VERSION : ownVersion) +
         "&packageSystemSupport=" + (is64BitWindows ? "2" : "1");
}

CPkgInfo::CPkgInfo(std::string path, std::string host, std::string fallbackHost) {
  worker_ = std::make_unique<CReadPkgInfoThread>(*this, std::move(path), std::move(host), std::move(fallbackHost));
}

CPkgInfo::~CPkgInfo() { worker_.reset(); }

const char* CPkgInfo::GetVersionCode() {
  CXMutexLock guard(lock_);
  return versionCode_.empty() ? nullptr : versionCode_.c_str();
}

int32_t CPkgInfo::GetUrlCount() {
  CXMutexLock guard(lock_);
  return static_cast<int32_t>(downloadUrls_.size());
}

const char* CPkgInfo::GetUrl(int32_t index) {
  CXMutexLock guard(lock_);
  if (index < 0 || static_cast<size_t>(index) >= downloadUrls_.size()) return nullptr;
  return downloadUrls_[static_cast<size_t>(index)].url.c_str();
}

const char* CPkgInfo::GetMd5() {
  CXMutexLock guard(lock_);
  return md5_.empty() ? nullptr : md5_.c_str();
}

void CPkgInfo::Reset() {
  CXMutexLock guard(lock_);
  softwareCode_.clear();
  versionCode_.clear();
  md5_.clear();
  downloadUrls_.clear();
  size_ = 0;
  installationSize_ = 0;
}

void CPkgInfo::Publish(const PackageReply& reply) {
  CXMutexLock guard(lock_);
  softwareCode_ = reply.softwareCode;
  versionCode_ = reply.versionCode;
  size_ = reply.size;
  installationSize_ = reply.installationSize;
  md5_ = reply.md5;
  downloadUrls_ = reply.downloadUrls;
  std::stable_sort(downloadUrls_.begin(), downloadUrls_.end(),
                   [](const PackageUrl& a, const PackageUrl& b) { return a.priority > b.priority; });
}

CReadPkgInfoThread::CReadPkgInfoThread(CPkgInfo& info, std::string path, std::string host,
                                       std::string fallbackHost)
    : info_(info), path_(std::move(path)), host_(std::move(host)), fallbackHost_(std::move(fallbackHost)) {
  ReleaseThread();
}

CReadPkgInfoThread::~CReadPkgInfoThread() { StopWorkerThread(); }

int CReadPkgInfoThread::Run() {
  try {
    Query();
    info_.SetStatus(QueryDone);
  } catch (...) {
    info_.SetStatus(QueryFailed);
  }
  return 0;
}

// Host, then the fallback address, pass after pass until a body arrives: an
// unreachable gateway does not fail the query, only a stop does.
void CReadPkgInfoThread::Query() {
  for (bool firstPass = true;; firstPass = false) {
    if (IsStopRequested()) throw std::runtime_error("user cancel");
    if (!firstPass && !SleepUnlessStopped(PASS_PAUSE_MS)) throw std::runtime_error("user cancel");
    std::string body = GatewayGet(path_, host_, &canceller_);
    if (IsStopRequested()) throw std::runtime_error("user cancel");
    if (body.empty()) body = GatewayGet(path_, fallbackHost_, &canceller_);
    if (body.empty()) continue;
    if (IsStopRequested()) throw std::runtime_error("user cancel");
    info_.Publish(ReadPackageReply(body));
    return;
  }
}

IPkgInfo* GetPkgInfo() {
  // Destroyed at process exit, which stops the query.
  static const std::unique_ptr<CPkgInfo> instance = std::make_unique<CPkgInfo>(
      PackageQueryPath(WideToUtf8(GetAppInfo()->GetProductVersion(L"")), Is64BitWindows()),
      deployment::GATEWAY_HOST, deployment::GATEWAY_FALLBACK_IP);
  return instance.get();
}
