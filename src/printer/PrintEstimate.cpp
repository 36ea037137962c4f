#include "printer/PrintEstimate.h"

#include "printer/DataFrame.h"

#include <algorithm>

namespace vt {

namespace {

// The waits of the segment pump and the exchange around each segment.
constexpr int kFirstArmMs = 12102;
constexpr int kAutoArmMs = 11102;
// Automatic: the notice's 200 ms, mode D (1000), 1000 ms, the frame (100).
constexpr int kAutoStepMs = 200 + 1000 + 1000 + 100;
// Manual: the status query (mode H 1000, 1000), mode D (1000), 1000 ms, the frame (100).
constexpr int kManualStepMs = 1000 + 1000 + 1000 + 1000 + 100;
constexpr int kFinishMs = 5000;
constexpr int kBytesPerSecond = 960;

} // namespace

std::vector<int> planFrames(const PageChain &chain, const JobSettings &job, std::uint8_t density, bool extendedFrame)
{
    std::vector<int> frames;
    int skip = 0;
    while (true) {
        const DataFrame frame = buildDataFrame(chain, chain.head(), skip, job, density, extendedFrame);
        if (frame.bytes.isEmpty())
            break;
        frames.push_back(int(frame.bytes.size()));
        if (frame.visited >= chain.size() || frame.visited <= skip)
            break;
        // The pump restarts at the last record it visited.
        skip = frame.visited - 1;
    }
    return frames;
}

int finishWaitMs(int lastFrameBytes)
{
    const int drain = int((std::int64_t(std::max(lastFrameBytes, 0)) * 1000 + kBytesPerSecond - 1) / kBytesPerSecond);
    return std::max(kFinishMs, drain);
}

std::int64_t printTimeLeftMs(const std::vector<int> &frameBytes, int framesSent, bool autoContinue)
{
    const int total = int(frameBytes.size());
    if (framesSent <= 0 || framesSent > total)
        return 0;
    std::int64_t ms = finishWaitMs(frameBytes.back());
    for (int next = framesSent; next < total; ++next) {
        const int arm = next == 1 || !autoContinue ? kFirstArmMs : kAutoArmMs;
        // The printer answers only once it has the frame before.
        const std::int64_t transfer = std::int64_t(frameBytes[std::size_t(next - 1)]) * 1000 / kBytesPerSecond;
        ms += std::max<std::int64_t>(arm, transfer) + (autoContinue ? kAutoStepMs : kManualStepMs);
    }
    return ms;
}

} // namespace vt
