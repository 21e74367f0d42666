#include "pages/failure_notice_view.h"

#include "pages/page_styles.h"

namespace {

NoticeLook FailureLook(const FailureNoticeTexts& texts) {
  NoticeLook look{
      4,
      4,
      3,
      texts.headline,
      texts.description,
      texts.greyCaption,
      texts.orangeCaption,
      COLOR_PRIMARY_HOVER,
  };
  look.layoutId = 5;
  look.spacerId = 6;
  look.iconPicture = L"error_icon.png";
  look.closeButton = NoticeCloseButton::Absent;
  look.titleBorderColor = texts.titleBorderColor;
  look.greyBorder = texts.greyBorder;
  return look;
}

}  // namespace

FailureNoticeView::FailureNoticeView(HWND window, IResourceMgr* skin,
                                     const FailureNoticeTexts& texts)
    : IBaseView(window, skin, ViewKind::Dialog) {
  BuildNoticeWidgets(*this, FailureLook(texts));
}

LRESULT FailureNoticeView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandleStandardMessage(msg, wParam, lParam);
}

ILoggerServer& FailureNoticeView::Logger() const {
  return logger != nullptr ? *logger : *GetLoggerServer();
}

int32_t FailureNoticeView::IdAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= resources.size()) return -1;
  return resources[static_cast<size_t>(index)]->id;
}
