// Support for the socket-side network tests: Winsock for the whole program,
// a logger that records events, loopback listeners, fresh GlobalSettings and
// the ports that the Python drivers hand over in environment variables.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "net/unique_socket.h"
#include "sys/xmutex.h"
#include "support/silent_logger.h"

// Records every SendEvent with the properties pending at that moment.
class FakeLogger : public SilentLogger {
 public:
  struct Event {
    std::string name;
    std::map<std::string, std::string> strings;
    std::map<std::string, int32_t> ints;
  };

  std::vector<Event> Events();
  size_t CountOf(const std::string& name);

  bool SendEvent(const std::string& name) override;
  void ClearProperties() override;
  void SetIntProperty(const std::string& key, int32_t value) override;
  void SetStringProperty(const std::string& key, const std::string& value) override;


 private:
  CXMutex lock_;
  Event pending_;
  std::vector<Event> events_;
};

// A fresh GlobalSettings for one test, deleted afterwards.
class ScopedGlobalSettings {
 public:
  ScopedGlobalSettings();
  ~ScopedGlobalSettings();
  ScopedGlobalSettings(const ScopedGlobalSettings&) = delete;
  ScopedGlobalSettings& operator=(const ScopedGlobalSettings&) = delete;
};

// A TCP listener on 127.0.0.1 at a port the system chose.
class LoopbackListener {
 public:
  explicit LoopbackListener(int backlog = SOMAXCONN);
  uint16_t Port() const { return port_; }
  // Waits for the next connection.
  UniqueSocket Accept();
  // Queues connections that are never accepted until the queue is full, so
  // that the listener leaves every further connection attempt unanswered.
  void FillBacklog();

 private:
  UniqueSocket listener_;
  std::vector<UniqueSocket> queued_;
  uint16_t port_ = 0;
};

// A loopback port on which nothing listens (connections are refused).
uint16_t ClosedPort();

// The message of the std::exception that `action` raises; "" when it raises none.
std::string FailureOf(const std::function<void()>& action);

// Milliseconds `action` took.
DWORD MillisecondsOf(const std::function<void()>& action);

// The value of an environment variable set by the test driver; fails the
// current test (and returns "") when it is missing.
std::string DriverValue(const char* name);
uint16_t DriverPort(const char* name);
