#include "download_fakes.h"

#include "sys/md5.h"

namespace {

constexpr int64_t BLOCK_BYTES = 65521;

const std::string& Block() {
  static const std::string block = [] {
    std::string bytes(static_cast<size_t>(BLOCK_BYTES), '\0');
    for (int64_t j = 0; j < BLOCK_BYTES; ++j) {
      const uint32_t mixed = static_cast<uint32_t>(static_cast<uint64_t>(j) * 2654435761u);
      bytes[static_cast<size_t>(j)] = static_cast<char>((mixed >> 13) & 0xFF);
    }
    return bytes;
  }();
  return block;
}

DWORD WINAPI RunDestroy(void* parameter) {
  (*static_cast<std::function<void()>*>(parameter))();
  return 0;
}

}  // namespace

const char* FakePkgInfo::GetUrl(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= urls.size()) return nullptr;
  return urls[static_cast<size_t>(index)].c_str();
}

std::wstring FakeAppInfo::GetProductVersion(const std::wstring& path) {
  const auto found = versions.find(path);
  return found == versions.end() ? std::wstring() : found->second;
}

bool MemorySink::WriteAt(int32_t count, int32_t, const char* data, int64_t offset) {
  CXMutexLock guard(lock_);
  writes_.push_back(Write{offset, count});
  if (offset < 0 || static_cast<size_t>(offset) + static_cast<size_t>(count) > bytes_.size()) return false;
  bytes_.replace(static_cast<size_t>(offset), static_cast<size_t>(count), data, static_cast<size_t>(count));
  return true;
}

std::string MemorySink::Bytes() {
  CXMutexLock guard(lock_);
  return bytes_;
}

std::vector<MemorySink::Write> MemorySink::Writes() {
  CXMutexLock guard(lock_);
  return writes_;
}

void UrlInfoRecorder::OnUrlInfo(const UrlInfo& info) {
  CXMutexLock guard(lock_);
  info_ = info;
  called_ = true;
}

UrlInfo UrlInfoRecorder::Info() {
  CXMutexLock guard(lock_);
  return info_;
}

std::string PackageBytes(int64_t first, int64_t count) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(count));
  const std::string& block = Block();
  for (int64_t i = first; i < first + count; ++i) bytes.push_back(block[static_cast<size_t>(i % BLOCK_BYTES)]);
  return bytes;
}

std::string PackageMd5(int64_t size) {
  const std::string bytes = PackageBytes(0, size);
  return Md5HexOfData(bytes.data(), static_cast<int64_t>(bytes.size()));
}

bool WaitUntil(const std::function<bool()>& predicate, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (!predicate()) {
    if (::GetTickCount() - start >= ms) return predicate();
    ::Sleep(10);
  }
  return true;
}

bool DestroyWithin(std::function<void()> destroy, DWORD ms) {
  // Leaked on time-out on purpose: the thread may still be using it.
  auto* job = new std::function<void()>(std::move(destroy));
  HANDLE thread = ::CreateThread(nullptr, 0, RunDestroy, job, 0, nullptr);
  if (thread == nullptr) return false;
  const bool done = ::WaitForSingleObject(thread, ms) == WAIT_OBJECT_0;
  ::CloseHandle(thread);
  if (done) delete job;
  return done;
}

DownloadEnvironment TestEnvironment(const std::wstring& cacheRoot, ILoggerServer* logger, IPkgInfo* pkgInfo,
                                    IAppInfo* appInfo) {
  DownloadEnvironment environment;
  environment.logger = logger;
  environment.pkgInfo = pkgInfo;
  environment.appInfo = appInfo;
  environment.cacheRoot = cacheRoot;
  environment.ownModulePath = L"C:\\Downloads\\Tessaro_setup.exe";
  environment.fallbackUrl = "http://127.0.0.1:1/fallback/install.exe";
  return environment;
}
