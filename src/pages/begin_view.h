// CBeginView: the start page. Logo and name, the large "立即安装" button, the
// agreement check box with its link to the user agreement, and the small
// "自定义安装" link to the custom install page. Closing it asks for
// confirmation in the cancel dialog. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "pages/page_view.h"

class CBeginView : public CPageView {
 public:
  // Builds and lays out the widgets, then sends "vInstallPage".
  CBeginView(HWND window, IResourceMgr* skin);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Whether the install folder's volume has room for the package; without
  // room the install button is greyed out and inert.
  void SetHasRoom(bool room);

  uint8_t agreed = 1;
  HWND closeDialog = nullptr;
  uint8_t hasRoom = 1;

 protected:
  bool UpdateWidgetStates(int target, UINT msg) override;
  LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnResourceClick(int index, LPARAM lParam) override;

 private:
  void BuildWidgets();
  // The close button and WM_CLOSE: the cancel dialog, and the end of the run
  // when the user confirms.
  void CloseRequested();
  void OpenUserAgreement() const;
  // The check box was clicked: flips the agreement and what depends on it.
  bool ToggleAgreement(IBaseResource& checkbox);
  bool FollowTarget(IBaseResource& widget, bool isTarget, UINT msg);
};

// Widget ids of the start page.
enum BeginWidgetId : int32_t {
  BEGIN_ID_CLOSE = 2,
  BEGIN_ID_INSTALL = 3,
  BEGIN_ID_CUSTOM = 4,
  BEGIN_ID_AGREEMENT = 5,
  BEGIN_ID_CHECKBOX = 6,
  BEGIN_ID_HINT = 7,
};
