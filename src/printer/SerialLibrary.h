#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSerialPort;
class QTimer;

namespace vt {

// Why the last open of a port failed.
enum class OpenFailure { None, NoDevice, Permission, Busy, Other };

// The six serial operations the printer link is built on: over QSerialPort, and
// on Windows over the communications API (SerialLibraryWindows.cpp).
// Every call names the port by number (1 for the first). Results follow the
// serial library the printer link was written against: 0 for success from
// open and setLine, byte counts from the rest.
class SerialLibrary : public QObject {
    Q_OBJECT
public:
    explicit SerialLibrary(QObject *parent = nullptr);
    ~SerialLibrary() override;

    // Virtual so that a scripted line (fuzzing, tests) can stand in for a port.
    virtual int open(int port);
    // Baud code 12 is 9600 baud; mode code 3 is 8 data bits, no parity, 1 stop bit.
    virtual int setLine(int port, int baudCode, int modeCode);
    // Bytes a read can take now, counting everything that has arrived so far.
    virtual int waiting(int port);
    virtual int read(int port, char *buffer, int length);
    virtual int write(int port, const char *buffer, int length);
    virtual void close(int port);

    // About the last failed open: its kind, the device and the system's words.
    OpenFailure lastFailure() const { return lastFailure_; }
    QString lastDevice() const { return lastDevice_; }
    QString lastErrorText() const { return lastErrorText_; }
    // The device went away while the port was open (unplugged, printer gone).
    virtual bool connectionLost(int port) const;
    // How much longer a closed port may still be handing its last bytes to
    // the line: 0 once they are out (or the port was never closed with any).
    qint64 drainLeftMs(int port) const;
    // Every byte handed to any port so far.
    qint64 bytesWritten() const { return bytesWritten_; }

signals:
    void lost(int port);

private:
#ifdef Q_OS_WIN
    struct WinPort;
    WinPort *portFor(int port) const;
    // Takes finished writes off a port; a failed one means the device is
    // gone (false then).
    bool collectWrites(int port, WinPort *serial);
    void markLost(int port);
    void finishDrain(int port);
    // Lets a closed port's last bytes out, for as long as the line needs for
    // them, and then closes it.
    void waitForDrain(int port);

    std::map<int, std::unique_ptr<WinPort>> ports_;
    std::map<int, std::unique_ptr<WinPort>> draining_;
    QTimer *writeWatch_ = nullptr;
#else
    QSerialPort *portFor(int port) const;
    void onError(int port, QSerialPort *serial);
    // Closes a port whose last bytes were still on their way out.
    void finishDrain(int port);
    // Lets a closed port's last bytes out, for as long as the line needs for
    // them, and then closes it.
    void waitForDrain(int port);

    std::map<int, std::unique_ptr<QSerialPort>> ports_;
    // Closed ports still handing their last bytes to the system, and until when.
    std::map<int, std::unique_ptr<QSerialPort>> draining_;
    std::map<int, QDeadlineTimer> drainUntil_;
#endif
    std::map<int, bool> lost_;
    qint64 bytesWritten_ = 0;
    OpenFailure lastFailure_ = OpenFailure::None;
    QString lastDevice_;
    QString lastErrorText_;
};

} // namespace vt
