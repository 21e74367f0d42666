#include "pages/finished_view.h"

#include <memory>

#include "pages/page_events.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"
#include "sys/text_convert.h"
#include "telemetry/logger_server.h"
#include "ui/text_resource.h"

namespace {

constexpr int32_t LOGO_ID = 3;
constexpr int32_t TEXT_ID = 4;
constexpr int32_t LAYOUT_ID = 5;
constexpr int32_t SPACER_ID = 6;
constexpr char ACTION_CLOSE[] = "0001";
constexpr char ACTION_LAUNCH[] = "0002";

void SendPlainEvent(const char* name) {
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SendEvent(name);
}

}  // namespace

CFinishedView::CFinishedView(HWND window, IResourceMgr* skin) : CPageView(window, skin) {
  BuildWidgets();
  LayOutToClient();
}

void CFinishedView::BuildWidgets() {
  auto* root = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), nullptr, 0);
  root->marginLeft = 20;
  root->marginTop = 24;
  root->marginRight = 20;
  root->marginBottom = 24;
  root->background = Add(MakePageBackground(resourceMgr), nullptr, 0);

  auto* closeRow = Add(std::make_unique<CLayoutResource>(LayoutHorizontal, LAYOUT_ID), root, 4);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), closeRow, 27);
  Add(MakeCloseButton(FINISHED_ID_CLOSE, resourceMgr), closeRow, 1);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), root, 3);

  auto* brand = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), root, 42);
  auto logo = std::make_unique<CImageResource>(LOGO_ID, nullptr, ResourceType::Icon);
  logo->SetImage(SkinImage(resourceMgr, L"logo.png"));
  Add(std::move(logo), brand, 15);
  const ResourceStyleSet titleStyles = TextStyles(COLOR_TITLE, TextAlignCenter, 24);
  Add(std::make_unique<CTextResource>(TEXT_ID, &titleStyles, L"恭喜，安装成功"), brand, 4);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), root, 2);
  // Created after the root's spacer but part of the logo column.
  const ResourceStyleSet subtitleStyles = TextStyles(COLOR_MUTED, TextAlignCenter, 16);
  Add(std::make_unique<CTextResource>(TEXT_ID, &subtitleStyles, L""), brand, 4);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), root, 6);

  auto* launchRow = Add(std::make_unique<CLayoutResource>(LayoutHorizontal, LAYOUT_ID), root, 24);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), launchRow, 25);
  const ResourceStyleSet launchStyles = PrimaryButtonStyles();
  auto launch = std::make_unique<CButtonResource>(FINISHED_ID_LAUNCH, L"立即体验", &launchStyles);
  launch->aspectRatio = 3.5;
  Add(std::move(launch), launchRow, 21);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), launchRow, 25);
}

LRESULT CFinishedView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      ::PostQuitMessage(0);
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_WAKE_INSTANCE:
      return Wake();
    default:
      return HandleStandardMessage(msg, wParam, lParam);
  }
}

LRESULT CFinishedView::OnResourceClick(int index, LPARAM) {
  if (index >= 0 && static_cast<size_t>(index) < resources.size()) {
    switch (resources[static_cast<size_t>(index)]->id) {
      case FINISHED_ID_CLOSE:
        SendPlainEvent("pCloseStartPage");
        ReportPageAction(PAGE_CODE_FINISHED, ACTION_CLOSE);
        break;
      case FINISHED_ID_LAUNCH:
        SendPlainEvent("pImmediateUse");
        ReportPageAction(PAGE_CODE_FINISHED, ACTION_LAUNCH);
        // Whether the start worked does not change how the run ends.
        GetLoggerServer()->RunAsDesktopUser("open", WideToUtf8(installedAppPath), 0, 0, 0);
        break;
      default:
        break;
    }
  }
  ::ShowWindow(hwnd, SW_HIDE);
  ::PostQuitMessage(0);
  return 0;
}

bool CFinishedView::UpdateWidgetStates(int target, UINT msg) {
  bool changed = false;
  for (size_t i = 0; i < resources.size(); ++i) {
    IBaseResource& widget = *resources[i];
    if (widget.id != FINISHED_ID_CLOSE && widget.id != FINISHED_ID_LAUNCH) continue;
    if (static_cast<int>(i) != target) {
      changed |= MoveState(widget, ResourceState::Normal);
    } else if (msg == WM_MOUSEMOVE) {
      changed |= MoveState(widget, ResourceState::Hover);
    } else if (msg == WM_LBUTTONDOWN) {
      changed |= MoveState(widget, ResourceState::Pressed);
    }
  }
  return changed;
}
