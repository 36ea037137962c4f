#include "printer/SerialLibrary.h"

// The POSIX line, over QSerialPort; Windows has its own (SerialLibraryWindows.cpp).
#ifndef Q_OS_WIN

#include "printer/SerialConfig.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <chrono>
#include <vector>

namespace vt {

SerialLibrary::SerialLibrary(QObject *parent) : QObject(parent) {}

SerialLibrary::~SerialLibrary()
{
    // Ending the program does not cut off the end of the last job: what a
    // port still holds goes out first, for as long as the line needs for it.
    std::vector<int> open;
    for (auto &[port, serial] : ports_)
        if (serial->isOpen())
            open.push_back(port);
    for (int port : open)
        close(port);
    std::vector<int> draining;
    for (auto &[port, serial] : draining_)
        draining.push_back(port);
    for (int port : draining)
        waitForDrain(port);
}

QSerialPort *SerialLibrary::portFor(int port) const
{
    const auto it = ports_.find(port);
    return it != ports_.end() && it->second->isOpen() ? it->second.get() : nullptr;
}

int SerialLibrary::open(int port)
{
    lastFailure_ = OpenFailure::None;
    lastErrorText_.clear();
    lastDevice_ = devicePath(port);
    if (lastDevice_.isEmpty()) {
        lastFailure_ = OpenFailure::NoDevice;
        return -1;
    }
    // Every opener must use the same name, or the lock files differ.
    const QFileInfo info(lastDevice_);
    const QString device = info.exists() ? info.canonicalFilePath() : lastDevice_;

    // A new job needs the device the last one may still be finishing on:
    // its last bytes (a mode H after "Cancel") go out before it is let go.
    waitForDrain(port);
    auto &slot = ports_[port];
    if (slot && slot->isOpen())
        slot->close();
    slot = std::make_unique<QSerialPort>();
    QSerialPort *serial = slot.get();
    serial->setPortName(device);
    lost_[port] = false;
    if (!serial->open(QIODevice::ReadWrite)) {
        lastErrorText_ = serial->errorString();
        switch (serial->error()) {
        case QSerialPort::DeviceNotFoundError:
            lastFailure_ = OpenFailure::NoDevice;
            break;
        case QSerialPort::PermissionError:
            lastFailure_ = lastErrorText_.contains(QStringLiteral("ermission denied")) ? OpenFailure::Permission
                                                                                      : OpenFailure::Busy;
            break;
        default:
            lastFailure_ = OpenFailure::Other;
        }
        return -1;
    }
    connect(serial, &QSerialPort::errorOccurred, this, [this, port, serial] { onError(port, serial); });
    return 0;
}

void SerialLibrary::onError(int port, QSerialPort *serial)
{
    switch (serial->error()) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
        // A good open reports NoError; a look without waiting reports a timeout.
        return;
    case QSerialPort::WriteError:
        // A full system buffer (EAGAIN): the rest goes out as it empties.
        if (serial->errorString().contains(QStringLiteral("temporarily unavailable"), Qt::CaseInsensitive)) {
            serial->clearError();
            return;
        }
        [[fallthrough]];
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        // The device is gone. Left open, the port keeps failing and spins.
        lost_[port] = true;
        serial->close();
        emit lost(port);
        return;
    default:
        // Line-control calls fail on pseudo-terminals; none of them matters.
        serial->clearError();
    }
}

int SerialLibrary::setLine(int port, int baudCode, int modeCode)
{
    QSerialPort *serial = portFor(port);
    const int rate = baudRate(baudCode);
    if (!serial || rate == 0)
        return -1;
    const auto dataBits = static_cast<QSerialPort::DataBits>(5 + (modeCode & 0x03));
    const auto stopBits = (modeCode & 0x04) ? QSerialPort::TwoStop : QSerialPort::OneStop;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (modeCode & 0x38) {
    case 0x08: parity = QSerialPort::OddParity; break;
    case 0x18: parity = QSerialPort::EvenParity; break;
    case 0x28: parity = QSerialPort::MarkParity; break;
    case 0x38: parity = QSerialPort::SpaceParity; break;
    default: break;
    }
    const bool ok = serial->setBaudRate(rate) && serial->setDataBits(dataBits) && serial->setParity(parity)
                    && serial->setStopBits(stopBits) && serial->setFlowControl(QSerialPort::NoFlowControl);
    return ok ? 0 : -1;
}

int SerialLibrary::waiting(int port)
{
    QSerialPort *serial = portFor(port);
    if (!serial)
        return 0;
    // Take in what the system holds without waiting for more.
    for (int i = 0; i < 64 && serial->isOpen() && serial->waitForReadyRead(0); ++i) {
    }
    return serial->isOpen() ? static_cast<int>(serial->bytesAvailable()) : 0;
}

int SerialLibrary::read(int port, char *buffer, int length)
{
    QSerialPort *serial = portFor(port);
    if (!serial || length <= 0)
        return 0;
    return static_cast<int>(serial->read(buffer, length));
}

int SerialLibrary::write(int port, const char *buffer, int length)
{
    QSerialPort *serial = portFor(port);
    if (!serial)
        return 0;
    const qint64 written = serial->write(buffer, length);
    // Hand the bytes to the system now rather than at the next event.
    serial->flush();
    if (written > 0)
        bytesWritten_ += written;
    return written < 0 ? 0 : static_cast<int>(written);
}

void SerialLibrary::close(int port)
{
    QSerialPort *serial = portFor(port);
    if (!serial)
        return;
    if (serial->bytesToWrite() == 0) {
        serial->close();
        return;
    }
    // Closing now would drop what the system has not taken yet: the end of
    // the last frame, which takes seconds on the line. The port closes once
    // it is out, or when the line would have sent it, without waiting on the
    // window's thread.
    finishDrain(port);
    const int bits = 1 + int(serial->dataBits()) + (serial->parity() == QSerialPort::NoParity ? 0 : 1)
                     + (serial->stopBits() == QSerialPort::TwoStop ? 2 : 1);
    const qint64 ms = drainMs(serial->bytesToWrite(), serial->baudRate(), bits);
    drainUntil_[port] = QDeadlineTimer(ms);
    draining_[port] = std::move(ports_[port]);
    ports_.erase(port);
    disconnect(serial, nullptr, this, nullptr);
    connect(serial, &QSerialPort::bytesWritten, this, [this, port, serial] {
        if (serial->bytesToWrite() == 0)
            finishDrain(port);
    });
    QTimer::singleShot(std::chrono::milliseconds(ms), serial, [this, port] { finishDrain(port); });
}

void SerialLibrary::waitForDrain(int port)
{
    const auto it = draining_.find(port);
    if (it == draining_.end())
        return;
    // The port may be closed and let go from its own bytesWritten inside the
    // wait; it is deleted only later, so the pointer stays good here.
    QSerialPort *serial = it->second.get();
    const QDeadlineTimer until = drainUntil_[port];
    // Each wait returns as soon as some bytes have gone; false at the
    // deadline or when the line failed.
    while (draining_.count(port) && serial->isOpen() && serial->bytesToWrite() > 0 && !until.hasExpired()) {
        if (!serial->waitForBytesWritten(int(std::min<qint64>(until.remainingTime(), INT_MAX))))
            break;
    }
    finishDrain(port);
}

void SerialLibrary::finishDrain(int port)
{
    const auto it = draining_.find(port);
    if (it == draining_.end())
        return;
    QSerialPort *serial = it->second.release();
    draining_.erase(it);
    drainUntil_.erase(port);
    serial->close();
    // Possibly inside one of its own signals.
    serial->deleteLater();
}

qint64 SerialLibrary::drainLeftMs(int port) const
{
    const auto until = drainUntil_.find(port);
    return until == drainUntil_.end() ? 0 : std::max<qint64>(until->second.remainingTime(), 1);
}

bool SerialLibrary::connectionLost(int port) const
{
    const auto it = lost_.find(port);
    return it != lost_.end() && it->second;
}

} // namespace vt

#endif // Q_OS_WIN
