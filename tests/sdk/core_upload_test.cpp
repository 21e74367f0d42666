// Draining the spool to a collector: order, batching, failures, refusals and
// cancelling, against a loopback server of the test's own.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "sys/unique_handle.h"
#include "vexa/core/record_id.h"
#include "vexa/core/spool.h"
#include "vexa/core/spool_upload.h"

namespace {

constexpr int kHang = -1;  // keep the connection open without a reply

class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { ::WSACleanup(); }
};
const auto* const kWinsock = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);

// Answers each POST with the status `answer` gives for its body.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::function<int(const std::string&)> answer) : answer_(std::move(answer)) {
    listener_.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener_.get(), 8) != 0 ||
        ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "server did not start";
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ScriptedServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  int Port() const { return port_; }
  std::vector<std::string> Bodies() {
    std::lock_guard<std::mutex> guard(lock_);
    return bodies_;
  }

 private:
  bool Readable(SOCKET socket) const {
    while (!stop_) {
      fd_set set;
      FD_ZERO(&set);
      FD_SET(socket, &set);
      timeval timeout = {0, 50000};
      if (::select(0, &set, nullptr, nullptr, &timeout) > 0) return true;
    }
    return false;
  }

  std::string ReadRequestBody(SOCKET socket) {
    std::string received;
    char buffer[8192];
    size_t headEnd = std::string::npos;
    size_t length = 0;
    for (;;) {
      if (headEnd == std::string::npos && (headEnd = received.find("\r\n\r\n")) != std::string::npos) {
        headEnd += 4;
        const size_t at = received.find("Content-Length: ");
        length = at == std::string::npos ? 0 : std::stoul(received.substr(at + 16));
      }
      if (headEnd != std::string::npos && received.size() >= headEnd + length) return received.substr(headEnd, length);
      if (!Readable(socket)) return {};
      const int got = ::recv(socket, buffer, sizeof(buffer), 0);
      if (got <= 0) return {};
      received.append(buffer, static_cast<size_t>(got));
    }
  }

  void Serve() {
    while (Readable(listener_.get())) {
      UniqueSocket client(::accept(listener_.get(), nullptr, nullptr));
      if (!client) continue;
      const std::string body = ReadRequestBody(client.get());
      {
        std::lock_guard<std::mutex> guard(lock_);
        bodies_.push_back(body);
      }
      const int status = answer_(body);
      if (status == kHang) {
        while (!stop_) ::Sleep(20);
        return;
      }
      const std::string reply = "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: 0\r\n\r\n";
      ::send(client.get(), reply.data(), static_cast<int>(reply.size()), 0);
    }
  }

  std::function<int(const std::string&)> answer_;
  UniqueSocket listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex lock_;
  std::vector<std::string> bodies_;
};

class SdkUpload : public ::testing::Test {
 protected:
  std::vector<std::string> Append(std::initializer_list<std::string> lines) {
    std::vector<std::string> written;
    for (const std::string& line : lines) {
      written.push_back(line + "\n");
      EXPECT_TRUE(spool.Append(NewRecordId(), written.back()));
    }
    return written;
  }

  static UploadTarget TargetAt(int port) { return {"127.0.0.1", port, "/sa?project=production"}; }

  TempFolder temp;
  Spool spool{temp.path() + L"spool\\"};
};

TEST_F(SdkUpload, ConfirmedBatchesLeaveTheSpoolInCommitOrder) {
  const std::vector<std::string> lines = Append({"{\"id\":\"a\"}", "{\"id\":\"b\"}", "{\"id\":\"c\"}"});
  ScriptedServer server([](const std::string&) { return 200; });
  EXPECT_EQ(DrainSpool(spool, TargetAt(server.Port()), nullptr), DrainResult::Empty);
  EXPECT_EQ(server.Bodies(), std::vector<std::string>{lines[0] + lines[1] + lines[2]});
  EXPECT_TRUE(spool.RecordFiles().empty());
}

TEST_F(SdkUpload, ManyRecordsTravelInSeveralBatches) {
  for (int i = 0; i < 150; ++i) Append({"{\"n\":" + std::to_string(i) + "}"});
  ScriptedServer server([](const std::string&) { return 204; });
  EXPECT_EQ(DrainSpool(spool, TargetAt(server.Port()), nullptr), DrainResult::Empty);
  const std::vector<std::string> bodies = server.Bodies();
  ASSERT_EQ(bodies.size(), 2u);
  EXPECT_EQ(bodies[0].find("{\"n\":0}\n"), 0u);
  EXPECT_EQ(bodies[1].find("{\"n\":100}\n"), 0u);
}

TEST_F(SdkUpload, AnswersOtherThanSuccessOrRefusalKeepEveryRecord) {
  for (int status : {500, 503, 408, 429, 302}) {
    Append({"{\"status\":" + std::to_string(status) + "}"});
    ScriptedServer server([status](const std::string&) { return status; });
    EXPECT_EQ(DrainSpool(spool, TargetAt(server.Port()), nullptr), DrainResult::Failed) << status;
  }
  EXPECT_EQ(spool.RecordFiles().size(), 5u);
}

TEST_F(SdkUpload, AnUnreachableCollectorFailsQuicklyAndKeepsTheRecords) {
  Append({"{}"});
  int port = 0;
  { ScriptedServer closed([](const std::string&) { return 200; }); port = closed.Port(); }
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(DrainSpool(spool, TargetAt(port), nullptr), DrainResult::Failed);
  EXPECT_LT(::GetTickCount() - start, 6000u);
  EXPECT_EQ(spool.RecordFiles().size(), 1u);
}

TEST_F(SdkUpload, ARefusedBatchIsSettledRecordByRecord) {
  Append({"good-1", "bad", "good-2"});
  ScriptedServer server([](const std::string& body) { return body.find("bad") == std::string::npos ? 200 : 400; });
  EXPECT_EQ(DrainSpool(spool, TargetAt(server.Port()), nullptr), DrainResult::Empty);
  EXPECT_EQ(server.Bodies(), (std::vector<std::string>{"good-1\nbad\ngood-2\n", "good-1\n", "bad\n", "good-2\n"}));
  EXPECT_TRUE(spool.RecordFiles().empty());
  const Spool rejected(spool.Folder() + L"rejected\\");
  ASSERT_EQ(rejected.RecordFiles().size(), 1u);
  EXPECT_EQ(rejected.Oldest(1, 100)[0].line, "bad\n");
}

TEST_F(SdkUpload, CancellingEndsAHangingExchangeAtOnce) {
  Append({"{}"});
  ScriptedServer server([](const std::string&) { return kHang; });
  UniqueKernelHandle cancel(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread canceller([&] {
    ::Sleep(300);
    ::SetEvent(cancel.get());
  });
  const DWORD start = ::GetTickCount();
  const DrainResult result = DrainSpool(spool, TargetAt(server.Port()), cancel.get());
  const DWORD elapsed = ::GetTickCount() - start;
  canceller.join();
  EXPECT_EQ(result, DrainResult::Cancelled);
  EXPECT_LT(elapsed, 2000u);
  EXPECT_EQ(spool.RecordFiles().size(), 1u);
}

TEST_F(SdkUpload, NothingIsTriedWithoutACompleteTarget) {
  Append({"{}"});
  EXPECT_EQ(DrainSpool(spool, {"", 80, "/"}, nullptr), DrainResult::NoTarget);
  EXPECT_EQ(DrainSpool(spool, {"127.0.0.1", 80, ""}, nullptr), DrainResult::NoTarget);
  EXPECT_EQ(spool.RecordFiles().size(), 1u);
}

}  // namespace
