// CXMutex, its guard and the worker thread base: start, exit code and the
// stop protocol.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <utility>

#include "sys/unique_handle.h"
#include "sys/worker_thread.h"
#include "sys/xmutex.h"

namespace {

// Long enough for anything that must happen; reaching it means a hang.
constexpr DWORD kMustHappenMs = 10000;
// How long a thread gets to do what it must not be able to do.
constexpr DWORD kMustNotHappenMs = 200;

UniqueKernelHandle MakeEvent() { return UniqueKernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

bool IsSet(const UniqueKernelHandle& event, DWORD waitMs) {
  return ::WaitForSingleObject(event.get(), waitMs) == WAIT_OBJECT_0;
}

UniqueKernelHandle Duplicate(HANDLE handle) {
  HANDLE copy = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  return UniqueKernelHandle(copy);
}

DWORD ExitCodeOf(HANDLE thread) {
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeThread(thread, &code);
  return code;
}

// A worker whose Run and stop hook are supplied by the test.
class TestWorker final : public COrvaneBasedThread {
 public:
  using Body = std::function<int(TestWorker&)>;
  using Hook = std::function<void()>;

  enum class Start { Release, KeepSuspended };

  explicit TestWorker(Body body, Hook onStop = {}, Start start = Start::Release)
      : body_(std::move(body)), onStop_(std::move(onStop)) {
    if (start == Start::Release) ReleaseThread();
  }
  ~TestWorker() override { StopWorkerThread(); }

  using COrvaneBasedThread::IsStopRequested;
  using COrvaneBasedThread::SleepUnlessStopped;

 private:
  int Run() override { return body_(*this); }
  void OnStopRequested() noexcept override {
    if (onStop_) onStop_();
  }

  Body body_;
  Hook onStop_;
};

// A worker whose constructor fails after the base has created the thread.
class FailingWorker final : public COrvaneBasedThread {
 public:
  FailingWorker(UniqueKernelHandle& threadCopy, std::atomic<bool>& ran) : ran_(ran) {
    threadCopy = Duplicate(ThreadHandle());
    throw std::runtime_error("construction failed");
  }

 private:
  int Run() override {
    ran_ = true;
    return 0;
  }

  std::atomic<bool>& ran_;
};

TEST(WorkerThreadTest, RunResultBecomesExitCode) {
  struct Case {
    int result;
    bool raises;
    DWORD exitCode;
  };
  const Case cases[] = {{0, false, 0}, {42, false, 42}, {-5, false, 0xFFFFFFFB}, {7, true, 0xFFFFFFFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exitCode);
    TestWorker worker([&c](TestWorker&) -> int {
      if (c.raises) throw std::runtime_error("worker failed");
      return c.result;
    });
    ASSERT_NE(worker.ThreadHandle(), nullptr);
    ASSERT_EQ(::WaitForSingleObject(worker.ThreadHandle(), kMustHappenMs), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(worker.ThreadHandle()), c.exitCode);
    EXPECT_FALSE(worker.IsRunning());
  }
}

TEST(WorkerThreadTest, RunningUntilRunReturns) {
  UniqueKernelHandle entered = MakeEvent();
  UniqueKernelHandle proceed = MakeEvent();
  TestWorker worker([&](TestWorker&) {
    ::SetEvent(entered.get());
    ::WaitForSingleObject(proceed.get(), INFINITE);
    return 0;
  });
  ASSERT_TRUE(IsSet(entered, kMustHappenMs));
  EXPECT_TRUE(worker.IsRunning());
  ::SetEvent(proceed.get());
  ASSERT_EQ(::WaitForSingleObject(worker.ThreadHandle(), kMustHappenMs), WAIT_OBJECT_0);
  EXPECT_FALSE(worker.IsRunning());
}

TEST(WorkerThreadTest, NeverReleasedThreadEndsWithoutRun) {
  std::atomic<bool> ran{false};
  UniqueKernelHandle thread;
  {
    TestWorker worker(
        [&](TestWorker&) {
          ran = true;
          return 0;
        },
        {}, TestWorker::Start::KeepSuspended);
    thread = Duplicate(worker.ThreadHandle());
    ASSERT_TRUE(thread);
  }
  EXPECT_FALSE(ran);
  ASSERT_TRUE(IsSet(thread, 0));
  EXPECT_EQ(ExitCodeOf(thread.get()), 0xFFFFFFFF);
}

TEST(WorkerThreadTest, FailedDerivedConstructorNeverRuns) {
  std::atomic<bool> ran{false};
  UniqueKernelHandle thread;
  EXPECT_THROW({ FailingWorker worker(thread, ran); }, std::runtime_error);
  EXPECT_FALSE(ran);
  ASSERT_TRUE(thread);
  ASSERT_TRUE(IsSet(thread, 0));
  EXPECT_EQ(ExitCodeOf(thread.get()), 0xFFFFFFFF);
}

TEST(WorkerThreadTest, DestructionWakesWorkerWaitingOnStop) {
  UniqueKernelHandle entered = MakeEvent();
  std::atomic<bool> sleepEndedByStop{false};
  std::atomic<bool> sawStopFlag{false};
  UniqueKernelHandle thread;
  {
    TestWorker worker([&](TestWorker& self) {
      ::SetEvent(entered.get());
      sleepEndedByStop = !self.SleepUnlessStopped(INFINITE);
      sawStopFlag = self.IsStopRequested();
      return 3;
    });
    thread = Duplicate(worker.ThreadHandle());
    ASSERT_TRUE(IsSet(entered, kMustHappenMs));
  }
  EXPECT_TRUE(sleepEndedByStop);
  EXPECT_TRUE(sawStopFlag);
  ASSERT_TRUE(IsSet(thread, 0));
  EXPECT_EQ(ExitCodeOf(thread.get()), 3u);
}

TEST(WorkerThreadTest, SleepUnlessStoppedRunsOutWithoutStop) {
  std::atomic<bool> sleptFully{false};
  TestWorker worker([&](TestWorker& self) {
    sleptFully = self.SleepUnlessStopped(1);
    return 0;
  });
  ASSERT_EQ(::WaitForSingleObject(worker.ThreadHandle(), kMustHappenMs), WAIT_OBJECT_0);
  EXPECT_TRUE(sleptFully);
}

// The hook must interrupt a blocking call that knows nothing of the stop
// event; here the "blocking call" waits on an event only the hook sets.
TEST(WorkerThreadTest, StopHookRunsOnDestroyingThreadAndUnblocksRun) {
  UniqueKernelHandle entered = MakeEvent();
  UniqueKernelHandle blockingCall = MakeEvent();
  std::atomic<DWORD> hookThread{0};
  std::atomic<bool> runReturned{false};
  {
    TestWorker worker(
        [&](TestWorker&) {
          ::SetEvent(entered.get());
          ::WaitForSingleObject(blockingCall.get(), INFINITE);
          runReturned = true;
          return 0;
        },
        [&] {
          hookThread = ::GetCurrentThreadId();
          ::SetEvent(blockingCall.get());
        });
    ASSERT_TRUE(IsSet(entered, kMustHappenMs));
  }
  EXPECT_EQ(hookThread.load(), ::GetCurrentThreadId());
  EXPECT_TRUE(runReturned);
}

TEST(XMutexTest, ExcludesSecondThreadUntilUnlocked) {
  CXMutex mutex;
  ASSERT_TRUE(mutex.HasHandle());
  UniqueKernelHandle trying = MakeEvent();
  UniqueKernelHandle acquired = MakeEvent();

  mutex.Lock();
  TestWorker other([&](TestWorker&) {
    ::SetEvent(trying.get());
    CXMutexLock lock(mutex);
    ::SetEvent(acquired.get());
    return 0;
  });
  // Not ASSERT: leaving with the mutex held would deadlock the worker's join.
  EXPECT_TRUE(IsSet(trying, kMustHappenMs));
  EXPECT_FALSE(IsSet(acquired, kMustNotHappenMs));
  mutex.Unlock();
  EXPECT_TRUE(IsSet(acquired, kMustHappenMs));
}

TEST(XMutexTest, GuardUnlocksWhenLeftByException) {
  CXMutex mutex;
  try {
    CXMutexLock lock(mutex);
    throw std::runtime_error("error path");
  } catch (const std::runtime_error&) {
  }
  UniqueKernelHandle acquired = MakeEvent();
  TestWorker other([&](TestWorker&) {
    CXMutexLock lock(mutex);
    ::SetEvent(acquired.get());
    return 0;
  });
  EXPECT_TRUE(IsSet(acquired, kMustHappenMs));
}

TEST(XMutexTest, WithoutHandleWorksUnlocked) {
  CXMutex mutex{UniqueKernelHandle()};
  EXPECT_FALSE(mutex.HasHandle());
  mutex.Lock();
  UniqueKernelHandle acquired = MakeEvent();
  TestWorker other([&](TestWorker&) {
    CXMutexLock lock(mutex);
    ::SetEvent(acquired.get());
    return 0;
  });
  EXPECT_TRUE(IsSet(acquired, kMustHappenMs));
  mutex.Unlock();
}

}  // namespace
