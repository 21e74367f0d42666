#include "net_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "app/global_settings.h"

namespace {

class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data = {};
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { ::WSACleanup(); }
};

const ::testing::Environment* const winsock =
    ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  address.sin_port = ::htons(port);
  return address;
}

}  // namespace

std::vector<FakeLogger::Event> FakeLogger::Events() {
  CXMutexLock guard(lock_);
  return events_;
}

size_t FakeLogger::CountOf(const std::string& name) {
  size_t count = 0;
  for (const Event& event : Events()) count += event.name == name ? 1 : 0;
  return count;
}

bool FakeLogger::SendEvent(const std::string& name) {
  CXMutexLock guard(lock_);
  Event event = pending_;
  event.name = name;
  events_.push_back(event);
  return true;
}

void FakeLogger::ClearProperties() {
  CXMutexLock guard(lock_);
  pending_ = Event();
}

void FakeLogger::SetIntProperty(const std::string& key, int32_t value) {
  CXMutexLock guard(lock_);
  pending_.ints.insert({key, value});
}

void FakeLogger::SetStringProperty(const std::string& key, const std::string& value) {
  CXMutexLock guard(lock_);
  pending_.strings.insert({key, value});
}

ScopedGlobalSettings::ScopedGlobalSettings() { CreateGlobalSettings(); }
ScopedGlobalSettings::~ScopedGlobalSettings() { DeleteGlobalSettings(); }

LoopbackListener::LoopbackListener(int backlog)
    : listener_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
  sockaddr_in address = Loopback(0);
  if (!listener_ || ::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener_.get(), backlog) != 0) {
    throw std::runtime_error("cannot listen on loopback");
  }
  int length = sizeof(address);
  ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ::ntohs(address.sin_port);
}

UniqueSocket LoopbackListener::Accept() {
  return UniqueSocket(::accept(listener_.get(), nullptr, nullptr));
}

void LoopbackListener::FillBacklog() {
  const sockaddr_in address = Loopback(port_);
  for (int i = 0; i < 16; ++i) {
    UniqueSocket client(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    u_long nonBlocking = 1;
    ::ioctlsocket(client.get(), FIONBIO, &nonBlocking);
    ::connect(client.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(client.get(), &writable);
    timeval wait = {0, 300 * 1000};
    const bool connected = ::select(0, nullptr, &writable, nullptr, &wait) > 0;
    queued_.push_back(std::move(client));
    if (!connected) return;  // this attempt went unanswered: the queue is full
  }
  throw std::runtime_error("the listen queue never filled");
}

uint16_t ClosedPort() {
  // A port the system handed out and took back: nothing listens there now.
  LoopbackListener listener;
  return listener.Port();
}

std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

DWORD MillisecondsOf(const std::function<void()>& action) {
  const DWORD start = ::GetTickCount();
  action();
  return ::GetTickCount() - start;
}

std::string DriverValue(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    ADD_FAILURE() << name << " is not set: run this program through its Python driver";
    return "";
  }
  return value;
}

uint16_t DriverPort(const char* name) {
  return static_cast<uint16_t>(std::strtoul(DriverValue(name).c_str(), nullptr, 10));
}
