// The toolkit's demonstration program for the rendering tests: a page of the
// main window with every kind of widget over the real skin (the banner
// fetching from a gateway on loopback when a port is given), and a layered
// dialog opened from it. It prints its scale and widget rectangles, then
// "ready", and runs until its page window is closed.
//
//   ui_toolkit_demo.exe [gateway port]
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/global_settings.h"
#include "recording_logger.h"
#include "support/temp_folder.h"
#include "sys/system_library.h"
#include "toolkit_demo_views.h"
#include "ui/dialog_window.h"
#include "ui/resource_manager.h"

namespace {

constexpr UINT_PTR WATCHDOG_TIMER = 1;
constexpr UINT WATCHDOG_MS = 120000;

class DemoDialog : public DialogWindow {
 public:
  DemoDialog(HWND parent, IResourceMgr* manager)
      : DialogWindow(L"TessaroToolkitDemoDialog", parent, 400, 200) {
    view = std::make_unique<DemoDialogView>(hwnd, manager);
  }
};

class DemoWindow : public IBaseWindow {
 public:
  DemoWindow(IResourceMgr* manager, const BannerSetup& banner)
      : IBaseWindow(L"TessaroToolkitDemo", nullptr, 600, 400), manager_(manager) {
    page_ = std::make_unique<DemoPageView>(hwnd, manager, banner, [this] { OpenDialog(); });
    ::SetTimer(hwnd, WATCHDOG_TIMER, WATCHDOG_MS, nullptr);
  }
  ~DemoWindow() override {
    DetachWindow();
    dialog_.reset();
    page_.reset();
  }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_ERASEBKGND:
        return 0;
      case WM_TIMER:
        ::PostQuitMessage(3);
        return 0;
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
      default:
        return page_ ? page_->HandleMessage(msg, wParam, lParam)
                     : ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
  }

  void Show() {
    page_->PrintLayout();
    page_->BringToFront(hwnd, WindowZOrder::NotTopmost);
    ::UpdateWindow(hwnd);
  }

 private:
  void OpenDialog() {
    if (dialog_) return;
    dialog_ = std::make_unique<DemoDialog>(hwnd, manager_);
    // Over the bare screen corner, where the test knows what lies beneath.
    ::SetWindowPos(dialog_->hwnd, nullptr, 20, 20, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    static_cast<DemoDialogView&>(*dialog_->view).PrintLayout();
    dialog_->view->BringToFront(dialog_->hwnd, WindowZOrder::NotTopmost);
    ::UpdateWindow(dialog_->hwnd);
    std::printf("dialog ready\n");
    std::fflush(stdout);
  }

  IResourceMgr* manager_;
  std::unique_ptr<DemoPageView> page_;
  std::unique_ptr<DemoDialog> dialog_;
};

int RunDemo(const BannerSetup& banner) {
  TempFolder work;
  RecordingLogger logger;
  ResourceMgrPtr manager =
      MakeResourceManager(SkinSource{work.path(), ::GetModuleHandleW(nullptr), &logger});
  int code = 0;
  {
    DemoWindow window(manager.get(), banner);
    const GlobalSettings* settings = GetGlobalSettings();
    std::printf("scale %.3f dpi %.3f\n", settings->windowScale, settings->dpiScale);
    window.Show();
    std::printf("ready\n");
    std::fflush(stdout);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    code = static_cast<int>(msg.wParam);
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (SystemLibrary(L"gdiplus.dll") == nullptr || SystemLibrary(L"shlwapi.dll") == nullptr) return 2;
  WSADATA data{};
  ::WSAStartup(MAKEWORD(2, 2), &data);
  CreateGlobalSettings();
  BannerSetup banner;
  if (argc > 1) {
    banner.host = "127.0.0.1";
    banner.port = static_cast<uint16_t>(std::atoi(argv[1]));
  }
  int code = 1;
  try {
    code = RunDemo(banner);
  } catch (const std::exception& error) {
    std::printf("failed: %s\n", error.what());
  }
  DeleteGlobalSettings();
  ::WSACleanup();
  return code;
}
