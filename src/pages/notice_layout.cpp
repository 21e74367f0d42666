#include "pages/notice_layout.h"

#include <memory>

#include "pages/page_styles.h"
#include "ui/layout_resource.h"
#include "ui/text_resource.h"

namespace {

constexpr double BUTTON_ASPECT = 76.0 / 30.0;
constexpr uint32_t NOTICE_FONT_SIZE = 14;

// Builds widgets into a view, each appended to the draw list and, when a
// parent is given, to that layout.
class NoticeBuilder {
 public:
  NoticeBuilder(IBaseView& view, const NoticeLook& look) : view_(view), look_(look) {}

  template <typename Widget>
  Widget* Add(std::unique_ptr<Widget> widget, CLayoutResource* parent, uint32_t weight) {
    Widget* added = view_.AddResource(std::move(widget));
    if (parent != nullptr) parent->AddChild(added, weight);
    return added;
  }

  CLayoutResource* Layout(int32_t orientation, CLayoutResource* parent, uint32_t weight) {
    return Add(std::make_unique<CLayoutResource>(orientation, look_.layoutId), parent, weight);
  }

  void Spacer(CLayoutResource* parent, uint32_t weight) {
    Add(std::make_unique<CSpacerResource>(look_.spacerId), parent, weight);
  }

 private:
  IBaseView& view_;
  const NoticeLook& look_;
};

void SetMargins(CLayoutResource& layout, uint32_t left, uint32_t top, uint32_t right,
                uint32_t bottom) {
  layout.marginLeft = left;
  layout.marginTop = top;
  layout.marginRight = right;
  layout.marginBottom = bottom;
}

ResourceStyleSet GreyButtonStyles(NoticeGreyBorder border) {
  ResourceStyleSet set = MakeDefaultStyleSet();
  const uint32_t text[] = {COLOR_MUTED, 0xFF999999, COLOR_MUTED};
  const uint32_t fill[] = {0xFFF2F2F2, 0xFFF2F2F2, 0xFFD8D8D8};
  for (int i = 0; i < 3; ++i) {
    ResourceStyle& style = set.styles[static_cast<size_t>(i)];
    style.cornerRadius = 2;
    style.hAlign = TextAlignCenter;
    style.fontSize = NOTICE_FONT_SIZE;
    style.textColor = text[i];
    style.fillColor = fill[i];
    if (border == NoticeGreyBorder::Outlined) {
      style.borderWidth = 1;
      style.borderColor = fill[i];
    }
  }
  return set;
}

ResourceStyleSet OrangeButtonStyles(uint32_t hoverFill) {
  ResourceStyleSet set = MakeDefaultStyleSet();
  const uint32_t fill[] = {COLOR_PRIMARY, hoverFill, COLOR_PRIMARY_PRESSED};
  for (int i = 0; i < 3; ++i) {
    ResourceStyle& style = set.styles[static_cast<size_t>(i)];
    style.textColor = COLOR_WHITE;
    style.cornerRadius = 2;
    style.hAlign = TextAlignCenter;
    style.vAlign = TextAlignCenter;
    style.fontSize = NOTICE_FONT_SIZE;
    style.fillColor = fill[i];
  }
  return set;
}

std::unique_ptr<CButtonResource> MakeNoticeButton(int32_t id, const wchar_t* caption,
                                                  const ResourceStyleSet& styles) {
  auto button = std::make_unique<CButtonResource>(id, caption, &styles);
  button->aspectRatio = BUTTON_ASPECT;
  return button;
}

}  // namespace

void BuildNoticeWidgets(IBaseView& view, const NoticeLook& look) {
  NoticeBuilder build(view, look);
  CLayoutResource* root = build.Layout(LayoutVertical, nullptr, 0);
  const ResourceStyleSet frame = PanelStyles(COLOR_WHITE, 1, COLOR_FRAME, look.cornerRadius);
  root->background = build.Add(std::make_unique<CImageResource>(0, &frame), nullptr, 0);

  CLayoutResource* titleBar = build.Layout(LayoutHorizontal, root, 3);
  SetMargins(*titleBar, 10, 5, 10, 5);
  const ResourceStyleSet barStyles = PanelStyles(0xFFF9F9F9, 1, look.titleBorderColor, look.cornerRadius);
  auto bar = std::make_unique<CImageResource>(0, &barStyles);
  bar->inflateX = -1;
  bar->inflateY = -2;
  titleBar->background = build.Add(std::move(bar), nullptr, 0);
  ResourceStyleSet titleStyles = TextStyles(COLOR_MUTED, TextAlignNear, NOTICE_FONT_SIZE);
  titleStyles[ResourceState::Normal].fillColor = COLOR_CLEAR;
  build.Add(std::make_unique<CTextResource>(look.textId, &titleStyles, L"Tessaro"), titleBar, 27);
  if (look.closeButton == NoticeCloseButton::Shown) {
    build.Add(MakeCloseButton(NOTICE_CLOSE_BUTTON_ID, view.resourceMgr), titleBar, 1);
  }

  CLayoutResource* content = build.Layout(LayoutVertical, root, 17);
  SetMargins(*content, 24, 16, 24, 16);
  CLayoutResource* message = build.Layout(LayoutVertical, content, 5);

  CLayoutResource* headlineRow = build.Layout(LayoutHorizontal, message, 40);
  auto icon = std::make_unique<CImageResource>(look.iconId, nullptr, ResourceType::Icon);
  icon->SetImage(SkinImage(view.resourceMgr, look.iconPicture));
  build.Add(std::move(icon), headlineRow, 30);
  build.Spacer(headlineRow, 16);
  const ResourceStyleSet headlineStyles = TextStyles(COLOR_TITLE, TextAlignNear, NOTICE_FONT_SIZE);
  build.Add(std::make_unique<CTextResource>(look.textId, &headlineStyles, look.headline),
            headlineRow, 300);

  CLayoutResource* descriptionRow = build.Layout(LayoutHorizontal, message, 60);
  build.Spacer(descriptionRow, 30);
  build.Spacer(descriptionRow, 16);
  ResourceStyleSet descriptionStyles = TextStyles(COLOR_MUTED, TextAlignNear, NOTICE_FONT_SIZE);
  descriptionStyles[ResourceState::Normal].vAlign = TextAlignNear;
  build.Add(std::make_unique<CTextResource>(look.textId, &descriptionStyles, look.description),
            descriptionRow, 300);

  CLayoutResource* buttonRow = build.Layout(LayoutHorizontal, content, 2);
  build.Spacer(buttonRow, 15);
  build.Add(MakeNoticeButton(NOTICE_GREY_BUTTON_ID, look.greyCaption,
                             GreyButtonStyles(look.greyBorder)),
            buttonRow, 6);
  build.Spacer(buttonRow, 1);
  build.Add(MakeNoticeButton(NOTICE_ORANGE_BUTTON_ID, look.orangeCaption,
                             OrangeButtonStyles(look.orangeHoverFill)),
            buttonRow, 6);

  view.LayOutToClient();
}
