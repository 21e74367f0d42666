#include "pages/custome_view.h"

#include <memory>

#include "pages/cancel_dialog.h"
#include "pages/custom_path.h"
#include "pages/folder_browser.h"
#include "pages/install_room.h"
#include "pages/page_events.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"
#include "sys/install_path.h"
#include "sys/text_convert.h"
#include "sys/volumes.h"
#include "telemetry/logger_server.h"
#include "ui/checkbox_resource.h"
#include "ui/edit_resource.h"
#include "ui/text_resource.h"

namespace {

constexpr int32_t LAYOUT_ID = 11;
constexpr int32_t SPACER_ID = 12;
constexpr int32_t LABEL_ID = 10;
constexpr wchar_t PAGE_TITLE[] = L"自定义安装";
constexpr char ACTION_INSTALL[] = "0005";
constexpr int EDIT_TEXT_LIMIT = 260;

ResourceStyleSet LabelStyles() {
  ResourceStyleSet set = TextStyles(COLOR_BODY, TextAlignNear, 14);
  set[ResourceState::Normal].fillColor = COLOR_CLEAR;
  return set;
}

ResourceStyleSet ValueStyles() {
  ResourceStyleSet set = TextStyles(COLOR_TITLE, TextAlignNear, 14);
  set[ResourceState::Normal].fillColor = COLOR_CLEAR;
  return set;
}

ResourceStyleSet BackButtonStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  const uint32_t text[] = {COLOR_BODY, COLOR_LINK_HOVER, COLOR_LINK_PRESSED, COLOR_BODY};
  for (size_t i = 0; i < set.styles.size(); ++i) {
    set.styles[i].fillColor = COLOR_CLEAR;
    set.styles[i].iconSide = IconSideLeft;
    set.styles[i].textColor = text[i];
  }
  return set;
}

ResourceStyleSet BrowseButtonStyles() {
  ResourceStyleSet set = LinkStyles(14);
  for (ResourceState state : {ResourceState::Normal, ResourceState::Hover, ResourceState::Pressed}) {
    set[state].underline = 1;
  }
  return set;
}

void SetMargins(CLayoutResource& layout, uint32_t left, uint32_t top, uint32_t right,
                uint32_t bottom) {
  layout.marginLeft = left;
  layout.marginTop = top;
  layout.marginRight = right;
  layout.marginBottom = bottom;
}

}  // namespace

CCustomeView::CCustomeView(HWND window, IResourceMgr* skin) : CPageView(window, skin) {
  BuildWidgets();
  LayOutToClient();
  SendPageEvent("vInstallPage", PAGE_TITLE);
}

void CCustomeView::BuildWidgets() {
  auto layout = [this](int32_t orientation, CLayoutResource* parent, uint32_t weight) {
    return Add(std::make_unique<CLayoutResource>(orientation, LAYOUT_ID), parent, weight);
  };
  auto spacer = [this](CLayoutResource* parent, uint32_t weight) {
    Add(std::make_unique<CSpacerResource>(SPACER_ID), parent, weight);
  };
  const ResourceStyleSet labelStyles = LabelStyles();
  const ResourceStyleSet valueStyles = ValueStyles();

  CLayoutResource* root = layout(LayoutVertical, nullptr, 0);
  SetMargins(*root, 20, 24, 20, 0);
  root->background = Add(MakePageBackground(resourceMgr), nullptr, 0);

  CLayoutResource* topRow = layout(LayoutHorizontal, root, 4);
  const ResourceStyleSet backStyles = BackButtonStyles();
  auto back = std::make_unique<CButtonResource>(CUSTOME_ID_BACK, L"返回", &backStyles);
  back->SetStateImage(ResourceState::Normal, SkinImage(resourceMgr, L"custom_btn_back_normal.png"));
  back->SetStateImage(ResourceState::Hover, SkinImage(resourceMgr, L"custom_btn_back_hover.png"));
  back->SetStateImage(ResourceState::Pressed, SkinImage(resourceMgr, L"custom_btn_back_press.png"));
  Add(std::move(back), topRow, 5);
  spacer(topRow, 23);

  CLayoutResource* body = layout(LayoutVertical, root, 88);
  SetMargins(*body, 24, 30, 24, 30);
  ResourceStyleSet titleStyles = TextStyles(COLOR_TITLE, TextAlignNear, 24);
  titleStyles[ResourceState::Normal].fillColor = COLOR_CLEAR;
  Add(std::make_unique<CTextResource>(LABEL_ID, &titleStyles, PAGE_TITLE), body, 8);
  spacer(body, 3);

  CLayoutResource* pathRow = layout(LayoutHorizontal, body, 4);
  Add(std::make_unique<CTextResource>(LABEL_ID, &labelStyles, L"安装路径: "), pathRow, 8);
  auto edit = std::make_unique<CEditResource>(hwnd, &valueStyles);
  edit->inflateX = 0;
  edit->inflateY = 4;
  edit_ = Add(std::move(edit), pathRow, 38);
  const ResourceStyleSet browseStyles = BrowseButtonStyles();
  Add(std::make_unique<CButtonResource>(CUSTOME_ID_BROWSE, L"浏览", &browseStyles), pathRow, 4);
  spacer(body, 3);

  CLayoutResource* spaceRow = layout(LayoutHorizontal, body, 4);
  Add(std::make_unique<CTextResource>(LABEL_ID, &labelStyles, L"所需空间: "), spaceRow, 8);
  Add(std::make_unique<CTextResource>(CUSTOME_ID_REQUIRED, &valueStyles, L""), spaceRow, 8);
  Add(std::make_unique<CTextResource>(LABEL_ID, &labelStyles, L"可用空间: "), spaceRow, 8);
  Add(std::make_unique<CTextResource>(CUSTOME_ID_AVAILABLE, &valueStyles, L""), spaceRow, 8);
  const ResourceStyleSet warningStyles = TextStyles(COLOR_WARNING, TextAlignNear, 12);
  auto warning = std::make_unique<CTextResource>(CUSTOME_ID_ROOM_WARNING, &warningStyles,
                                                 L"（该磁盘分区可用空间不足）");
  warning->visible = 0;
  Add(std::move(warning), spaceRow, 18);
  spacer(body, 3);

  CLayoutResource* optionRow = layout(LayoutHorizontal, body, 4);
  Add(std::make_unique<CTextResource>(LABEL_ID, &labelStyles, L"其它选项: "), optionRow, 8);
  const ResourceStyleSet planStyles = LinkStyles(14);
  auto plan = std::make_unique<CCheckboxResource>(
      CUSTOME_ID_PLAN, &planStyles, L"同意并参加用户体验改善计划",
      SkinImage(resourceMgr, L"main_checkbox_select.png"),
      SkinImage(resourceMgr, L"main_checkbox_deselect.png"));
  plan->inflateX = 0;
  plan->inflateY = -4;
  Add(std::move(plan), optionRow, 42);
  spacer(body, 2);

  CLayoutResource* installRow = layout(LayoutHorizontal, body, 18);
  spacer(installRow, 24);
  const ResourceStyleSet installStyles = PrimaryButtonStyles();
  auto install = std::make_unique<CButtonResource>(CUSTOME_ID_INSTALL, L"立即安装", &installStyles);
  install->aspectRatio = 3.5;
  Add(std::move(install), installRow, 23);
  spacer(installRow, 24);
  const ResourceStyleSet noteStyles = TextStyles(COLOR_WARNING, TextAlignCenter, 13);
  Add(std::make_unique<CTextResource>(LABEL_ID, &noteStyles, L""), body, 1);
}

LRESULT CCustomeView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == CUSTOME_ID_EDIT && HIWORD(wParam) == EN_KILLFOCUS) ApplyEditText();
      // The edit box has no background of its own (NULL_BRUSH below): the
      // page repaints under it so that removed characters do not linger.
      if (LOWORD(wParam) == CUSTOME_ID_EDIT && HIWORD(wParam) == EN_CHANGE) Invalidate();
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, RGB(0x1A, 0x1A, 0x1A));
      ::SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
      return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    case WM_WAKE_INSTANCE:
      return Wake();
    default:
      return HandleStandardMessage(msg, wParam, lParam);
  }
}

void CCustomeView::ApplyEditText() {
  wchar_t text[EDIT_TEXT_LIMIT + 1] = {};
  ::GetWindowTextW(edit_->editWindow, text, EDIT_TEXT_LIMIT + 1);
  SetPath(text);
}

void CCustomeView::SetPath(const std::wstring& newPath) {
  if (newPath == path) return;
  if (!IsValidInstallPath(newPath)) {
    ::SetWindowTextW(edit_->editWindow, path.c_str());
    return;
  }
  const uint64_t required = RequiredInstallationSize();
  const uint64_t available = GetVolumeFreeSpace(newPath);
  hasRoom = required < available ? 1 : 0;
  if (appendProductFolder) {
    path = InstallFolderFor(newPath, ProductFolders::Append);
  } else {
    appendProductFolder = 1;
    path = InstallFolderFor(newPath, ProductFolders::AsIs);
  }
  SetText(CUSTOME_ID_REQUIRED, FormatSize(static_cast<double>(required)));
  SetText(CUSTOME_ID_AVAILABLE, FormatSize(static_cast<double>(available)));
  edit_->text = path;
  ::SetWindowTextW(edit_->editWindow, path.c_str());
  Invalidate();
}

void CCustomeView::SetText(int32_t id, const std::wstring& text) {
  if (IBaseResource* widget = FindResource(id)) static_cast<CTextResource*>(widget)->text = text;
}

void CCustomeView::HideEdit() const { ::ShowWindow(edit_->editWindow, SW_HIDE); }

LRESULT CCustomeView::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Taking the focus from the edit box applies its text (EN_KILLFOCUS).
  if (TypeAt(HitTest(lParam)) != ResourceType::Edit) ::SetFocus(hwnd);
  return CPageView::OnLButtonDown(msg, wParam, lParam);
}

LRESULT CCustomeView::OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  const int index = HitTest(lParam);
  const bool clickable = TypeAt(index) == ResourceType::Checkbox ||
                         (IsButton(index) && !IsDisabledButton(index));
  if (clickable) ::PostMessageW(hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(index), lParam);
  return result;
}

LRESULT CCustomeView::OnResourceClick(int index, LPARAM) {
  if (index < 0 || static_cast<size_t>(index) >= resources.size()) return 0;
  IBaseResource& widget = *resources[static_cast<size_t>(index)];
  switch (widget.id) {
    case CUSTOME_ID_BACK:
      HideEdit();
      SwitchTo(PAGE_START);
      break;
    case CUSTOME_ID_BROWSE:
      BrowseForFolder();
      break;
    case CUSTOME_ID_INSTALL: {
      ILoggerServer* logger = GetLoggerServer();
      logger->ClearProperties();
      logger->SetStringProperty("confirm_entrance", WideToUtf8(L"开始安装"));
      logger->SendEvent("pConfirmInstall");
      ReportPageAction(PAGE_CODE_CUSTOM, ACTION_INSTALL);
      HideEdit();
      SwitchTo(PAGE_PROGRESS);
      break;
    }
    case CUSTOME_ID_PLAN:
      // The toggle follows in UpdateWidgetStates; joinPlan takes the new mark.
      if (widget.type == ResourceType::Checkbox) {
        joinPlan = static_cast<CCheckboxResource&>(widget).checked != 0 ? 0 : 1;
      }
      break;
    default:
      break;
  }
  if (UpdateWidgetStates(index, WM_RESOURCE_CLICK)) Invalidate();
  return 0;
}

void CCustomeView::CloseRequested() {
  if (AskCancelInstall(hwnd, resourceMgr, L"CustomeChildCloseWnd", CancelOpener::CustomPage,
                       closeDialog)) {
    EndRunAfterCancel(hwnd, PAGE_TITLE);
  }
}

bool CCustomeView::FollowTarget(IBaseResource& widget, bool isTarget, UINT msg) {
  if (!isTarget) return MoveState(widget, ResourceState::Normal);
  switch (msg) {
    case WM_MOUSEMOVE:
      return MoveState(widget, ResourceState::Hover);
    case WM_LBUTTONDOWN:
      return MoveState(widget, ResourceState::Pressed);
    case WM_RESOURCE_CLICK:
      return MoveState(widget, ResourceState::Normal);
    default:
      return false;
  }
}

bool CCustomeView::UpdateWidgetStates(int target, UINT msg) {
  bool changed = false;
  for (size_t i = 0; i < resources.size(); ++i) {
    IBaseResource& widget = *resources[i];
    const bool isTarget = static_cast<int>(i) == target;
    switch (widget.id) {
      case CUSTOME_ID_BACK:
      case CUSTOME_ID_BROWSE:
        changed |= FollowTarget(widget, isTarget, msg);
        break;
      case CUSTOME_ID_INSTALL:
        if (hasRoom) changed |= FollowTarget(widget, isTarget, msg);
        break;
      case CUSTOME_ID_PLAN:
        if (isTarget && msg == WM_RESOURCE_CLICK && widget.type == ResourceType::Checkbox) {
          auto& box = static_cast<CCheckboxResource&>(widget);
          box.checked = box.checked != 0 ? 0 : 1;
          box.UpdateBoxRect();
          changed = true;
        }
        break;
      default:
        break;
    }
  }
  return ApplyRoomRule() || changed;
}

bool CCustomeView::ApplyRoomRule() {
  IBaseResource* install = FindResource(CUSTOME_ID_INSTALL);
  IBaseResource* warning = FindResource(CUSTOME_ID_ROOM_WARNING);
  bool changed = false;
  if (hasRoom) {
    if (install != nullptr && install->state == ResourceState::Disabled) {
      changed |= MoveState(*install, ResourceState::Normal);
    }
    if (warning != nullptr && warning->visible) {
      warning->visible = 0;
      changed = true;
    }
  } else {
    if (install != nullptr) changed |= MoveState(*install, ResourceState::Disabled);
    if (warning != nullptr && !warning->visible) {
      warning->visible = 1;
      changed = true;
    }
  }
  return changed;
}

void CCustomeView::BrowseForFolder() {
  std::wstring folder;
  switch (BrowseForInstallFolder(hwnd, folder)) {
    case FolderChoice::Chosen:
      SetPath(folder);
      break;
    case FolderChoice::NotFileSystem:
      ::MessageBoxW(hwnd, L"请选择正确的安装路径！", L"路径选择错误", MB_OK);
      break;
    case FolderChoice::Cancelled:
      break;
  }
}
