#include "PrintFixture.h"

#include "printer/SerialConfig.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <unistd.h>

using namespace vt;
using namespace vt::test;

namespace {

// Seven terminals; only the one at `printerPort` answers.
struct SevenPorts {
    std::vector<std::unique_ptr<Sim>> sims;
    QStringList paths;
    explicit SevenPorts(int printerPort)
    {
        for (int port = 1; port <= 7; ++port) {
            QStringList options{QStringLiteral("--segment-seconds"), QStringLiteral("0.01")};
            if (port != printerPort)
                options << QStringLiteral("--no-reply");
            sims.push_back(std::make_unique<Sim>(options));
            paths << sims.back()->path();
        }
    }
};

QString storedPort(const PrintBench &b)
{
    QSettings ini(b.config.filePath(QStringLiteral("ConSet.InI")), QSettings::IniFormat);
    return ini.value(QStringLiteral("ConSet/ComPort")).toString();
}

std::vector<int> triedPorts(PrintBench &b)
{
    std::vector<int> tried;
    // The connection must not outlive `tried`: a second call would write
    // into this call's vector after it is gone.
    const QMetaObject::Connection c = QObject::connect(
        &b.print, &PrintJob::tryingPort, [&tried](int port, const QString &) { tried.push_back(port); });
    b.print.findPrinterPort();
    QObject::disconnect(c);
    return tried;
}

} // namespace

TEST(PortSearch, FindsThePrinterOnTheSeventhPortWithoutAConfiguration)
{
    SevenPorts ports(7);
    PrintBench b(ports.paths);
    EXPECT_EQ(triedPorts(b), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(b.print.portFound);
    EXPECT_EQ(b.print.portNumber, 7);
    EXPECT_EQ(storedPort(b), "7");
    EXPECT_TRUE(b.op.messages.empty());
    EXPECT_FALSE(b.line.isOpen()) << "a probe always closes the port again";
    EXPECT_EQ(devicePath(7), ports.paths[6]);

    ASSERT_TRUE(b.line.open(1, 12, 3));
    EXPECT_TRUE(b.line.probe(7, 12, 3)) << "a probe of port 7 asks port 7, whatever is open";
    EXPECT_FALSE(b.line.isOpen());
}

TEST(PortSearch, ConfiguredPortFirstThenFromOneAndTheNewPortIsKept)
{
    SevenPorts ports(5);
    PrintBench b(ports.paths);
    storeConfiguredPort(3);
    EXPECT_EQ(triedPorts(b), (std::vector<int>{3, 1, 2, 3, 4, 5}));
    EXPECT_EQ(b.print.portNumber, 5);
    EXPECT_EQ(storedPort(b), "5");

    // Next start: the configured port answers at once.
    EXPECT_EQ(triedPorts(b), (std::vector<int>{5}));
    EXPECT_TRUE(b.op.messages.empty());
}

TEST(PortSearch, NoPrinterAnywhereSaysSoAndPrintSearchesAgain)
{
    Sim silent({QStringLiteral("--no-reply")});
    PrintBench b({silent.path(), QStringLiteral("/nonexistent/vt350-port")});
    b.addPage("AB");
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text,
              "Unsuccessfully to open the serial port,\rmake sure that the printer has the correct connect to the PC!");
    EXPECT_EQ(b.op.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(b.print.portFound);
    EXPECT_TRUE(storedPort(b).isEmpty());
    EXPECT_EQ(b.results, std::vector<bool>{false});
}

TEST(PortSearch, ADeviceWithoutPermissionIsNamedWithWhatToDo)
{
    PrintBench b({});
    // A file the user may read but not write; root is refused writing only
    // by an attribute file without a writer.
    QString device = QStringLiteral("/sys/class/net/lo/address");
    if (::geteuid() != 0) {
        device = b.config.filePath(QStringLiteral("ttyLocked"));
        QFile f(device);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        QFile::setPermissions(device, QFileDevice::ReadOwner);
    } else if (!QFile::exists(device)) {
        GTEST_SKIP() << "no file that root may not open for writing";
    }
    const QString text = permissionText(device);
    EXPECT_TRUE(text.contains(device) && text.contains("permission denied")) << text.toStdString();
#ifdef Q_OS_LINUX
    EXPECT_TRUE(text.contains(QStringLiteral("group \"%1\"").arg(QFileInfo(device).group())));
    EXPECT_TRUE(text.contains("log in again"));
#endif
    qputenv("VT350_DEVICE", device.toLocal8Bit());
    b.print.findPrinterPort();
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text, text);
    EXPECT_EQ(b.op.messages[0].icon, MessageIcon::Exclamation);

    // A port found earlier that has since become unreachable says the same.
    b.op.messages.clear();
    b.print.portFound = true;
    b.print.portNumber = 1;
    b.addPage("AB");
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text, text);
}

TEST(PortSearch, ADeviceNamedByIdFollowsTheAdapterToItsNextTty)
{
    Sim first({QStringLiteral("--segment-seconds"), QStringLiteral("0.01")});
    Sim second({QStringLiteral("--segment-seconds"), QStringLiteral("0.01")});
    QTemporaryDir byId;
    qputenv("VT350_SERIAL_BY_ID", byId.path().toLocal8Bit());
    const QString link = byId.filePath(QStringLiteral("usb-Vt350_Adapter_A1B2-if00-port0"));
    ASSERT_TRUE(QFile::link(first.path(), link));
    EXPECT_EQ(stableDeviceName(first.path()), link) << "the tty is shown by its stable name";
    EXPECT_EQ(stableDeviceName(second.path()), second.path());

    PrintBench b({link});
    b.addPage(QStringLiteral("AB"));
    b.print.portNumber = 1;
    b.print.portFound = true;
    ASSERT_TRUE(b.printAll());
    EXPECT_EQ(first.log(QStringLiteral("frame")).size(), 1u);

    // Unplugged and plugged back, the adapter came up as another tty.
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(second.path(), link));
    ASSERT_TRUE(b.printAll());
    EXPECT_EQ(second.log(QStringLiteral("frame")).size(), 1u);
    EXPECT_EQ(b.results, (std::vector<bool>{true, true}));
    qunsetenv("VT350_SERIAL_BY_ID");
}

TEST(PortSearch, PortNumbersFollowTheDeviceNumbers)
{
    // Sorted as text, ttyS10 would take port 3 and ttyS2 port 11.
    const QStringList found{"/dev/ttyS10", "/dev/ttyUSB10", "/dev/ttyS2", "/dev/ttyUSB9",
                            "/dev/ttyS1", "/dev/ttyACM0", "/dev/ttyS0"};
    EXPECT_EQ(inPortOrder(found), QStringList({"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2",
                                               "/dev/ttyS10", "/dev/ttyUSB9", "/dev/ttyUSB10"}));
}
