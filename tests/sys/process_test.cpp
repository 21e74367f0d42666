// COrvaneBasedProcess against child_stub.exe, built next to this test.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>

#include "support/test_paths.h"
#include "sys/child_process.h"
#include "sys/unique_handle.h"

namespace {

constexpr DWORD kMustHappenMs = 20000;

// child_stub.exe, built next to this test.
std::wstring StubPath() { return BesideTestProgram(L"child_stub.exe"); }

std::wstring StubCommand(const std::wstring& arguments) {
  return L"\"" + StubPath() + L"\" " + arguments;
}

// A named event the child waits on before it ends; it is set when the test
// lets the child go, at the latest when the object goes away.
class ChildGate {
 public:
  ChildGate()
      : name_(L"tessaro-process-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter_)),
        event_(::CreateEventW(nullptr, TRUE, FALSE, name_.c_str())) {}
  ~ChildGate() { Open(); }

  void Open() { ::SetEvent(event_.get()); }
  bool valid() const { return event_.valid(); }
  std::wstring Name() const { return name_; }

 private:
  static inline int counter_ = 0;
  std::wstring name_;
  UniqueKernelHandle event_;
};

UniqueKernelHandle Duplicate(HANDLE handle) {
  HANDLE copy = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  return UniqueKernelHandle(copy);
}

int CountOwnChildren() {
  UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return -1;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == ::GetCurrentProcessId()) ++count;
  }
  return count;
}

TEST(ChildProcessTest, ExitCodeIsReadOnceTheChildHasEnded) {
  struct Case {
    const wchar_t* arguments;
    DWORD exitCode;
  };
  const Case cases[] = {
      {L"0", 0}, {L"3", 3}, {L"1234567", 1234567}, {L"crash", 0xC0000005}, {L"show", SW_HIDE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "arguments " << c.arguments);
    COrvaneBasedProcess child(StubCommand(c.arguments));
    ASSERT_TRUE(child.Start());
    ASSERT_TRUE(child.WaitForExit(kMustHappenMs));
    EXPECT_EQ(::WaitForSingleObject(child.ProcessHandle(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(child.ExitCode(), std::optional<DWORD>(c.exitCode));
  }
}

TEST(ChildProcessTest, NoExitCodeWhileTheChildRuns) {
  ChildGate gate;
  ASSERT_TRUE(gate.valid());
  COrvaneBasedProcess child(StubCommand(L"9 0 " + gate.Name()));
  ASSERT_TRUE(child.Start());
  EXPECT_FALSE(child.WaitForExit(0));
  EXPECT_EQ(child.ExitCode(), std::nullopt);
  gate.Open();
  ASSERT_TRUE(child.WaitForExit(kMustHappenMs));
  EXPECT_EQ(child.ExitCode(), std::optional<DWORD>(9));
}

TEST(ChildProcessTest, SecondStartCreatesNoSecondChild) {
  ChildGate gate;
  ASSERT_TRUE(gate.valid());
  COrvaneBasedProcess child(StubCommand(L"0 0 " + gate.Name()));
  ASSERT_TRUE(child.Start());
  const HANDLE first = child.ProcessHandle();
  ASSERT_TRUE(child.Start());
  EXPECT_EQ(child.ProcessHandle(), first);
  EXPECT_EQ(CountOwnChildren(), 1);
  gate.Open();
}

TEST(ChildProcessTest, MissingProgramIsNotStarted) {
  COrvaneBasedProcess child(L"\"" + StubPath() + L".missing\" 0");
  EXPECT_FALSE(child.Start());
  EXPECT_FALSE(child.IsStarted());
  EXPECT_EQ(child.ProcessHandle(), nullptr);
  EXPECT_FALSE(child.WaitForExit(0));
  EXPECT_EQ(child.ExitCode(), std::nullopt);
  // Nothing was started, so the destructor has nothing to wait for.
}

TEST(ChildProcessTest, DestructionWaitsForARunningChild) {
  UniqueKernelHandle process;
  {
    COrvaneBasedProcess child(StubCommand(L"5 300"));
    ASSERT_TRUE(child.Start());
    process = Duplicate(child.ProcessHandle());
    ASSERT_TRUE(process);
  }
  EXPECT_EQ(::WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  ASSERT_TRUE(::GetExitCodeProcess(process.get(), &code));
  EXPECT_EQ(code, 5u);
}

TEST(ChildProcessTest, DestructionCanLeaveTheChildRunning) {
  ChildGate gate;
  ASSERT_TRUE(gate.valid());
  UniqueKernelHandle process;
  {
    COrvaneBasedProcess child(StubCommand(L"6 0 " + gate.Name()),
                              COrvaneBasedProcess::OnDestroy::LeaveRunning);
    ASSERT_TRUE(child.Start());
    process = Duplicate(child.ProcessHandle());
    ASSERT_TRUE(process);
  }
  EXPECT_EQ(::WaitForSingleObject(process.get(), 0), WAIT_TIMEOUT);
  gate.Open();
  ASSERT_EQ(::WaitForSingleObject(process.get(), kMustHappenMs), WAIT_OBJECT_0);
}

}  // namespace
