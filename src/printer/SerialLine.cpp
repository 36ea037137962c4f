#include "printer/SerialLine.h"

#include "printer/Clock.h"

#include <QDebug>

#include <algorithm>

namespace vt {

SerialLine::SerialLine(SerialLibrary &library, Clock &clock) : library_(library), clock_(&clock) {}

SerialLine::~SerialLine()
{
    close();
}

bool SerialLine::open(int port, int baudCode, int modeCode)
{
    Q_ASSERT(port >= 1);
    if (opened_)
        close();
    // The last job's end (a mode H after "Cancel") may still be leaving by
    // this port, for seconds at a slow line speed: the window runs meanwhile.
    for (qint64 left; (left = library_.drainLeftMs(port)) > 0;) {
        if (clock_->interrupted())
            return false;
        clock_->wait(int(std::min<qint64>(left, 50)));
    }
    if (library_.open(port) != 0) {
        qDebug("\nsio_open Error");
        return false;
    }
    port_ = port;
    if (library_.setLine(port_, baudCode, modeCode) != 0) {
        qDebug("\nsio_ioctl Error");
        // Not left half-open: the next opener would find it locked.
        library_.close(port_);
        return false;
    }
    // Whatever the printer sent before we listened is stale.
    const int stale = library_.waiting(port_);
    char scratch = 0;
    for (int i = 0; i < stale; ++i)
        library_.read(port_, &scratch, 1);
    opened_ = true;
    return true;
}

void SerialLine::close()
{
    if (!opened_)
        return;
    opened_ = false;
    library_.close(port_);
}

void SerialLine::flushInput()
{
    if (!opened_)
        return;
    const int count = library_.waiting(port_);
    char scratch = 0;
    for (int i = 0; i < count; ++i)
        library_.read(port_, &scratch, 1);
}

int SerialLine::inputCount()
{
    Q_ASSERT(port_ >= 1);
    return library_.waiting(port_);
}

int SerialLine::read(char *buffer, int length)
{
    Q_ASSERT(port_ >= 1);
    return library_.read(port_, buffer, length);
}

int SerialLine::write(const char *buffer, int length)
{
    Q_ASSERT(port_ >= 1);
    return library_.write(port_, buffer, length);
}

bool SerialLine::writeAll(const char *bytes, int length)
{
    return write(bytes, length) == length;
}

bool SerialLine::connectionLost() const
{
    return port_ >= 1 && library_.connectionLost(port_);
}

} // namespace vt
