// One download worker against the fault server and nginx: what reaches the
// sink, where, and what the server was asked.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "download/download_thread.h"
#include "download_fakes.h"
#include "net/net_test_support.h"
#include "peer_support.h"

namespace {

constexpr DWORD WORKER_MS = 30000;

class WorkerPeer : public ::testing::Test {
 protected:
  // Runs a worker for first..last of url to its end; its final status.
  int32_t Fetch(const std::string& url, int64_t first, int64_t last, int32_t maxRetries = 20) {
    worker = std::make_unique<CDownloadThread>(url, 2000, maxRetries, first, last, sink, 0, &logger);
    EXPECT_TRUE(WaitUntil([&] { return !worker->IsRunning(); }, WORKER_MS));
    return worker->Status();
  }

  // The sink's bytes first..last must be the package's.
  void ExpectPackageBytes(int64_t first, int64_t last) {
    EXPECT_EQ(sink.Bytes().substr(static_cast<size_t>(first), static_cast<size_t>(last - first + 1)),
              PackageBytes(first, last - first + 1));
  }

  FakeLogger logger;
  MemorySink sink{4000};
  std::unique_ptr<CDownloadThread> worker;
};

TEST_F(WorkerPeer, WholeRangeInOneAttemptAndOneWrite) {
  ASSERT_EQ(Fetch(FaultUrl("size=2000,key=w-exact"), 0, 999), DownloadThreadComplete);
  ExpectPackageBytes(0, 999);
  ASSERT_EQ(sink.Writes().size(), 1u);
  EXPECT_EQ(sink.Writes()[0].offset, 0);
  EXPECT_EQ(sink.Writes()[0].count, 1000);
  EXPECT_EQ(FaultRanges("w-exact"), std::vector<std::string>{"0-999"});
}

TEST_F(WorkerPeer, ResumesFromTheFirstMissingByteAfterADrop) {
  ASSERT_EQ(Fetch(FaultUrl("size=3000,drop=300,drops=1,key=w-drop"), 1000, 1999), DownloadThreadComplete);
  ExpectPackageBytes(1000, 1999);
  const auto writes = sink.Writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].offset, 1000);
  EXPECT_EQ(writes[0].count, 300);
  EXPECT_EQ(writes[1].offset, 1300);
  EXPECT_EQ(writes[1].count, 700);
  EXPECT_EQ(FaultRanges("w-drop"), (std::vector<std::string>{"1000-1999", "1300-1999"}));
}

// The head arrives one byte per segment: nothing of it may be lost or taken
// for body.
TEST_F(WorkerPeer, HeadInManySmallPiecesStillSeparatesTheBody) {
  ASSERT_EQ(Fetch(FaultUrl("tinyhead,size=3000,key=w-tiny"), 1000, 2999), DownloadThreadComplete);
  ExpectPackageBytes(1000, 2999);
  EXPECT_EQ(FaultRanges("w-tiny").size(), 1u);
}

// The server sends more than the range: the surplus would land in the next
// range's part of the file.
TEST_F(WorkerPeer, BytesBeyondTheRangeAreNeverWritten) {
  ASSERT_EQ(Fetch(FaultUrl("surplus=500,size=3000,key=w-surplus"), 0, 999), DownloadThreadComplete);
  ExpectPackageBytes(0, 999);
  for (const MemorySink::Write& write : sink.Writes()) EXPECT_LE(write.offset + write.count, 1000);
  EXPECT_EQ(sink.Bytes().substr(1000, 500), std::string(500, '\0'));
}

// The redirect's own body ("moved", or nginx's page) must not reach the file.
TEST_F(WorkerPeer, FollowsTheCdnRedirectToTheMirror) {
  ASSERT_EQ(Fetch(CdnUrl("/redirect/pkg/setup.exe"), 500, 1000), DownloadThreadComplete);
  ExpectPackageBytes(500, 1000);
  EXPECT_EQ(sink.Bytes().substr(0, 500), std::string(500, '\0'));
}

TEST_F(WorkerPeer, RelativeRedirectStaysOnTheSameServer) {
  ASSERT_EQ(Fetch(FaultUrl("relative,size=2000,key=w-relative"), 0, 999), DownloadThreadComplete);
  ExpectPackageBytes(0, 999);
  EXPECT_EQ(FaultRanges("w-relative"), (std::vector<std::string>{"0-999", "0-999"}));
}

TEST_F(WorkerPeer, RefusedConnectionsEndWithTheConnectError) {
  const std::string url = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/pkg/setup.exe";
  ASSERT_EQ(Fetch(url, 0, 999), DownloadThreadFailed);
  ASSERT_EQ(logger.CountOf("vSoftDownloadError"), 1u);
  EXPECT_EQ(logger.Events()[0].strings["error_type"], "下载线程出错");
  EXPECT_EQ(logger.Events()[0].strings["error_status"], "连接错误");
  EXPECT_TRUE(sink.Writes().empty());
}

// A head that never ends is not buffered without bound, nor taken for data.
TEST_F(WorkerPeer, OverlongHeadUsesUpTheAttemptsWithoutWriting) {
  ASSERT_EQ(Fetch(FaultUrl("longhead,size=2000,key=w-long"), 0, 999, 2), DownloadThreadFailed);
  EXPECT_TRUE(sink.Writes().empty());
  EXPECT_EQ(FaultRanges("w-long").size(), 2u);
  ASSERT_EQ(logger.CountOf("vSoftDownloadError"), 1u);
  EXPECT_EQ(logger.Events()[0].strings["error_status"], "重试超过最大次数");
}

TEST_F(WorkerPeer, StopsPromptlyWhileTheServerStalls) {
  worker = std::make_unique<CDownloadThread>(FaultUrl("stallget,key=w-stall"), 2000, 20, 0, 999, sink, 0, &logger);
  ASSERT_TRUE(WaitUntil([] { return FaultRanges("w-stall").size() == 1; }, 5000));
  Sleep(200);
  EXPECT_TRUE(DestroyWithin([&] { worker.reset(); }, 1000));
}

}  // namespace
