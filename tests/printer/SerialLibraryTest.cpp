#include "printer/SerialConfig.h"
#include "printer/SerialLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace vt;

TEST(SerialLibrary, ClosingAPortStillSendingLetsItsLastBytesOut)
{
    // A terminal whose other side reads nothing yet: the system takes a few
    // kilobytes, the rest waits in the port when the job closes it.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    qputenv("VT350_DEVICE", ptsname(master));

    SerialLibrary library;
    ASSERT_EQ(library.open(1), 0);
    QByteArray sent(256 * 1024, '\0');
    for (int i = 0; i < sent.size(); ++i)
        sent[i] = char(i * 7 + i / 251);
    ASSERT_EQ(library.write(1, sent.constData(), int(sent.size())), sent.size());
    library.close(1);

    QByteArray got;
    char buffer[4096];
    QElapsedTimer guard;
    guard.start();
    while (got.size() < sent.size() && guard.elapsed() < 20000) {
        QCoreApplication::processEvents();
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, n);
    }
    EXPECT_EQ(got.size(), sent.size());
    EXPECT_TRUE(got == sent);
    ::close(master);
    qunsetenv("VT350_DEVICE");
}

namespace {

// The other side of a pseudo-terminal, read on a thread of its own once
// started, so that a call that waits for the line to drain can return.
class PrinterSide {
public:
    PrinterSide()
    {
        fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ >= 0 && grantpt(fd_) == 0 && unlockpt(fd_) == 0)
            qputenv("VT350_DEVICE", ptsname(fd_));
    }
    ~PrinterSide()
    {
        stop();
        ::close(fd_);
        qunsetenv("VT350_DEVICE");
    }
    bool ok() const { return fd_ >= 0; }
    void start()
    {
        reader_ = std::thread([this] {
            char buffer[4096];
            for (;;) {
                const ssize_t n = ::read(fd_, buffer, sizeof buffer);
                if (n > 0) {
                    got_.append(buffer, n);
                    continue;
                }
                // Once told to stop, an empty terminal has given all it will.
                if (stopping_)
                    return;
                pollfd p{fd_, POLLIN, 0};
                ::poll(&p, 1, 50);
            }
        });
    }
    // Everything that reached the terminal by now.
    QByteArray stop()
    {
        if (reader_.joinable()) {
            stopping_ = true;
            reader_.join();
        }
        return got_;
    }

private:
    int fd_ = -1;
    std::thread reader_;
    std::atomic<bool> stopping_{false};
    QByteArray got_;
};

QByteArray job(int bytes)
{
    QByteArray data(bytes, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 13 + i / 241);
    return data + QByteArray("\x02H", 2);
}

} // namespace

TEST(SerialLibrary, TheEndOfAJobReachesThePrinterBeforeTheNextOpenAndAtExit)
{
    // More than the terminal takes while nobody reads: the rest is still in
    // the port when the job closes it.
    const QByteArray sent = job(256 * 1024);
    {
        PrinterSide printer;
        ASSERT_TRUE(printer.ok());
        SerialLibrary library;
        ASSERT_EQ(library.open(1), 0);
        ASSERT_EQ(library.write(1, sent.constData(), int(sent.size())), sent.size());
        library.close(1);
        // The next job opens the port before the last one's bytes are out.
        printer.start();
        ASSERT_EQ(library.open(1), 0);
        const QByteArray got = printer.stop();
        EXPECT_EQ(got.size(), sent.size());
        EXPECT_TRUE(got.endsWith("\x02H")) << "the mode H after Cancel was dropped";
        library.close(1);
    }
    {
        // The program ends (vt350-cli after its job) with the port still sending.
        PrinterSide printer;
        ASSERT_TRUE(printer.ok());
        auto library = std::make_unique<SerialLibrary>();
        ASSERT_EQ(library->open(1), 0);
        ASSERT_EQ(library->write(1, sent.constData(), int(sent.size())), sent.size());
        printer.start();
        library.reset();
        const QByteArray got = printer.stop();
        EXPECT_EQ(got.size(), sent.size());
        EXPECT_TRUE(got == sent);
    }
}

TEST(SerialLibrary, AClosedPortIsGivenTheTimeItsOwnLineTakes)
{
    // 10 bits a byte (8N1): 960 bytes a second at 9600 baud, 120 at 1200.
    EXPECT_EQ(drainMs(960, 9600, 10), 1000 + 2000);
    EXPECT_EQ(drainMs(960, 1200, 10), 8000 + 2000);
    // 8 data bits, parity and two stop bits at 115200 baud.
    EXPECT_EQ(drainMs(1152, 115200, 12), 120 + 2000);
    EXPECT_EQ(drainMs(0, 1200, 10), 0);
}
