// The views of the toolkit's demonstration program: a main-window page with
// every kind of widget over the real skin, and a layered dialog with border
// samples. Each prints the rectangles of its key widgets for the test that
// drives it.
#pragma once

#include <functional>

#include "ui/base_view.h"
#include "ui/button_resource.h"
#include "ui/movie_resource.h"
#include "ui/progress_resource.h"

// Where the page's banner gets its configuration; an empty host shows only
// the fallback picture.
struct BannerSetup {
  std::string host;
  uint16_t port = 0;
};

class DemoPageView : public IBaseView {
 public:
  // `openDialog` runs when the dialog button is clicked.
  DemoPageView(HWND window, IResourceMgr* manager, const BannerSetup& banner,
               std::function<void()> openDialog);
  ~DemoPageView() override;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void PrintLayout() const;

 protected:
  LRESULT OnResourceClick(int index, LPARAM lParam) override;

 private:
  void BuildHeader(class CLayoutResource& root);
  void BuildBody(class CLayoutResource& root, const BannerSetup& banner);

  std::function<void()> openDialog_;
  CButtonResource* close_ = nullptr;
  CButtonResource* install_ = nullptr;
  CButtonResource* disabled_ = nullptr;
  CButtonResource* dialogButton_ = nullptr;
  CMovieResource* banner_ = nullptr;
  CProgressResource* progress_ = nullptr;
};

class DemoDialogView : public IBaseView {
 public:
  DemoDialogView(HWND window, IResourceMgr* manager);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void PrintLayout() const;

 private:
  IBaseResource* body_ = nullptr;
  IBaseResource* squareBorder_ = nullptr;
  IBaseResource* roundBorder_ = nullptr;
};
