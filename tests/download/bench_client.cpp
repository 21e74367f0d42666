// The benchmark's client (testbed/bench/download_bench.py runs it; it is not
// a test): downloads one package with the real downloader and prints how
// long it took.
//
//   download_bench_client.exe <url> <ranges> <cache folder>
//
// Prints "ready_ms=<ms> state=<state> bytes=<size>" and returns 0 when the
// package became ready.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "api/pkg_info.h"
#include "app/global_settings.h"
#include "download/c_downloader.h"
#include "sys/file_ops.h"
#include "sys/path_pieces.h"
#include "sys/text_convert.h"
#include "support/silent_logger.h"

namespace {

constexpr DWORD POLL_MS = 10;
constexpr DWORD LIMIT_MS = 10 * 60 * 1000;

class BenchPkgInfo final : public IPkgInfo {
 public:
  explicit BenchPkgInfo(std::string url) : url_(std::move(url)) {}
  int32_t GetStatus() override { return QueryDone; }
  int64_t GetPackageSize() override { return 0; }
  int64_t GetInstallationSize() override { return 0; }
  const char* GetVersionCode() override { return nullptr; }
  int32_t GetUrlCount() override { return 1; }
  const char* GetUrl(int32_t index) override { return index == 0 ? url_.c_str() : nullptr; }
  const char* GetMd5() override { return nullptr; }
  void Reset() override {}

 private:
  std::string url_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: download_bench_client <url> <ranges> <cache folder>\n");
    return 2;
  }
  CreateGlobalSettings();
  BenchPkgInfo pkg(WideToUtf8(argv[1]));
  SilentLogger logger;
  DownloadEnvironment environment;
  environment.logger = &logger;
  environment.pkgInfo = &pkg;
  environment.cacheRoot = WithTrailingSeparator(argv[3]);
  environment.ownModulePath = L"C:\\bench\\bench.exe";
  environment.segmentCount = _wtoi(argv[2]);
  int32_t state = DownloadRunning;
  DWORD elapsed = 0;
  int64_t size = 0;
  {
    CDownloader downloader(environment);
    const DWORD start = GetTickCount();
    if (downloader.Start()) {
      while ((state = downloader.Poll()) == DownloadRunning && GetTickCount() - start < LIMIT_MS) Sleep(POLL_MS);
    } else {
      state = DownloadFailed;
    }
    elapsed = GetTickCount() - start;
    size = FileSize(downloader.GetFilePath());
  }
  std::printf("ready_ms=%lu state=%d bytes=%lld\n", static_cast<unsigned long>(elapsed), static_cast<int>(state),
              static_cast<long long>(size));
  DeleteGlobalSettings();
  return state == DownloadReady ? 0 : 1;
}
