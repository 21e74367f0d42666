#include "pages/page_styles.h"

ResourceStyleSet PanelStyles(uint32_t fill, uint32_t borderWidth, uint32_t borderColor,
                             uint32_t cornerRadius) {
  ResourceStyleSet set = MakeDefaultStyleSet();
  ResourceStyle& normal = set[ResourceState::Normal];
  normal.fillColor = fill;
  normal.borderWidth = borderWidth;
  normal.borderColor = borderColor;
  normal.cornerRadius = cornerRadius;
  return set;
}

ResourceStyleSet TextStyles(uint32_t textColor, int32_t hAlign, uint32_t fontSize) {
  ResourceStyleSet set = MakeDefaultStyleSet();
  ResourceStyle& normal = set[ResourceState::Normal];
  normal.textColor = textColor;
  normal.hAlign = hAlign;
  normal.fontSize = fontSize;
  return set;
}

ResourceStyleSet ClearStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  for (ResourceState state : {ResourceState::Normal, ResourceState::Hover, ResourceState::Pressed}) {
    set[state].fillColor = COLOR_CLEAR;
    set[state].borderColor = COLOR_CLEAR;
  }
  return set;
}

ResourceStyleSet LinkStyles(uint32_t fontSize) {
  ResourceStyleSet set = ClearStyles();
  for (ResourceState state : {ResourceState::Normal, ResourceState::Hover, ResourceState::Pressed}) {
    set[state].fontSize = fontSize;
  }
  set[ResourceState::Normal].textColor = COLOR_BODY;
  set[ResourceState::Hover].textColor = COLOR_LINK_HOVER;
  set[ResourceState::Pressed].textColor = COLOR_LINK_PRESSED;
  return set;
}

ResourceStyleSet PrimaryButtonStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  for (ResourceStyle& style : set.styles) {
    style.textColor = COLOR_WHITE;
    style.cornerRadius = 2;
    style.hAlign = TextAlignCenter;
    style.vAlign = TextAlignCenter;
    style.fontSize = 16;
  }
  set[ResourceState::Normal].fillColor = COLOR_PRIMARY;
  set[ResourceState::Hover].fillColor = COLOR_PRIMARY_HOVER;
  set[ResourceState::Pressed].fillColor = COLOR_PRIMARY_PRESSED;
  set[ResourceState::Disabled].fillColor = COLOR_PRIMARY_DISABLED;
  return set;
}

Gdiplus::Image* SkinImage(IResourceMgr* skin, const wchar_t* fileName) {
  return skin != nullptr ? skin->GetImage(fileName) : nullptr;
}

std::unique_ptr<CImageResource> MakePageBackground(IResourceMgr* skin) {
  const ResourceStyleSet styles = PanelStyles(COLOR_WHITE, 1, COLOR_FRAME);
  auto background = std::make_unique<CImageResource>(0, &styles);
  background->SetImage(SkinImage(skin, L"main_bg.png"));
  return background;
}

std::unique_ptr<CButtonResource> MakeCloseButton(int32_t id, IResourceMgr* skin) {
  const ResourceStyleSet styles = ClearStyles();
  auto button = std::make_unique<CButtonResource>(id, L"", &styles);
  button->aspectRatio = 1.0;
  Gdiplus::Image* hover = SkinImage(skin, L"global_btn_close_hover.png");
  button->SetStateImage(ResourceState::Normal, SkinImage(skin, L"global_btn_close_normal.png"));
  button->SetStateImage(ResourceState::Hover, hover);
  button->SetStateImage(ResourceState::Pressed, hover);
  return button;
}
