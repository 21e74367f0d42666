#include "ui/movie_frames.h"

namespace {

constexpr DWORD MIN_FRAME_MS = 10;

}  // namespace

bool FrameDelaysForAdoption(UINT dimensionCount, int32_t frameCount,
                            const std::vector<int32_t>& delayProperty,
                            std::vector<int32_t>& frameDelays) {
  if (dimensionCount == 0 || frameCount <= 0 || delayProperty.empty()) return false;
  frameDelays.assign(static_cast<size_t>(frameCount), 0);
  for (size_t i = 0; i < frameDelays.size() && i < delayProperty.size(); ++i) {
    frameDelays[i] = delayProperty[i];
  }
  return true;
}

DWORD FrameWaitMs(int32_t delay) {
  if (delay <= 0) return MIN_FRAME_MS;
  const DWORD wait = static_cast<DWORD>(delay) * 10;
  return wait > MIN_FRAME_MS ? wait : MIN_FRAME_MS;
}
