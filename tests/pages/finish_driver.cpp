// Enters the finished page the way a successful install does, for tests:
// the installer's startup in short (work folder, settings, channel from the
// file name, the two gateway queries, awaited), the main window opening on
// the finished page, the message loop and the end of the run.
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "api/pkg_info.h"
#include "api/server_info.h"
#include "app/global_settings.h"
#include "app/install_settings.h"
#include "app/startup_rules.h"
#include "app/startup_sequence.h"
#include "pages/main_window.h"
#include "sys/text_convert.h"
#include "sys/text_util.h"
#include "sys/work_folder.h"

namespace {

const struct WorkFolderBeforeMain {
  WorkFolderBeforeMain() { PrepareWorkFolder(); }
} workFolderBeforeMain;

// Both queries finished (or ten seconds passed).
void AwaitQueries() {
  IPkgInfo* package = GetPkgInfo();
  IServerInfo* server = GetServerInfo();
  for (int i = 0; i < 200; ++i) {
    const bool packageDone = package == nullptr || package->GetStatus() != QueryPending;
    const bool serverDone = server == nullptr || server->GetStatus() != QueryPending;
    if (packageDone && serverDone) return;
    ::Sleep(50);
  }
}

FirstPageChoice FinishedPage(HWND) {
  FirstPageChoice choice;
  choice.installPath = L"C:\\Program Files\\Orvane\\Tessaro";
  choice.page = PAGE_FINISHED;
  return choice;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CreateGlobalSettings();
  wchar_t own[1024] = {};
  ::GetModuleFileNameW(nullptr, own, 1023);
  SetGlobalChannel(ChannelFromPackageName(PackageNameFromPath(WideToUtf8(own))));
  GetInstallSettings().SetBeginTimestamp(Utf8ToWide(FormatInt64(NowUnixSeconds())));
  WSADATA data;
  ::WSAStartup(MAKEWORD(1, 1), &data);
  AwaitQueries();
  try {
    MainWindow window(&FinishedPage);
    ::ShowWindow(window.hwnd, SW_SHOW);
    ::UpdateWindow(window.hwnd);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  } catch (...) {
  }
  EndRun();
  DeleteGlobalSettings();
  return 0;
}
