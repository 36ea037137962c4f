// The printer's side of the serial line: version and status queries, mode
// commands and data frames.
#include "printer/SerialLine.h"

#include "model/CodePage.h"
#include "printer/Clock.h"
#include "printer/DataFrame.h"

#include <array>

namespace vt {

namespace {

const char kVersionQuery[] = {0x1D, char(0x99), 0x42, 0x45, char(0x92), char(0x9A), 0x53};
const char kStatusQuery[] = {0x01, 'A'};
constexpr int kStatusBytes = 9;
constexpr int kVersionBytes = 24;
// The version reply is read into a 100-byte buffer that stays NUL-terminated.
constexpr int kVersionBuffer = 100;

} // namespace

Firmware classifyFirmware(const QString &reply)
{
    struct Class {
        const char *text;
        bool autoContinue;
        bool extendedFrame;
    };
    static const Class classes[] = {
        {"FV1.000.04", true, true},
        {"FV1.000.03", true, true},
        {"FV1.000.02", true, false},
        {"FV1.000.01", false, false},
    };
    for (const Class &c : classes)
        if (reply.contains(QLatin1String(c.text)))
            return {true, c.autoContinue, c.extendedFrame};
    return {};
}

QString SerialLine::queryVersion()
{
    if (!isOpen())
        return {};
    if (!writeAll(kVersionQuery, int(sizeof kVersionQuery)))
        return {};
    clock_->wait(500);
    for (int i = 0; i < 11 && inputCount() < kVersionBytes; ++i)
        clock_->wait(100);
    if (!isOpen())
        return {};
    std::array<char, kVersionBuffer> buffer{};
    const int count = std::min(inputCount(), kVersionBuffer - 1);
    if (count <= 0)
        return {};
    const int got = read(buffer.data(), count);
    // Bytes beyond the buffer are left for the next flush.
    return toWide(QByteArrayView(buffer.data(), qstrnlen(buffer.data(), std::max(got, 0))));
}

bool SerialLine::probe(int port, int baudCode, int modeCode)
{
    // Open on another port, the test would ask the wrong device.
    if (isOpen() && port_ != port)
        close();
    if (!isOpen() && !open(port, baudCode, modeCode))
        return false;
    bool present = false;
    sendMode('H');
    flushInput();
    if (isOpen() && writeAll(kStatusQuery, int(sizeof kStatusQuery))) {
        clock_->wait(1000);
        if (isOpen() && inputCount() == kStatusBytes) {
            char reply[kStatusBytes] = {};
            present = read(reply, kStatusBytes) == kStatusBytes && reply[8] == 0x0D;
        }
    }
    close();
    return present;
}

bool SerialLine::queryReady()
{
    if (!isOpen())
        return false;
    sendMode('H');
    flushInput();
    if (!isOpen() || !writeAll(kStatusQuery, int(sizeof kStatusQuery)))
        return false;
    clock_->wait(1000);
    for (int i = 0; i < 4 && isOpen() && inputCount() != kStatusBytes; ++i)
        clock_->wait(500);
    if (!isOpen())
        return false;
    if (inputCount() == kStatusBytes) {
        char reply[kStatusBytes] = {};
        return read(reply, kStatusBytes) == kStatusBytes && reply[0] == 'N';
    }
    flushInput();
    return false;
}

bool SerialLine::sendMode(char mode)
{
    if (!isOpen())
        return false;
    const char command[2] = {mode == 'H' ? char(0x02) : char(0x01), mode};
    if (!writeAll(command, 2))
        return false;
    clock_->wait(1000);
    return true;
}

int SerialLine::sendPages(const PageChain &chain, const PageRecord *first, int skip, const JobSettings &job,
                          std::uint8_t density, bool extendedFrame)
{
    if (!isOpen())
        return 0;
    const DataFrame frame = buildDataFrame(chain, first, skip, job, density, extendedFrame);
    if (frame.bytes.isEmpty())
        return 0;
    if (!writeAll(frame.bytes.constData(), int(frame.bytes.size())))
        return 0;
    clock_->wait(100);
    return frame.visited;
}

} // namespace vt
