#pragma once

#include "model/JobSettings.h"
#include "model/PageChain.h"

#include <cstdint>
#include <vector>

namespace vt {

// The bytes of each data frame a job goes out in, segment after segment, as
// the segment pump will send them.
std::vector<int> planFrames(const PageChain &chain, const JobSettings &job, std::uint8_t density, bool extendedFrame);

// The wait after the last frame: 5 s, or as long as its bytes take to leave
// at 960 per second when that is longer.
int finishWaitMs(int lastFrameBytes);

// The time left, in milliseconds, once `framesSent` frames of the plan are
// on the line: the waits the exchange prescribes for each segment still to
// come, or the time its predecessor takes at 960 bytes per second when that
// is longer, and the wait after the last one. With manual continuation the
// operator is counted as pressing "Continue" at once.
std::int64_t printTimeLeftMs(const std::vector<int> &frameBytes, int framesSent, bool autoContinue);

} // namespace vt
