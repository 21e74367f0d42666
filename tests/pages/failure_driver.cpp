// Opens one failure dialog of the progress page over a blank 600 x 400 main
// window with the real skin, for the look and click tests. The first argument
// picks the dialog: "retry-download", "retry-install", "manual-download" or
// "manual-install". Exit code: 1 when the retry dialog answered "立即重试",
// 0 when it was dismissed or a manual dialog ended, 2 on a bad argument or
// no skin.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/global_settings.h"
#include "pages/failure_dialogs.h"
#include "sys/work_folder.h"
#include "ui/base_window.h"
#include "ui/resource_manager.h"

namespace {

const struct WorkFolderBeforeMain {
  WorkFolderBeforeMain() { PrepareWorkFolder(); }
} workFolderBeforeMain;

// A blank stand-in for the main window.
class BlankMainWindow : public IBaseWindow {
 public:
  BlankMainWindow() : IBaseWindow(L"TessaroFailureDriverMain", nullptr, 600, 400) {}
  ~BlankMainWindow() override { DetachWindow(); }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
};

std::wstring FirstArgument() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::wstring first = count > 1 ? arguments[1] : L"";
  ::LocalFree(arguments);
  return first;
}

int OpenDialog(const std::wstring& which, HWND mainWindow, IResourceMgr* skin) {
  if (which == L"retry-download") return AskRetry(mainWindow, skin, FailureKind::Download) ? 1 : 0;
  if (which == L"retry-install") return AskRetry(mainWindow, skin, FailureKind::Install) ? 1 : 0;
  if (which == L"manual-download") {
    OfferManualDownload(mainWindow, skin, "http://127.0.0.1:9/TessaroSetup.exe");
    return 0;
  }
  if (which == L"manual-install") {
    OfferManualInstall(mainWindow, skin, L"");
    return 0;
  }
  return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CreateGlobalSettings();
  int result = 2;
  try {
    ResourceMgrPtr skin = MakeResourceManager(DefaultSkinSource());
    BlankMainWindow main;
    ::ShowWindow(main.hwnd, SW_SHOW);
    ::UpdateWindow(main.hwnd);
    result = OpenDialog(FirstArgument(), main.hwnd, skin.get());
  } catch (...) {
  }
  DeleteGlobalSettings();
  return result;
}
