// A closed port's last bytes against a printer side that takes them only as
// it reads: a pseudo-terminal (it holds a few kilobytes), or on Windows a
// named pipe with a small buffer, whose writes stay pending as on a COM port.
#include "printer/Clock.h"
#include "printer/SerialConfig.h"
#include "printer/SerialLibrary.h"
#include "printer/SerialLine.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>
#endif

using namespace vt;

namespace {

// Reads on a thread from start() until the program's side closes the port.
class PrinterSide {
public:
#ifdef Q_OS_WIN
    PrinterSide()
    {
        pipes_[0] = listen();
        qputenv("VT350_DEVICE", "\\\\.\\pipe\\vt350-drain");
    }
    ~PrinterSide()
    {
        got();
        for (HANDLE h : pipes_)
            CloseHandle(h);
        qunsetenv("VT350_DEVICE");
    }
    static HANDLE listen()
    {
        return CreateNamedPipeW(L"\\\\.\\pipe\\vt350-drain", PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 2, 0, 4096, 0, nullptr);
    }
    void start()
    {
        pipes_[1] = listen(); // the next open of the port
        reader_ = std::thread([this] {
            ConnectNamedPipe(pipes_[0], nullptr);
            char b[4096];
            DWORD n = 0;
            while (ReadFile(pipes_[0], b, sizeof b, &n, nullptr))
                got_.append(b, int(n));
        });
    }
    HANDLE pipes_[2] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
#else
    PrinterSide()
    {
        fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(fd_);
        unlockpt(fd_);
        qputenv("VT350_DEVICE", ptsname(fd_));
    }
    ~PrinterSide()
    {
        got();
        ::close(fd_);
        qunsetenv("VT350_DEVICE");
    }
    void start()
    {
        reader_ = std::thread([this] {
            char b[4096];
            pollfd p{fd_, POLLIN, 0};
            // A hang-up with nothing left to read: the port was let go.
            while (::poll(&p, 1, -1) > 0 && !((p.revents & POLLHUP) && !(p.revents & POLLIN))) {
                const ssize_t n = ::read(fd_, b, sizeof b);
                if (n > 0)
                    got_.append(b, int(n));
            }
        });
    }
    int fd_;
#endif
    QByteArray got()
    {
        if (reader_.joinable())
            reader_.join();
        return got_;
    }

private:
    std::thread reader_;
    QByteArray got_;
};

// More than the printer side holds unread, and a mode H at the end.
QByteArray cancelledJobsEnd()
{
    QByteArray sent(256 * 1024, '\0');
    for (int i = 0; i < sent.size(); ++i)
        sent[i] = char(i * 13 + i / 241);
    return sent + "\x02H";
}

} // namespace

TEST(LineDrain, TheEndOfAJobReachesThePrinterBeforeTheNextOpenAndAtExit)
{
    const QByteArray sent = cancelledJobsEnd();
    for (bool reopen : {true, false}) {
        SCOPED_TRACE(reopen ? "the next job opens the port" : "the program ends");
        PrinterSide printer;
        auto library = std::make_unique<SerialLibrary>();
        ASSERT_EQ(library->open(1), 0) << qPrintable(library->lastErrorText());
        ASSERT_EQ(library->write(1, sent.constData(), int(sent.size())), sent.size());
        library->close(1);
        printer.start();
        if (reopen)
            ASSERT_EQ(library->open(1), 0) << qPrintable(library->lastErrorText());
        library.reset();
        const QByteArray got = printer.got();
        EXPECT_EQ(got.size(), sent.size());
        EXPECT_TRUE(got.endsWith("\x02H")) << "the mode H after Cancel was dropped";
    }
    // The wait allowed follows the line: 10 bits a byte at 9600 and 1200 baud, 12 at 115200.
    EXPECT_EQ(drainMs(960, 9600, 10), 1000 + 2000);
    EXPECT_EQ(drainMs(960, 1200, 10), 8000 + 2000);
    EXPECT_EQ(drainMs(1152, 115200, 12), 120 + 2000);
}

TEST(LineDrain, TheNextJobWaitsForTheLastOnesEndWithTheWindowRunning)
{
    const QByteArray sent = cancelledJobsEnd();
    PrinterSide printer;
    auto library = std::make_unique<SerialLibrary>();
    EventLoopClock clock;
    ASSERT_EQ(library->open(1), 0) << qPrintable(library->lastErrorText());
    ASSERT_EQ(library->write(1, sent.constData(), int(sent.size())), sent.size());
    library->close(1);
    ASSERT_GT(library->drainLeftMs(1), 0);
    printer.start();
    bool ranWhileLeaving = false;
    QTimer::singleShot(0, [&] { ranWhileLeaving = library->drainLeftMs(1) > 0; });
    {
        // A named pipe takes no line settings: the open itself may fail after the wait.
        SerialLine line(*library, clock);
        line.open(1, 12, 3);
        EXPECT_TRUE(ranWhileLeaving) << "the window stood still while the last job's end left";
        EXPECT_EQ(library->drainLeftMs(1), 0);
    }
    library.reset();
    EXPECT_EQ(printer.got().size(), sent.size());
}
