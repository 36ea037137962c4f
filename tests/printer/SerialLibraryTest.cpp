#include "printer/SerialLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
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
