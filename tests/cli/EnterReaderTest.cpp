#include "cli/EnterReader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

using vt::cli::EnterReader;

namespace {

bool makePipe(int fds[2])
{
#ifdef Q_OS_WIN
    return _pipe(fds, 256, _O_BINARY) == 0;
#else
    return ::pipe(fds) == 0;
#endif
}

void put(int fd, const char *text)
{
#ifdef Q_OS_WIN
    ASSERT_EQ(_write(fd, text, unsigned(strlen(text))), int(strlen(text)));
#else
    ASSERT_EQ(::write(fd, text, strlen(text)), ssize_t(strlen(text)));
#endif
}

void closeFd(int fd)
{
#ifdef Q_OS_WIN
    _close(fd);
#else
    ::close(fd);
#endif
}

// Runs the event loop until `done` holds; false if it never does.
bool until(const std::function<bool()> &done)
{
    const QDeadlineTimer guard(20000);
    while (!done() && !guard.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

} // namespace

TEST(EnterReader, HandsEntersOverWhileItLivesAndNothingAfter)
{
    int fds[2];
    ASSERT_TRUE(makePipe(fds));
    const int before = EnterReader::threadsRunning();
    QObject receiver;
    int presses = 0;
    bool ended = false;
    const auto count = [&](int p, bool end) {
        presses += p;
        ended = ended || end;
    };
    auto reader = std::make_unique<EnterReader>(fds[0], &receiver, count);
    put(fds[1], "\n\nx\n");
    ASSERT_TRUE(until([&] { return presses == 3; }));

    // The reader goes (the print command is over) while its thread still
    // waits in a read: what comes after is handed to nobody, and the thread ends.
    reader.reset();
    put(fds[1], "\n");
    closeFd(fds[1]);
    ASSERT_TRUE(until([&] { return EnterReader::threadsRunning() == before; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, 3);
    EXPECT_FALSE(ended);
    closeFd(fds[0]);

    // The end of the input is handed over as such.
    ASSERT_TRUE(makePipe(fds));
    reader = std::make_unique<EnterReader>(fds[0], &receiver, count);
    closeFd(fds[1]);
    EXPECT_TRUE(until([&] { return ended; }));
    reader.reset();
    closeFd(fds[0]);
}
