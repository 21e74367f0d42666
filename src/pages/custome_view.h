// CCustomeView: the custom install page. The install folder, typed into a
// real edit box or picked with the system's folder browser, the space the
// package needs and the space the folder's volume has, a warning when that is
// too little, the user experience plan check box, and the install button.
// The main window reads `path` and `joinPlan` when the page is left. UI
// thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "pages/page_view.h"

class CEditResource;

class CCustomeView : public CPageView {
 public:
  // Builds and lays out the widgets, then sends "vInstallPage".
  CCustomeView(HWND window, IResourceMgr* skin);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Offers a folder: an invalid one puts the current path back into the edit
  // box; a valid one becomes `path` (with the product folders appended unless
  // appendProductFolder was cleared for this one folder) and updates the
  // sizes, the room flag and the edit box.
  void SetPath(const std::wstring& newPath);

  std::wstring path;
  uint8_t hasRoom = 0;
  HWND closeDialog = nullptr;
  uint8_t joinPlan = 1;
  uint8_t appendProductFolder = 1;

 protected:
  bool UpdateWidgetStates(int target, UINT msg) override;
  LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnResourceClick(int index, LPARAM lParam) override;

 private:
  void BuildWidgets();
  void CloseRequested();
  void BrowseForFolder();
  void ApplyEditText();
  void HideEdit() const;
  void SetText(int32_t id, const std::wstring& text);
  bool ApplyRoomRule();
  bool FollowTarget(IBaseResource& widget, bool isTarget, UINT msg);

  CEditResource* edit_ = nullptr;
};

// Widget ids of the custom install page.
enum CustomeWidgetId : int32_t {
  CUSTOME_ID_BACK = 1,
  CUSTOME_ID_BROWSE = 2,
  CUSTOME_ID_INSTALL = 3,
  CUSTOME_ID_EDIT = 5,
  CUSTOME_ID_REQUIRED = 6,
  CUSTOME_ID_AVAILABLE = 7,
  CUSTOME_ID_ROOM_WARNING = 8,
  CUSTOME_ID_PLAN = 9,
};
