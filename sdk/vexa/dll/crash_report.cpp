#include "vexa/dll/crash_report.h"

#include <windows.h>

#include <dbghelp.h>

#include <string>

#include "sys/system_library.h"
#include "sys/unique_handle.h"
#include "sys/xmutex.h"

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

// How long the dump may take before the callback runs without it.
constexpr DWORD kDumpWaitMs = 30000;
constexpr size_t kMaxPathChars = 4096;

struct DumpJob {
  MiniDumpWriteDumpFn write;
  HANDLE file;
  DWORD threadId;
  EXCEPTION_POINTERS* exception;
};

// Everything the filter needs is prepared when reporting is enabled: after a
// crash the heap may be broken and the loader lock may be held.
class CrashReporter {
 public:
  static CrashReporter& Instance() {
    static CrashReporter* instance = new CrashReporter();
    return *instance;
  }

  void Enable(VexaCrashCallback callback, void* context, const std::wstring& folder) {
    CXMutexLock guard(lock_);
    if (!writeDump_) writeDump_ = LoadMiniDumpWriter();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // Written before the filter can read them; a crash during Enable itself
    // finds the previous values or none.
    if (folder.size() + 64 < kMaxPathChars) {
      lstrcpynW(folder_, folder.c_str(), static_cast<int>(kMaxPathChars));
    }
    context_ = context;
    callback_ = callback;
    if (!installed_) {
      installed_ = true;
      ::SetUnhandledExceptionFilter(&CrashReporter::Filter);
    }
  }

 private:
  CrashReporter() = default;

  // dbghelp from the system folder by full path: a copy planted beside the
  // program must not run in the crashing process.
  static MiniDumpWriteDumpFn LoadMiniDumpWriter() {
    return SystemFunctionAs<MiniDumpWriteDumpFn>(L"dbghelp.dll", "MiniDumpWriteDump");
  }

  static DWORD WINAPI DumpThread(void* parameter) {
    auto* job = static_cast<DumpJob*>(parameter);
    MINIDUMP_EXCEPTION_INFORMATION info = {};
    info.ThreadId = job->threadId;
    info.ExceptionPointers = job->exception;
    info.ClientPointers = FALSE;
    return job->write(::GetCurrentProcess(), ::GetCurrentProcessId(), job->file, MiniDumpNormal, &info, nullptr,
                      nullptr)
               ? 0
               : 1;
  }

  // The dump is written from a fresh thread: the crashed one may have no
  // stack left, and a process dumps its own threads best from outside them.
  void WriteDump(const wchar_t* path, EXCEPTION_POINTERS* exception) {
    if (!writeDump_) return;
    UniqueFileHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DumpJob job = {writeDump_, file.get(), ::GetCurrentThreadId(), exception};
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, &CrashReporter::DumpThread, &job, 0, nullptr));
    if (thread) {
      ::WaitForSingleObject(thread.get(), kDumpWaitMs);
    } else {
      DumpThread(&job);
    }
    ::FlushFileBuffers(file.get());
  }

  void ComposeDumpPath() {
    SYSTEMTIME now = {};
    ::GetSystemTime(&now);
    wchar_t name[64] = {};
    wsprintfW(name, L"crash-%04u%02u%02u-%02u%02u%02u-%lu.dmp", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond, ::GetCurrentProcessId());
    lstrcpynW(dumpPath_, folder_, static_cast<int>(kMaxPathChars));
    lstrcatW(dumpPath_, name);
  }

  static LONG WINAPI Filter(EXCEPTION_POINTERS* exception) {
    CrashReporter& self = Instance();
    // A crash inside the report (or on a second thread meanwhile) just ends
    // the process.
    if (::InterlockedExchange(&self.handling_, 1) != 0) return EXCEPTION_EXECUTE_HANDLER;
    self.ComposeDumpPath();
    self.WriteDump(self.dumpPath_, exception);
    if (self.callback_) self.callback_(self.context_, self.dumpPath_);
    return EXCEPTION_EXECUTE_HANDLER;
  }

  CXMutex lock_;  // between callers of Enable; the filter never takes it
  VexaCrashCallback volatile callback_ = nullptr;
  void* volatile context_ = nullptr;
  MiniDumpWriteDumpFn writeDump_ = nullptr;
  bool installed_ = false;
  LONG volatile handling_ = 0;
  wchar_t folder_[kMaxPathChars] = {};
  wchar_t dumpPath_[kMaxPathChars] = {};
};

}  // namespace

void EnableCrashReport(VexaCrashCallback callback, void* context, const std::wstring& folder) {
  CrashReporter::Instance().Enable(callback, context, folder);
}
