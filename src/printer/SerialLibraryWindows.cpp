#include "printer/SerialLibrary.h"

// The Windows line, over the communications API. The handle is opened for
// overlapped I/O so that no call waits on the line: reads take only what has
// arrived, writes are handed to the system and their completion is collected
// by a short timer, and a port closed while its last bytes are still going
// out is closed once they are out.
#ifdef Q_OS_WIN

#include "files/WindowsError.h"
#include "printer/SerialConfig.h"

#include <QDeadlineTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <deque>
#include <vector>

#include <windows.h>

namespace vt {

struct SerialLibrary::WinPort {
    struct Write {
        // What is still to go out: a write that completes short is handed
        // to the system again with the rest.
        QByteArray data;
        OVERLAPPED overlapped{};
    };

    HANDLE handle = INVALID_HANDLE_VALUE;
    HANDLE readEvent = nullptr;
    std::deque<std::unique_ptr<Write>> writes;
    QDeadlineTimer drainDeadline;

    ~WinPort()
    {
        if (handle != INVALID_HANDLE_VALUE) {
            // Whoever lets a port go has waited for its writes as long as the
            // line needs; what is left now is cancelled before its buffers go.
            if (!writes.empty()) {
                CancelIoEx(handle, nullptr);
                for (auto &write : writes) {
                    DWORD n = 0;
                    GetOverlappedResult(handle, &write->overlapped, &n, TRUE);
                }
            }
            CloseHandle(handle);
        }
        for (auto &write : writes)
            CloseHandle(write->overlapped.hEvent);
        if (readEvent)
            CloseHandle(readEvent);
    }

    qint64 bytesToWrite() const
    {
        qint64 n = 0;
        for (const auto &write : writes)
            n += write->data.size();
        return n;
    }

    // Hands `write` (again) to the system; false when the device refused it.
    bool start(Write &write) const
    {
        const HANDLE event = write.overlapped.hEvent;
        write.overlapped = OVERLAPPED{};
        write.overlapped.hEvent = event;
        ResetEvent(event);
        return WriteFile(handle, write.data.constData(), DWORD(write.data.size()), nullptr, &write.overlapped)
               || GetLastError() == ERROR_IO_PENDING;
    }

    // The time the bytes still queued take on this line, from its settings.
    qint64 drainMs() const
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb))
            return vt::drainMs(bytesToWrite(), 0, 0);
        const int bits = 1 + dcb.ByteSize + (dcb.Parity == NOPARITY ? 0 : 1) + (dcb.StopBits == ONESTOPBIT ? 1 : 2);
        return vt::drainMs(bytesToWrite(), int(dcb.BaudRate), bits);
    }
};

namespace {


// "COM12" and the like need the device namespace; a full name is kept.
std::wstring deviceName(const QString &device)
{
    const QString name = device.startsWith(QLatin1String("\\\\")) ? device : QStringLiteral("\\\\.\\") + device;
    return name.toStdWString();
}

} // namespace

SerialLibrary::SerialLibrary(QObject *parent) : QObject(parent) {}

SerialLibrary::~SerialLibrary()
{
    // Ending the program does not cut off the end of the last job: what a
    // port still holds goes out first, for as long as the line needs for it.
    std::vector<int> open;
    for (auto &[n, p] : ports_)
        open.push_back(n);
    for (int n : open)
        close(n);
    std::vector<int> draining;
    for (auto &[n, p] : draining_)
        draining.push_back(n);
    for (int n : draining)
        waitForDrain(n);
}

SerialLibrary::WinPort *SerialLibrary::portFor(int port) const
{
    const auto it = ports_.find(port);
    return it != ports_.end() ? it->second.get() : nullptr;
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
    // A new job needs the device the last one may still be finishing on:
    // its last bytes (a mode H after "Cancel") go out before it is let go.
    waitForDrain(port);
    ports_.erase(port);
    lost_[port] = false;

    const HANDLE handle = CreateFileW(deviceName(lastDevice_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        lastErrorText_ = windowsErrorText(error);
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            lastFailure_ = OpenFailure::NoDevice;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            // A COM port open in another program refuses access.
            lastFailure_ = OpenFailure::Busy;
            break;
        default:
            lastFailure_ = OpenFailure::Other;
        }
        return -1;
    }
    auto serial = std::make_unique<WinPort>();
    serial->handle = handle;
    serial->readEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ports_[port] = std::move(serial);
    return 0;
}

int SerialLibrary::setLine(int port, int baudCode, int modeCode)
{
    WinPort *serial = portFor(port);
    const int rate = baudRate(baudCode);
    if (!serial || rate == 0)
        return -1;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(serial->handle, &dcb))
        return -1;
    dcb.BaudRate = DWORD(rate);
    dcb.ByteSize = BYTE(5 + (modeCode & 0x03));
    dcb.StopBits = (modeCode & 0x04) ? TWOSTOPBITS : ONESTOPBIT;
    switch (modeCode & 0x38) {
    case 0x08: dcb.Parity = ODDPARITY; break;
    case 0x18: dcb.Parity = EVENPARITY; break;
    case 0x28: dcb.Parity = MARKPARITY; break;
    case 0x38: dcb.Parity = SPACEPARITY; break;
    default: dcb.Parity = NOPARITY;
    }
    // Raw bytes both ways, no flow control, nothing replaced or dropped.
    dcb.fBinary = TRUE;
    dcb.fParity = dcb.Parity != NOPARITY;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(serial->handle, &dcb))
        return -1;
    // A read returns at once with what has arrived.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    return SetCommTimeouts(serial->handle, &timeouts) ? 0 : -1;
}

int SerialLibrary::waiting(int port)
{
    WinPort *serial = portFor(port);
    if (!serial)
        return 0;
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(serial->handle, &errors, &status)) {
        markLost(port);
        return 0;
    }
    return int(status.cbInQue);
}

int SerialLibrary::read(int port, char *buffer, int length)
{
    WinPort *serial = portFor(port);
    if (!serial || length <= 0)
        return 0;
    OVERLAPPED overlapped{};
    overlapped.hEvent = serial->readEvent;
    ResetEvent(serial->readEvent);
    DWORD n = 0;
    if (!ReadFile(serial->handle, buffer, DWORD(length), &n, &overlapped)) {
        // With the timeouts of setLine the read completes at once.
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(serial->handle, &overlapped, &n, TRUE)) {
            markLost(port);
            return 0;
        }
    }
    return int(n);
}

int SerialLibrary::write(int port, const char *buffer, int length)
{
    WinPort *serial = portFor(port);
    if (!serial || length <= 0)
        return 0;
    auto write = std::make_unique<WinPort::Write>();
    write->data = QByteArray(buffer, length);
    write->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!serial->start(*write)) {
        CloseHandle(write->overlapped.hEvent);
        markLost(port);
        return 0;
    }
    serial->writes.push_back(std::move(write));
    bytesWritten_ += length;
    if (!writeWatch_) {
        writeWatch_ = new QTimer(this);
        writeWatch_->setInterval(std::chrono::milliseconds(20));
        connect(writeWatch_, &QTimer::timeout, this, [this] {
            std::vector<int> busy;
            for (auto &[n, p] : ports_)
                busy.push_back(n);
            for (int n : busy)
                if (WinPort *p = portFor(n))
                    collectWrites(n, p);
            std::vector<int> drained;
            for (auto &[n, p] : draining_) {
                collectWrites(n, p.get());
                if (p->writes.empty() || p->drainDeadline.hasExpired())
                    drained.push_back(n);
            }
            for (int n : drained)
                finishDrain(n);
            bool pending = !draining_.empty();
            for (auto &[n, p] : ports_)
                pending = pending || !p->writes.empty();
            if (!pending)
                writeWatch_->stop();
        });
    }
    if (!writeWatch_->isActive())
        writeWatch_->start();
    return length;
}

bool SerialLibrary::collectWrites(int port, WinPort *serial)
{
    while (!serial->writes.empty()) {
        auto &write = serial->writes.front();
        DWORD n = 0;
        if (!GetOverlappedResult(serial->handle, &write->overlapped, &n, FALSE)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE)
                return true;
            // The device went away under a write.
            if (portFor(port) == serial)
                markLost(port);
            return false;
        }
        if (n < DWORD(write->data.size())) {
            // Completed short: the rest goes out as a write of its own.
            write->data.remove(0, qsizetype(n));
            if (!serial->start(*write)) {
                if (portFor(port) == serial)
                    markLost(port);
                return false;
            }
            if (n == 0)
                return true;
            continue;
        }
        CloseHandle(write->overlapped.hEvent);
        serial->writes.pop_front();
    }
    return true;
}

void SerialLibrary::waitForDrain(int port)
{
    const auto it = draining_.find(port);
    if (it == draining_.end())
        return;
    WinPort *serial = it->second.get();
    while (!serial->writes.empty() && !serial->drainDeadline.hasExpired()) {
        const qint64 left = serial->drainDeadline.remainingTime();
        const DWORD ms = left < 0 ? INFINITE : DWORD(std::min<qint64>(left, INFINITE - 1));
        if (WaitForSingleObject(serial->writes.front()->overlapped.hEvent, ms) != WAIT_OBJECT_0
            || !collectWrites(port, serial))
            break;
    }
    finishDrain(port);
}

void SerialLibrary::markLost(int port)
{
    lost_[port] = true;
    ports_.erase(port);
    emit lost(port);
}

void SerialLibrary::close(int port)
{
    const auto it = ports_.find(port);
    if (it == ports_.end())
        return;
    WinPort *serial = it->second.get();
    collectWrites(port, serial);
    if (portFor(port) != serial)
        return;
    if (serial->writes.empty()) {
        ports_.erase(it);
        return;
    }
    // Closing now would drop the end of the last frame, which takes seconds
    // on the line: the port closes once it is out, or when the line would
    // have sent it.
    finishDrain(port);
    serial->drainDeadline.setRemainingTime(std::chrono::milliseconds(serial->drainMs()));
    draining_[port] = std::move(it->second);
    ports_.erase(port);
}

void SerialLibrary::finishDrain(int port)
{
    draining_.erase(port);
}

qint64 SerialLibrary::drainLeftMs(int port) const
{
    const auto it = draining_.find(port);
    return it == draining_.end() ? 0 : std::max<qint64>(it->second->drainDeadline.remainingTime(), 1);
}

bool SerialLibrary::connectionLost(int port) const
{
    const auto it = lost_.find(port);
    return it != lost_.end() && it->second;
}

} // namespace vt

#endif // Q_OS_WIN
