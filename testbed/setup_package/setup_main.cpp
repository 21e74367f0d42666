// The stand-in setup package of Tessaro: behaves like the product's silent
// Inno Setup install as the installer drives it, or shows a small setup
// window when started without the silent switches. Exit codes follow Inno
// Setup: 0 installed, 1 could not start (bad /DIR or variant), 2 cancelled
// in the window, 4 the install failed. The version comes from the build.
#include <windows.h>

#include <string>

#include "install.h"
#include "setup_options.h"
#include "setup_variant.h"
#include "setup_window.h"

namespace {

constexpr int kInstalled = 0;
constexpr int kCannotStart = 1;
constexpr int kCancelled = 2;
constexpr int kInstallFailed = 4;

constexpr wchar_t kVersion[] = L"" TESSARO_PACKAGE_VERSION;

// Ends the process as the system ends a crashed one, with the exception code.
LONG WINAPI EndWithoutDebugger(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

[[noreturn]] void CrashWithAccessViolation() {
  // No crash dialog and no debugger: Windows honours the error mode, Wine
  // starts its debugger regardless unless the top-level filter declines.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  ::SetUnhandledExceptionFilter(EndWithoutDebugger);
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  ::ExitProcess(EXCEPTION_ACCESS_VIOLATION);
}

int InstallSilently(const SetupOptions& options) {
  const std::wstring folder = options.dir.empty() ? DefaultInstallFolder() : options.dir;
  if (!IsFullPath(folder)) return kCannotStart;
  return InstallProduct(options, folder, kVersion) ? kInstalled : kInstallFailed;
}

int InstallWithWindow(const SetupOptions& options) {
  std::wstring folder = options.dir.empty() ? DefaultInstallFolder() : options.dir;
  if (!AskInstallFolder(kVersion, folder)) return kCancelled;
  if (InstallProduct(options, folder, kVersion)) return kInstalled;
  ShowInstallFailure(folder);
  return kInstallFailed;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const std::wstring commandLine = ::GetCommandLineW();
  RecordCommandLine(commandLine);

  SetupVariant variant;
  if (!ParseSetupVariant(TakeSetupVariantText(), variant)) return kCannotStart;
  if (variant.runMs > 0) ::Sleep(variant.runMs);
  if (variant.outcome == SetupVariant::Outcome::Exit) return static_cast<int>(variant.exitCode);
  if (variant.outcome == SetupVariant::Outcome::Crash) CrashWithAccessViolation();

  const SetupOptions options = ParseSetupOptions(SplitSetupArguments(commandLine));
  return options.silent ? InstallSilently(options) : InstallWithWindow(options);
}
