#include "ui/movie_resource.h"

#include <utility>

#include "pages/window_messages.h"
#include "ui/banner_config.h"
#include "ui/movie_frames.h"
#include "ui/picture_load.h"
#include "ui/widget_geometry.h"

namespace {

constexpr DWORD IDLE_POLL_MS = 10;

// The values of the frame-delay property (1/100 s each); empty when the
// picture has none.
std::vector<int32_t> FrameDelayProperty(Gdiplus::Image& picture) {
  const UINT size = picture.GetPropertyItemSize(PropertyTagFrameDelay);
  if (size < sizeof(Gdiplus::PropertyItem)) return {};
  std::vector<uint8_t> buffer(size);
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (picture.GetPropertyItem(PropertyTagFrameDelay, size, item) != Gdiplus::Ok) return {};
  if (item->value == nullptr) return {};
  const auto* values = static_cast<const int32_t*>(item->value);
  return std::vector<int32_t>(values, values + item->length / sizeof(int32_t));
}

}  // namespace

CMovieResource::CMovieResource(int32_t widgetId, const ResourceStyleSet* styleSet, HWND notify,
                               std::string host, uint16_t port, std::string path,
                               Gdiplus::Image* fallback, std::unique_ptr<IBannerSource> source)
    : CImageResource(widgetId, styleSet != nullptr ? *styleSet : MakeDefaultStyleSet(),
                     ResourceType::Movie),
      notifyWindow(notify),
      configHost(std::move(host)),
      configPort(port),
      configPath(std::move(path)),
      source_(std::move(source)),
      fallbackImage(fallback) {
  ReleaseThread();
}

CMovieResource::~CMovieResource() { StopWorkerThread(); }

void CMovieResource::OnStopRequested() noexcept {
  if (source_) source_->Abort();
}

bool CMovieResource::Draw(HDC hdc) {
  firstDrawn.store(1);
  CXMutexLock hold(frameLock);
  CImageResource::Draw(hdc);
  // A hidden banner shows no frame either.
  if (!visible) return true;
  Gdiplus::Graphics graphics(hdc);
  PrepareWidgetGraphics(graphics);
  if (movie) {
    movie->SelectActiveFrame(&frameDimension, static_cast<UINT>(frameIndex));
    DrawPicture(graphics, movie.get(), movieRect);
  } else {
    DrawPicture(graphics, fallbackImage, movieRect);
  }
  return true;
}

bool CMovieResource::SetRect(int left, int top, int right, int bottom) {
  CXMutexLock hold(frameLock);
  CImageResource::SetRect(left, top, right, bottom);
  UpdateMovieRect();
  return true;
}

void CMovieResource::UpdateMovieRect() {
  Gdiplus::Image* shown = movie ? movie.get() : fallbackImage;
  double width = 0;
  double height = 0;
  PictureSize(shown, width, height);
  FitImageRect(rect, width, height, movieRect);
}

bool CMovieResource::AdoptMovie(std::unique_ptr<Gdiplus::Image> gif) {
  if (!gif) return false;
  const UINT dimensions = gif->GetFrameDimensionsCount();
  std::vector<GUID> list(dimensions > 0 ? dimensions : 1);
  if (dimensions > 0 && gif->GetFrameDimensionsList(list.data(), dimensions) != Gdiplus::Ok) {
    return false;
  }
  const auto frames = dimensions > 0 ? static_cast<int32_t>(gif->GetFrameCount(&list[0])) : 0;
  const std::vector<int32_t> delays = FrameDelayProperty(*gif);

  CXMutexLock hold(frameLock);
  if (dimensions > 0) frameCount = frames;
  if (!FrameDelaysForAdoption(dimensions, frames, delays, frameDelays)) return false;
  frameDimension = list[0];
  frameIndex = 0;
  movie = std::move(gif);
  UpdateMovieRect();
  return true;
}

std::unique_ptr<Gdiplus::Image> CMovieResource::FetchMovie() {
  if (configHost.empty() || !source_) return nullptr;
  const std::string reply = source_->Get(configHost, configPort, configPath);
  if (reply.empty() || IsStopRequested()) return nullptr;
  GifAddress address;
  if (!SplitGifUrl(GifUrlFromConfig(reply), address)) return nullptr;
  const std::string body = source_->Get(address.host, address.port, address.path);
  if (body.empty() || IsStopRequested()) return nullptr;
  return LoadPictureBytes(body);
}

int CMovieResource::Run() {
  while (firstDrawn.load() == 0) {
    if (!SleepUnlessStopped(IDLE_POLL_MS)) return 0;
  }
  AdoptMovie(FetchMovie());
  Animate();
  return 0;
}

void CMovieResource::PostFrame() { ::PostMessageW(notifyWindow, WM_BANNER_FRAME, 0, 0); }

void CMovieResource::Animate() {
  std::vector<int32_t> delays;
  {
    CXMutexLock hold(frameLock);
    if (frameCount == 1) {
      frameIndex = 0;
      PostFrame();
      return;
    }
    if (frameDelays.empty() || frameCount <= 0) return;
    delays = frameDelays;
  }
  size_t shown = 0;
  for (;;) {
    if (!SleepUnlessStopped(FrameWaitMs(delays[shown]))) return;
    CXMutexLock hold(frameLock);
    frameIndex = frameIndex + 1 >= frameCount ? 0 : frameIndex + 1;
    shown = static_cast<size_t>(frameIndex);
    if (paused.load() == 0) PostFrame();
  }
}

int32_t CMovieResource::CurrentFrame() {
  CXMutexLock hold(frameLock);
  return frameIndex;
}

bool CMovieResource::HasMovie() {
  CXMutexLock hold(frameLock);
  return movie != nullptr;
}

std::vector<int32_t> CMovieResource::FrameDelays() {
  CXMutexLock hold(frameLock);
  return frameDelays;
}

int32_t CMovieResource::FrameCount() {
  CXMutexLock hold(frameLock);
  return frameCount;
}

RECT CMovieResource::MovieRect() {
  CXMutexLock hold(frameLock);
  return movieRect;
}
