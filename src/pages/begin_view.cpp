#include "pages/begin_view.h"

#include <shellapi.h>

#include <memory>
#include <string>

#include "deployment.h"
#include "pages/cancel_dialog.h"
#include "pages/page_events.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"
#include "sys/text_convert.h"
#include "telemetry/logger_server.h"
#include "ui/checkbox_resource.h"
#include "ui/text_resource.h"

namespace {

constexpr int32_t LAYOUT_ID = 9;
constexpr int32_t SPACER_ID = 10;
constexpr int32_t LOGO_ID = 1;
constexpr int32_t TEXT_ID = 8;
constexpr wchar_t PAGE_TITLE[] = L"立即安装";

constexpr char ACTION_CLOSE[] = "0001";
constexpr char ACTION_INSTALL[] = "0002";
constexpr char ACTION_CHECKBOX[] = "0003";
constexpr char ACTION_AGREEMENT[] = "0004";
constexpr char ACTION_CUSTOM[] = "0005";

ResourceStyleSet AgreementLinkStyles() {
  ResourceStyleSet set = LinkStyles(14);
  ResourceStyle& disabled = set[ResourceState::Disabled];
  disabled.fillColor = COLOR_CLEAR;
  disabled.fontSize = 14;
  disabled.textColor = COLOR_BODY;
  for (ResourceState state : {ResourceState::Normal, ResourceState::Hover, ResourceState::Pressed}) {
    set[state].underline = 1;
  }
  return set;
}

ResourceStyleSet CustomLinkStyles() {
  ResourceStyleSet set = AgreementLinkStyles();
  for (ResourceStyle& style : set.styles) {
    style.hAlign = TextAlignFar;
    style.iconSide = IconSideRight;
    style.underline = 0;
  }
  return set;
}

std::wstring AgreementUrl() {
  std::wstring url = Utf8ToWide(deployment::WEB_SITE_ROOT);
  if (!url.empty() && url.back() != L'/') url += L'/';
  return url + L"terms/user-agreement?_mid=" + AnsiToWide(GetLoggerServer()->GetMachineId());
}

}  // namespace

CBeginView::CBeginView(HWND window, IResourceMgr* skin) : CPageView(window, skin) {
  BuildWidgets();
  LayOutToClient();
  SendPageEvent("vInstallPage", PAGE_TITLE);
}

void CBeginView::BuildWidgets() {
  auto* root = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), nullptr, 0);
  root->marginLeft = 20;
  root->marginTop = 24;
  root->marginRight = 20;
  root->marginBottom = 24;
  root->background = Add(MakePageBackground(resourceMgr), nullptr, 0);

  auto* closeRow = Add(std::make_unique<CLayoutResource>(LayoutHorizontal, LAYOUT_ID), root, 4);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), closeRow, 27);
  Add(MakeCloseButton(BEGIN_ID_CLOSE, resourceMgr), closeRow, 1);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), root, 3);

  auto* brand = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), root, 42);
  auto logo = std::make_unique<CImageResource>(LOGO_ID, nullptr, ResourceType::Icon);
  logo->SetImage(SkinImage(resourceMgr, L"logo.png"));
  Add(std::move(logo), brand, 15);
  const ResourceStyleSet nameStyles = TextStyles(COLOR_TITLE, TextAlignCenter, 24);
  Add(std::make_unique<CTextResource>(TEXT_ID, &nameStyles, L"Tessaro"), brand, 4);
  const ResourceStyleSet noteStyles = TextStyles(COLOR_WARNING, TextAlignCenter, 14);
  Add(std::make_unique<CTextResource>(TEXT_ID, &noteStyles, L""), root, 6);

  auto* installRow = Add(std::make_unique<CLayoutResource>(LayoutHorizontal, LAYOUT_ID), root, 16);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), installRow, 25);
  const ResourceStyleSet installStyles = PrimaryButtonStyles();
  auto install = std::make_unique<CButtonResource>(BEGIN_ID_INSTALL, L"立即安装", &installStyles);
  install->aspectRatio = 3.5;
  Add(std::move(install), installRow, 21);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), installRow, 25);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), root, 10);

  auto* bottomRow = Add(std::make_unique<CLayoutResource>(LayoutHorizontal, LAYOUT_ID), root, 6);
  bottomRow->marginTop = 10;
  const ResourceStyleSet checkStyles = LinkStyles(14);
  Add(std::make_unique<CCheckboxResource>(BEGIN_ID_CHECKBOX, &checkStyles, L"我已阅读并同意",
                                          SkinImage(resourceMgr, L"main_checkbox_select.png"),
                                          SkinImage(resourceMgr, L"main_checkbox_deselect.png")),
      bottomRow, 12);
  const ResourceStyleSet agreementStyles = AgreementLinkStyles();
  Add(std::make_unique<CButtonResource>(BEGIN_ID_AGREEMENT, L"用户使用协议", &agreementStyles),
      bottomRow, 10);
  ResourceStyleSet hintStyles = TextStyles(COLOR_WARNING, TextAlignNear, 12);
  auto hint = std::make_unique<CTextResource>(BEGIN_ID_HINT, &hintStyles,
                                              L"（勾选已阅读用户协议后才能安装）");
  hint->visible = 0;
  Add(std::move(hint), bottomRow, 20);
  const ResourceStyleSet customStyles = CustomLinkStyles();
  auto custom = std::make_unique<CButtonResource>(BEGIN_ID_CUSTOM, L"自定义安装", &customStyles);
  custom->SetStateImage(ResourceState::Normal, SkinImage(resourceMgr, L"main_word_custom_normal.png"));
  custom->SetStateImage(ResourceState::Hover, SkinImage(resourceMgr, L"main_word_custom_hover.png"));
  custom->SetStateImage(ResourceState::Pressed, SkinImage(resourceMgr, L"main_word_custom_press.png"));
  custom->SetStateImage(ResourceState::Disabled, SkinImage(resourceMgr, L"main_word_custom_normal.png"));
  Add(std::move(custom), bottomRow, 10);
}

LRESULT CBeginView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_WAKE_INSTANCE:
      return Wake();
    default:
      return HandleStandardMessage(msg, wParam, lParam);
  }
}

void CBeginView::SetHasRoom(bool room) {
  if (static_cast<uint8_t>(room) == hasRoom) return;
  hasRoom = room ? 1 : 0;
  // A cleared agreement keeps the button disabled whatever the room.
  if (IBaseResource* install = FindResource(BEGIN_ID_INSTALL)) {
    install->state = room && agreed ? ResourceState::Normal : ResourceState::Disabled;
  }
  Invalidate();
}

LRESULT CBeginView::OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  const int index = HitTest(lParam);
  if (TypeAt(index) == ResourceType::Icon || IsDisabledButton(index)) return result;
  ::PostMessageW(hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(index), lParam);
  return result;
}

LRESULT CBeginView::OnResourceClick(int index, LPARAM) {
  if (index < 0 || static_cast<size_t>(index) >= resources.size()) return 0;
  switch (resources[static_cast<size_t>(index)]->id) {
    case BEGIN_ID_CLOSE:
      ReportPageAction(PAGE_CODE_START, ACTION_CLOSE);
      CloseRequested();
      break;
    case BEGIN_ID_INSTALL: {
      ILoggerServer* logger = GetLoggerServer();
      logger->ClearProperties();
      logger->SetStringProperty("confirm_entrance", WideToUtf8(L"立即安装"));
      logger->SendEvent("pConfirmInstall");
      ReportPageAction(PAGE_CODE_START, ACTION_INSTALL);
      SwitchTo(PAGE_PROGRESS);
      break;
    }
    case BEGIN_ID_CUSTOM:
      ReportPageAction(PAGE_CODE_START, ACTION_CUSTOM);
      SwitchTo(PAGE_CUSTOM);
      break;
    case BEGIN_ID_AGREEMENT:
      ReportPageAction(PAGE_CODE_START, ACTION_AGREEMENT);
      OpenUserAgreement();
      break;
    case BEGIN_ID_CHECKBOX:
      ReportPageAction(PAGE_CODE_START, ACTION_CHECKBOX);
      break;
    default:
      break;
  }
  if (UpdateWidgetStates(index, WM_RESOURCE_CLICK)) Invalidate();
  return 0;
}

void CBeginView::CloseRequested() {
  if (AskCancelInstall(hwnd, resourceMgr, L"BeginChildCloseWnd", CancelOpener::StartPage,
                       closeDialog)) {
    EndRunAfterCancel(hwnd, PAGE_TITLE);
  }
}

void CBeginView::OpenUserAgreement() const {
  const std::wstring url = AgreementUrl();
  ::ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CBeginView::FollowTarget(IBaseResource& widget, bool isTarget, UINT msg) {
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

bool CBeginView::ToggleAgreement(IBaseResource& checkbox) {
  auto& box = static_cast<CCheckboxResource&>(checkbox);
  const bool nowAgreed = box.checked == 0;
  agreed = nowAgreed ? 1 : 0;
  box.checked = nowAgreed ? 1 : 0;
  box.UpdateBoxRect();
  if (IBaseResource* hint = FindResource(BEGIN_ID_HINT)) hint->visible = nowAgreed ? 0 : 1;
  if (IBaseResource* install = FindResource(BEGIN_ID_INSTALL)) {
    if (hasRoom) install->state = nowAgreed ? ResourceState::Normal : ResourceState::Disabled;
  }
  if (IBaseResource* custom = FindResource(BEGIN_ID_CUSTOM)) {
    custom->state = nowAgreed ? ResourceState::Normal : ResourceState::Disabled;
  }
  return true;
}

bool CBeginView::UpdateWidgetStates(int target, UINT msg) {
  bool changed = false;
  for (size_t i = 0; i < resources.size(); ++i) {
    IBaseResource& widget = *resources[i];
    const bool isTarget = static_cast<int>(i) == target;
    switch (widget.id) {
      case BEGIN_ID_INSTALL:
        if (agreed && hasRoom) changed |= FollowTarget(widget, isTarget, msg);
        break;
      case BEGIN_ID_CUSTOM:
        if (agreed) changed |= FollowTarget(widget, isTarget, msg);
        break;
      case BEGIN_ID_CHECKBOX:
        if (isTarget && msg == WM_RESOURCE_CLICK) changed |= ToggleAgreement(widget);
        break;
      case BEGIN_ID_CLOSE:
      case BEGIN_ID_AGREEMENT:
        changed |= FollowTarget(widget, isTarget, msg);
        break;
      default:
        break;
    }
  }
  return changed;
}
