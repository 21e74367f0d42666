#include "ui/edit_resource.h"

#include <stdexcept>

#include "ui/widget_geometry.h"
#include "ui/window_scale.h"

namespace {

constexpr wchar_t EDIT_PROPERTY[] = L"EditClassPtr";
constexpr DWORD EDIT_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_AUTOHSCROLL;

// The EDIT class's own window procedure, read once when the first edit
// widget is made; every subclassed control forwards to it.
WNDPROC& EditClassProc() {
  static WNDPROC proc = nullptr;
  return proc;
}

}  // namespace

ResourceStyleSet DefaultEditStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  for (ResourceStyle& style : set.styles) {
    style.textColor = 0xFF1A1A1A;
    style.borderColor = 0x00FFFFFF;
    style.fillColor = 0x00FFFFFF;
  }
  return set;
}

CEditResource::CEditResource(HWND parent, const ResourceStyleSet* styleSet)
    : CImageResource(EDIT_RESOURCE_ID, styleSet != nullptr ? *styleSet : DefaultEditStyles(),
                     ResourceType::Edit) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  editWindow = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", text.c_str(), EDIT_STYLE, 0, 0, 100,
                                 25, parent, reinterpret_cast<HMENU>(EDIT_RESOURCE_ID), instance,
                                 nullptr);
  if (editWindow == nullptr) throw std::runtime_error("create widget error");

  if (EditClassProc() == nullptr) {
    EditClassProc() = reinterpret_cast<WNDPROC>(::GetClassLongW(editWindow, GCL_WNDPROC));
  }
  ::SetWindowLongW(editWindow, GWL_WNDPROC, reinterpret_cast<LONG>(&SubclassProc));
  ::SetPropW(editWindow, EDIT_PROPERTY, this);

  const ResourceStyle& normal = styles[ResourceState::Normal];
  font_.reset(::CreateFontW(-ScaleMetric(normal.fontSize, CurrentWindowScale()), 0, 0, 0, 0, FALSE,
                            FALSE, FALSE, 0, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH, normal.fontName.c_str()));
  ::SendMessageW(editWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

CEditResource::~CEditResource() {
  if (::IsWindow(editWindow)) {
    ::RemovePropW(editWindow, EDIT_PROPERTY);
    ::DestroyWindow(editWindow);
  }
}

LRESULT CALLBACK CEditResource::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (::GetPropW(hwnd, EDIT_PROPERTY) == nullptr) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  // The sunken client edge is never painted: the page draws its own border.
  if (msg == WM_NCPAINT && (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) return 0;
  return ::CallWindowProcW(EditClassProc(), hwnd, msg, wParam, lParam);
}

bool CEditResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  ::SetWindowPos(editWindow, nullptr, rect.left, rect.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  ::SetWindowPos(editWindow, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOMOVE);
  return true;
}

bool CEditResource::Draw(HDC) {
  ::ShowWindow(editWindow, visible ? SW_SHOWNORMAL : SW_HIDE);
  if (visible) ::InvalidateRect(editWindow, nullptr, TRUE);
  return true;
}
