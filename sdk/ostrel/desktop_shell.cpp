#include "ostrel/desktop_shell.h"

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <string>

#include "sys/unique_handle.h"

namespace {

// The desktop's shell view, found through the shell's window list.
UniqueCom<IShellView> DesktopShellView() {
  IShellWindows* rawWindows = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                reinterpret_cast<void**>(&rawWindows)))) {
    return {};
  }
  UniqueCom<IShellWindows> windows(rawWindows);
  VARIANT location = {};
  VARIANT root = {};
  ::VariantInit(&location);
  ::VariantInit(&root);
  long window = 0;
  IDispatch* rawDesktop = nullptr;
  if (windows.get()->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &rawDesktop) != S_OK ||
      !rawDesktop) {
    return {};
  }
  UniqueCom<IDispatch> desktop(rawDesktop);
  IServiceProvider* rawProvider = nullptr;
  if (FAILED(desktop.get()->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&rawProvider)))) return {};
  UniqueCom<IServiceProvider> provider(rawProvider);
  IShellBrowser* rawBrowser = nullptr;
  if (FAILED(provider.get()->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                          reinterpret_cast<void**>(&rawBrowser)))) {
    return {};
  }
  UniqueCom<IShellBrowser> browser(rawBrowser);
  IShellView* rawView = nullptr;
  if (FAILED(browser.get()->QueryActiveShellView(&rawView)) || !rawView) return {};
  return UniqueCom<IShellView>(rawView);
}

// The shell's automation object (IShellDispatch2) behind a shell view.
UniqueCom<IShellDispatch2> ShellDispatchOf(IShellView* view) {
  IDispatch* rawBackground = nullptr;
  if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, reinterpret_cast<void**>(&rawBackground)))) {
    return {};
  }
  UniqueCom<IDispatch> background(rawBackground);
  IShellFolderViewDual* rawFolderView = nullptr;
  if (FAILED(background.get()->QueryInterface(IID_IShellFolderViewDual, reinterpret_cast<void**>(&rawFolderView)))) {
    return {};
  }
  UniqueCom<IShellFolderViewDual> folderView(rawFolderView);
  IDispatch* rawApplication = nullptr;
  if (FAILED(folderView.get()->get_Application(&rawApplication)) || !rawApplication) return {};
  UniqueCom<IDispatch> application(rawApplication);
  IShellDispatch2* rawShell = nullptr;
  if (FAILED(application.get()->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(&rawShell)))) return {};
  return UniqueCom<IShellDispatch2>(rawShell);
}

}  // namespace

bool ShellExecuteThroughDesktop(const std::wstring& verb, const std::wstring& file) {
  UniqueCom<IShellView> view = DesktopShellView();
  if (!view) return false;
  UniqueCom<IShellDispatch2> shell = ShellDispatchOf(view.get());
  if (!shell) return false;
  UniqueBstr fileText(::SysAllocString(file.c_str()));
  UniqueBstr verbText(verb.empty() ? nullptr : ::SysAllocString(verb.c_str()));
  if (!fileText || (!verb.empty() && !verbText)) return false;
  VARIANT arguments, directory, operation, show;
  ::VariantInit(&arguments);
  ::VariantInit(&directory);
  ::VariantInit(&operation);
  ::VariantInit(&show);
  if (verbText) {
    operation.vt = VT_BSTR;
    operation.bstrVal = verbText.get();  // still owned by verbText
  }
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
  return SUCCEEDED(shell.get()->ShellExecute(fileText.get(), arguments, directory, operation, show));
}
