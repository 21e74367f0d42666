// The common part of the progress page's failure dialogs (retry, manual
// download, manual install): the 400 x 200 notice without a close button,
// with the error icon, every layout id 5, every spacer id 6, the texts id 4,
// and the standard dialog handling (no dragging). UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "pages/notice_layout.h"
#include "telemetry/logger_server.h"
#include "ui/base_view.h"

// Design size of the failure dialogs.
constexpr uint32_t FAILURE_DIALOG_WIDTH = 400;
constexpr uint32_t FAILURE_DIALOG_HEIGHT = 200;

// Action codes of the two buttons: the grey one (id 1), the orange one (id 2).
constexpr char FAILURE_ACTION_CONFIRM[] = "0001";
constexpr char FAILURE_ACTION_DISMISS[] = "0002";

// The texts and the two looks that differ between the dialogs.
struct FailureNoticeTexts {
  const wchar_t* headline;
  const wchar_t* description;
  const wchar_t* greyCaption;
  const wchar_t* orangeCaption;
  uint32_t titleBorderColor;
  NoticeGreyBorder greyBorder;
};

class FailureNoticeView : public IBaseView {
 public:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Receives the action records and opens URLs; null: GetLoggerServer().
  ILoggerServer* logger = nullptr;

 protected:
  // Builds the widgets on `window` and lays them out; sends nothing.
  FailureNoticeView(HWND window, IResourceMgr* skin, const FailureNoticeTexts& texts);

  ILoggerServer& Logger() const;
  // The id of widget `index`, or -1 when there is no such widget.
  int32_t IdAt(int index) const;
};
