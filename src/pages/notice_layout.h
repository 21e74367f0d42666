// The 400 x 200 notice shared by the reinstall reminder page and the cancel,
// retry, manual download and manual install dialogs: a title bar with
// "Tessaro" and (optionally) a close button, an icon with a headline and a
// wrapped description, and two buttons, a grey one (id 1) and an orange one
// (id 2). The close button has id 3; the ids of layouts, spacers, texts and
// the icon come with the look.
#pragma once

#include <cstdint>

#include "pages/page_styles.h"
#include "ui/base_view.h"

// Whether the title bar ends in a close button.
enum class NoticeCloseButton { Shown, Absent };

// Whether the grey button is outlined in its own fill colour.
enum class NoticeGreyBorder { Outlined, None };

struct NoticeLook {
  uint32_t cornerRadius;          // of the background and the title bar
  int32_t textId;                 // id of the three texts
  int32_t iconId;                 // id of the icon
  const wchar_t* headline;
  const wchar_t* description;
  const wchar_t* greyCaption;     // button id 1
  const wchar_t* orangeCaption;   // button id 2
  uint32_t orangeHoverFill;       // the orange button's Hover fill
  // The defaults below are the reminder page's and the cancel dialog's.
  int32_t layoutId = 6;
  int32_t spacerId = 7;
  const wchar_t* iconPicture = L"inquire_icon.png";  // from the skin
  NoticeCloseButton closeButton = NoticeCloseButton::Shown;
  uint32_t titleBorderColor = COLOR_CLEAR;  // of the title bar's 1-pixel border
  NoticeGreyBorder greyBorder = NoticeGreyBorder::Outlined;
};

constexpr int32_t NOTICE_GREY_BUTTON_ID = 1;
constexpr int32_t NOTICE_ORANGE_BUTTON_ID = 2;
constexpr int32_t NOTICE_CLOSE_BUTTON_ID = 3;

// Builds the widgets into `view` (the root layout first; 21 with the close
// button, 20 without) and lays them out to the view's client area.
void BuildNoticeWidgets(IBaseView& view, const NoticeLook& look);
