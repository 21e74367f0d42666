// The banner's rules for adopting a decoded GIF and timing its frames. Pure
// functions, so they can be checked without a decoder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The delays the banner plays a GIF with (1/100 s per frame), decided from
// what the decoder reports: the number of frame dimensions, the frame count
// of the first one and the frame-delay property's values (empty when the
// property is missing). False, adopting nothing, without a dimension, without
// frames or without delays. A delay list shorter than the frames gives the
// missing frames delay 0.
bool FrameDelaysForAdoption(UINT dimensionCount, int32_t frameCount,
                            const std::vector<int32_t>& delayProperty,
                            std::vector<int32_t>& frameDelays);

// How long a frame of `delay` hundredths of a second stays on screen, in
// milliseconds: never less than 10, so a GIF whose delays are all 0 does not
// flood its window from a spinning thread.
DWORD FrameWaitMs(int32_t delay);
