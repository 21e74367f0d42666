// The 400 x 200 notice shared by the reinstall reminder page and the cancel
// confirmation dialog: a title bar with "Tessaro" and a close button, a
// question icon with a headline and a wrapped description, and two buttons,
// a grey one (id 1) and an orange one (id 2). Every layout has id 6, every
// spacer id 7, the close button id 3.
#pragma once

#include <cstdint>

#include "ui/base_view.h"

struct NoticeLook {
  uint32_t cornerRadius;          // of the background and the title bar
  int32_t textId;                 // id of the three texts
  int32_t iconId;                 // id of the question icon
  const wchar_t* headline;
  const wchar_t* description;
  const wchar_t* greyCaption;     // button id 1
  const wchar_t* orangeCaption;   // button id 2
  uint32_t orangeHoverFill;       // the orange button's Hover fill
};

constexpr int32_t NOTICE_GREY_BUTTON_ID = 1;
constexpr int32_t NOTICE_ORANGE_BUTTON_ID = 2;
constexpr int32_t NOTICE_CLOSE_BUTTON_ID = 3;

// Builds the 21 widgets into `view` (the root layout first) and lays them out
// to the view's client area.
void BuildNoticeWidgets(IBaseView& view, const NoticeLook& look);
