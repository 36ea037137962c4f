#include "cli/EnterReader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#define pipe(fds) _pipe(fds, 256, _O_BINARY)
#else
#include <unistd.h>
#endif

using vt::cli::EnterReader;

// Runs the event loop until `done` holds; false if it never does.
static bool until(const std::function<bool()> &done)
{
    const QDeadlineTimer guard(20000);
    while (!done() && !guard.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

TEST(EnterReader, HandsEntersOverWhileItLivesAndNothingAfter)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const int before = EnterReader::threadsRunning();
    QObject receiver;
    int presses = 0;
    bool ended = false;
    auto reader = std::make_unique<EnterReader>(fds[0], &receiver, [&](int p, bool end) {
        presses += p;
        ended = ended || end;
    });
    ASSERT_EQ(write(fds[1], "\n\nx\n", 4), 4);
    ASSERT_TRUE(until([&] { return presses == 3; }));

    // The reader goes (the print command is over) while its thread still
    // waits in a read: what comes after is handed to nobody, and the thread ends.
    reader.reset();
    ASSERT_EQ(write(fds[1], "\n", 1), 1);
    close(fds[1]);
    ASSERT_TRUE(until([&] { return EnterReader::threadsRunning() == before; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, 3);
    EXPECT_FALSE(ended);
    close(fds[0]);
}
