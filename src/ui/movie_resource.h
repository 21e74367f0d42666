// CMovieResource: the progress page's banner. It shows a fallback picture at
// once; after its first paint its own thread fetches the installer
// configuration and the GIF it names, and then advances the GIF's frames by
// their delays, posting WM_BANNER_FRAME to notifyWindow for each new frame
// (the receiving view repaints). The thread never paints.
//
// Threads: the UI thread constructs, draws, places, sets `paused` and
// destroys; the frame thread runs Run. frameIndex and the adopted GIF change
// only under frameLock, which Draw holds for the whole paint.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sys/worker_thread.h"
#include "sys/xmutex.h"
#include "ui/banner_source.h"
#include "ui/image_resource.h"

class CMovieResource final : public CImageResource, public COrvaneBasedThread {
 public:
  // Starts the frame thread, which idles until the first Draw. The fallback
  // picture belongs to the skin manager; `source` defaults to the installer's
  // HTTP client. An empty host skips the configuration request.
  CMovieResource(int32_t widgetId, const ResourceStyleSet* styleSet, HWND notify,
                 std::string host, uint16_t port, std::string path, Gdiplus::Image* fallback,
                 std::unique_ptr<IBannerSource> source = MakeHttpBannerSource());
  // Stops the frame thread (interrupting a request in progress) and waits for
  // it; never terminates it.
  ~CMovieResource() override;

  bool Draw(HDC hdc) override;
  bool SetRect(int left, int top, int right, int bottom) override;

  // While set, frames keep advancing but nothing is posted. Any thread.
  std::atomic<uint8_t> paused{0};

  // Snapshots for the page and for tests, taken under frameLock.
  int32_t CurrentFrame();
  bool HasMovie();
  std::vector<int32_t> FrameDelays();
  int32_t FrameCount();
  RECT MovieRect();

 protected:
  int Run() override;
  void OnStopRequested() noexcept override;

 private:
  // Takes the decoded GIF over when it has a frame dimension, at least one
  // frame and frame delays; false (and the fallback stays) otherwise.
  bool AdoptMovie(std::unique_ptr<Gdiplus::Image> gif);
  // Fits the GIF, or the fallback picture without one, into the widget.
  void UpdateMovieRect();
  // The GIF named by the configuration, decoded; null on any failure.
  std::unique_ptr<Gdiplus::Image> FetchMovie();
  void Animate();
  void PostFrame();

  std::atomic<uint8_t> firstDrawn{0};
  CXMutex frameLock;
  HWND notifyWindow;
  std::string configHost;
  uint16_t configPort;
  std::string configPath;
  std::unique_ptr<IBannerSource> source_;

  // Guarded by frameLock.
  GUID frameDimension{};
  std::vector<int32_t> frameDelays;  // 1/100 s per frame; empty until adopted
  int32_t frameCount = 0;
  int32_t frameIndex = 0;
  Gdiplus::Image* fallbackImage;
  std::unique_ptr<Gdiplus::Image> movie;
  RECT movieRect{};
};

// The banner's widget id on the progress page.
constexpr int32_t MOVIE_RESOURCE_ID = 3;
