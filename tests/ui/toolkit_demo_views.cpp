#include "toolkit_demo_views.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "pages/window_messages.h"
#include "ui/checkbox_resource.h"
#include "ui/layout_resource.h"
#include "ui/text_resource.h"

namespace {

constexpr char CONFIG_PATH[] = "/applicationService/app/installerConfig?appId=52718340";
constexpr uint32_t BORDER_RED = 0xFFE53935;

void PrintRect(const char* name, const IBaseResource* widget) {
  std::printf("rect %s %ld %ld %ld %ld\n", name, widget->rect.left, widget->rect.top,
              widget->rect.right, widget->rect.bottom);
}

ResourceStyleSet TitleStyles(uint32_t size, uint32_t color) {
  ResourceStyleSet styles = MakeDefaultStyleSet();
  for (ResourceStyle& style : styles.styles) {
    style.fillColor = 0x00FFFFFF;
    style.textColor = color;
    style.fontSize = size;
    style.bold = 1;
  }
  return styles;
}

// A transparent link with its arrow at the right, like the start page's.
ResourceStyleSet LinkStyles() {
  ResourceStyleSet styles = DefaultButtonStyles();
  const uint32_t colors[] = {0xFF6B7280, 0xFF4197FF, 0xFF1873DE, 0xFFB0B0B0};
  for (int i = 0; i < RESOURCE_STATE_COUNT; ++i) {
    ResourceStyle& style = styles.styles[static_cast<size_t>(i)];
    style.fillColor = 0x00FFFFFF;
    style.textColor = colors[i];
    style.hAlign = TextAlignFar;
    style.iconSide = IconSideRight;
    style.fontSize = 14;
  }
  return styles;
}

ResourceStyleSet BorderSample(uint32_t radius) {
  ResourceStyleSet styles = MakeDefaultStyleSet();
  styles[ResourceState::Normal].borderColor = BORDER_RED;
  styles[ResourceState::Normal].borderWidth = 5;
  styles[ResourceState::Normal].cornerRadius = radius;
  return styles;
}

}  // namespace

DemoPageView::DemoPageView(HWND window, IResourceMgr* manager, const BannerSetup& banner,
                           std::function<void()> openDialog)
    : IBaseView(window, manager, ViewKind::Page), openDialog_(std::move(openDialog)) {
  auto* root = AddResource(std::make_unique<CLayoutResource>(LayoutVertical, 100));
  auto* background = AddResource(std::make_unique<CImageResource>(101, nullptr));
  background->SetImage(resourceMgr->GetImage(L"main_bg.png"));
  root->background = background;
  root->marginLeft = 24;
  root->marginRight = 24;
  root->marginTop = 16;
  root->marginBottom = 20;
  root->spacing = 12;
  BuildHeader(*root);
  BuildBody(*root, banner);
  progress_ = AddResource(std::make_unique<CProgressResource>(nullptr));
  progress_->inflateY = -9;
  progress_->SetProgress(50);
  root->AddChild(progress_, 1);
  LayOutToClient();
}

DemoPageView::~DemoPageView() = default;

void DemoPageView::BuildHeader(CLayoutResource& root) {
  auto* header = AddResource(std::make_unique<CLayoutResource>(LayoutHorizontal, 110));
  header->spacing = 12;
  root.AddChild(header, 2);
  auto* logo = AddResource(std::make_unique<CImageResource>(111, nullptr, ResourceType::Icon));
  logo->aspectRatio = 1.0;
  logo->SetImage(resourceMgr->GetImage(L"logo.png"));
  const ResourceStyleSet titleStyles = TitleStyles(24, 0xFF1F2A44);
  auto* title = AddResource(std::make_unique<CTextResource>(112, &titleStyles, L"Tessaro 智能抠图"));
  close_ = AddResource(std::make_unique<CButtonResource>(113, L"", nullptr));
  ResourceStyleSet clear = DefaultButtonStyles();
  for (ResourceStyle& style : clear.styles) style.fillColor = 0x00FFFFFF;
  close_->styles = clear;
  close_->aspectRatio = 1.0;
  close_->inflateY = -14;
  close_->SetStateImage(ResourceState::Normal, resourceMgr->GetImage(L"global_btn_close_normal.png"));
  close_->SetStateImage(ResourceState::Hover, resourceMgr->GetImage(L"global_btn_close_hover.png"));
  close_->SetStateImage(ResourceState::Pressed, resourceMgr->GetImage(L"global_btn_close_hover.png"));
  header->AddChild(logo, 1);
  header->AddChild(title, 9);
  header->AddChild(close_, 1);
}

void DemoPageView::BuildBody(CLayoutResource& root, const BannerSetup& setup) {
  auto* body = AddResource(std::make_unique<CLayoutResource>(LayoutHorizontal, 120));
  body->spacing = 16;
  root.AddChild(body, 9);
  banner_ = AddResource(std::make_unique<CMovieResource>(
      MOVIE_RESOURCE_ID, nullptr, hwnd, setup.host, setup.port, CONFIG_PATH,
      resourceMgr->GetImage(L"install_banner.png")));
  auto* column = AddResource(std::make_unique<CLayoutResource>(LayoutVertical, 130));
  column->spacing = 8;
  body->AddChild(banner_, 3);
  body->AddChild(column, 2);

  install_ = AddResource(std::make_unique<CButtonResource>(131, L"立即安装", nullptr));
  disabled_ = AddResource(std::make_unique<CButtonResource>(132, L"已禁用", nullptr));
  disabled_->state = ResourceState::Disabled;
  auto* agree = AddResource(std::make_unique<CCheckboxResource>(
      133, nullptr, L"我已阅读并同意用户协议", resourceMgr->GetImage(L"main_checkbox_select.png"),
      resourceMgr->GetImage(L"main_checkbox_deselect.png")));
  agree->inflateY = -8;
  const ResourceStyleSet linkStyles = LinkStyles();
  auto* custom = AddResource(std::make_unique<CButtonResource>(134, L"自定义安装", &linkStyles));
  custom->inflateY = -10;
  custom->SetStateImage(ResourceState::Normal, resourceMgr->GetImage(L"main_word_custom_normal.png"));
  custom->SetStateImage(ResourceState::Hover, resourceMgr->GetImage(L"main_word_custom_hover.png"));
  custom->SetStateImage(ResourceState::Pressed, resourceMgr->GetImage(L"main_word_custom_press.png"));
  dialogButton_ = AddResource(std::make_unique<CButtonResource>(135, L"打开对话框", nullptr));
  for (CButtonResource* button : {install_, disabled_, dialogButton_}) button->inflateY = -6;
  column->AddChild(install_, 1);
  column->AddChild(disabled_, 1);
  column->AddChild(agree, 1);
  column->AddChild(custom, 1);
  column->AddChild(dialogButton_, 1);
}

LRESULT DemoPageView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_BANNER_FRAME) {
    Invalidate();
    return 0;
  }
  return HandleStandardMessage(msg, wParam, lParam);
}

LRESULT DemoPageView::OnResourceClick(int index, LPARAM) {
  const int32_t id = resources[static_cast<size_t>(index)]->id;
  if (id == install_->id) {
    progress_->SetProgress(100);
    install_->text = L"安装完成";
  } else if (id == dialogButton_->id) {
    openDialog_();
  } else if (id == close_->id) {
    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  }
  // The mouse is still over the clicked button.
  UpdateButtonStates(index, WM_MOUSEMOVE);
  Invalidate();
  return 0;
}

void DemoPageView::PrintLayout() const {
  PrintRect("page.close", close_);
  PrintRect("page.install", install_);
  PrintRect("page.disabled", disabled_);
  PrintRect("page.dialog", dialogButton_);
  PrintRect("page.banner", banner_);
  PrintRect("page.progress", progress_);
}

DemoDialogView::DemoDialogView(HWND window, IResourceMgr* manager)
    : IBaseView(window, manager, ViewKind::Dialog) {
  auto* root = AddResource(std::make_unique<CLayoutResource>(LayoutVertical, 200));
  ResourceStyleSet bodyStyles = MakeDefaultStyleSet();
  bodyStyles[ResourceState::Normal].fillColor = 0xFFFFFFFF;
  bodyStyles[ResourceState::Normal].cornerRadius = 12;
  body_ = AddResource(std::make_unique<CImageResource>(201, &bodyStyles));
  root->background = body_;
  root->marginLeft = 24;
  root->marginRight = 24;
  root->marginTop = 20;
  root->marginBottom = 20;
  root->spacing = 12;

  auto* top = AddResource(std::make_unique<CLayoutResource>(LayoutHorizontal, 210));
  top->spacing = 12;
  auto* icon = AddResource(std::make_unique<CImageResource>(211, nullptr, ResourceType::Icon));
  icon->aspectRatio = 1.0;
  icon->SetImage(resourceMgr->GetImage(L"inquire_icon.png"));
  const ResourceStyleSet questionStyles = TitleStyles(18, 0xFF1F2A44);
  auto* question = AddResource(std::make_unique<CTextResource>(212, &questionStyles, L"确定要退出安装吗？"));
  top->AddChild(icon, 1);
  top->AddChild(question, 5);

  auto* samples = AddResource(std::make_unique<CLayoutResource>(LayoutHorizontal, 220));
  samples->spacing = 24;
  const ResourceStyleSet square = BorderSample(0);
  const ResourceStyleSet round = BorderSample(4);
  squareBorder_ = AddResource(std::make_unique<CImageResource>(221, &square));
  roundBorder_ = AddResource(std::make_unique<CImageResource>(222, &round));
  samples->AddChild(squareBorder_, 1);
  samples->AddChild(roundBorder_, 1);

  auto* buttons = AddResource(std::make_unique<CLayoutResource>(LayoutHorizontal, 230));
  buttons->spacing = 16;
  auto* stay = AddResource(std::make_unique<CButtonResource>(231, L"继续安装", nullptr));
  ResourceStyleSet quitStyles = DefaultButtonStyles();
  for (ResourceStyle& style : quitStyles.styles) {
    style.fillColor = 0xFFFFFFFF;
    style.textColor = 0xFF4197FF;
    style.borderColor = 0xFF4197FF;
    style.borderWidth = 1;
  }
  auto* quit = AddResource(std::make_unique<CButtonResource>(232, L"退出", &quitStyles));
  buttons->AddChild(stay, 1);
  buttons->AddChild(quit, 1);

  root->AddChild(top, 5);
  root->AddChild(samples, 3);
  root->AddChild(buttons, 3);
  LayOutToClient();
}

LRESULT DemoDialogView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandleStandardMessage(msg, wParam, lParam);
}

void DemoDialogView::PrintLayout() const {
  PrintRect("dialog.body", body_);
  PrintRect("dialog.square", squareBorder_);
  PrintRect("dialog.round", roundBorder_);
}
