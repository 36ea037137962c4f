// The Windows serial line against a printer side that takes bytes only as it
// reads them: a named pipe with a small buffer, so writes stay pending the
// way they do on a COM port at 9600 baud.
#include <QtGlobal>

#ifdef Q_OS_WIN

#include "printer/SerialLibrary.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include <windows.h>

using namespace vt;

namespace {

const wchar_t kPipe[] = L"\\\\.\\pipe\\vt350-line-test";

class PipePrinter {
public:
    PipePrinter() { qputenv("VT350_DEVICE", QString::fromWCharArray(kPipe).toUtf8()); }
    ~PipePrinter()
    {
        if (reader_.joinable())
            reader_.join();
        for (HANDLE h : instances_)
            CloseHandle(h);
        qunsetenv("VT350_DEVICE");
    }
    // Makes the pipe the next open of the port reaches.
    bool listen()
    {
        const HANDLE h = CreateNamedPipeW(kPipe, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                          PIPE_UNLIMITED_INSTANCES, 0, 4096, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        instances_.push_back(h);
        return true;
    }
    // Reads the first open's bytes on a thread until that side closes.
    void start()
    {
        const HANDLE h = instances_.front();
        reader_ = std::thread([this, h] {
            ConnectNamedPipe(h, nullptr);
            char buffer[4096];
            DWORD n = 0;
            while (ReadFile(h, buffer, sizeof buffer, &n, nullptr))
                got_.append(buffer, int(n));
        });
    }
    // What arrived before the port was let go.
    QByteArray got()
    {
        reader_.join();
        return got_;
    }

private:
    std::vector<HANDLE> instances_;
    std::thread reader_;
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

TEST(WindowsLine, TheEndOfAJobReachesThePrinterBeforeTheNextOpenAndAtExit)
{
    const QByteArray sent = job(64 * 1024);
    {
        PipePrinter printer;
        ASSERT_TRUE(printer.listen());
        SerialLibrary library;
        ASSERT_EQ(library.open(1), 0) << qPrintable(library.lastErrorText());
        ASSERT_EQ(library.write(1, sent.constData(), int(sent.size())), sent.size());
        library.close(1);
        // The next job opens the port while the last one's bytes are going out.
        ASSERT_TRUE(printer.listen());
        printer.start();
        ASSERT_EQ(library.open(1), 0) << "the second open did not reach the printer";
        const QByteArray got = printer.got();
        EXPECT_EQ(got.size(), sent.size());
        EXPECT_TRUE(got.endsWith("\x02H")) << "the mode H after Cancel was dropped";
        library.close(1);
    }
    {
        // The program ends (vt350-cli after its job) with the port still sending.
        PipePrinter printer;
        ASSERT_TRUE(printer.listen());
        auto library = std::make_unique<SerialLibrary>();
        ASSERT_EQ(library->open(1), 0);
        ASSERT_EQ(library->write(1, sent.constData(), int(sent.size())), sent.size());
        printer.start();
        library.reset();
        const QByteArray got = printer.got();
        EXPECT_EQ(got.size(), sent.size());
        EXPECT_TRUE(got == sent);
    }
}

#endif // Q_OS_WIN
