#include "setup_window.h"

#include <windows.h>

#include <vector>

#include "product.h"
#include "setup_options.h"
#include "setup_resources.h"

namespace {

struct FolderChoice {
  std::wstring version;
  std::wstring folder;
};

std::wstring ItemText(HWND dialog, int item) {
  HWND control = ::GetDlgItem(dialog, item);
  std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  return text.data();
}

void OnInit(HWND dialog, FolderChoice* choice) {
  ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(choice));
  const std::wstring prompt =
      std::wstring(L"Install ") + kProductName + L" " + choice->version + L" into this folder:";
  ::SetDlgItemTextW(dialog, IDC_SETUP_PROMPT, prompt.c_str());
  ::SetDlgItemTextW(dialog, IDC_SETUP_FOLDER, choice->folder.c_str());
}

void OnInstall(HWND dialog) {
  auto* choice = reinterpret_cast<FolderChoice*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  const std::wstring folder = WithoutTrailingBackslashes(ItemText(dialog, IDC_SETUP_FOLDER));
  if (!IsFullPath(folder)) {
    ::MessageBoxW(dialog, L"Please enter a full path with a drive letter.", L"Tessaro Setup",
                  MB_OK | MB_ICONWARNING);
    return;
  }
  choice->folder = folder;
  ::EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<FolderChoice*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) OnInstall(dialog);
      if (LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool AskInstallFolder(const std::wstring& version, std::wstring& folder) {
  FolderChoice choice{version, folder};
  const INT_PTR result =
      ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETUP), nullptr,
                        SetupDialogProc, reinterpret_cast<LPARAM>(&choice));
  if (result != IDOK) return false;
  folder = choice.folder;
  return true;
}

void ShowInstallFailure(const std::wstring& folder) {
  const std::wstring text = L"Tessaro could not be installed into " + folder + L".";
  ::MessageBoxW(nullptr, text.c_str(), L"Tessaro Setup", MB_OK | MB_ICONERROR);
}
