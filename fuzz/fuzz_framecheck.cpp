// The virtual printer checks whatever a program writes to it as a frame:
// any bytes must give a verdict, never a read outside the frame.
#include "FrameCheck.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray frame(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const vt::sim::CheckedFrame checked = vt::sim::checkFrame(frame, data[0] & 1);
    if (checked.pages < 0)
        std::abort();
    return 0;
}
