#include "cli/CliRun.h"
#include "common/Files.h"
#include "printer/PrintFixture.h"

#include <QJsonArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using namespace vt;
using namespace vt::test;

TEST(PrintCli, FrameWritesTheBytesThePrinterWouldReceive)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("ab.csv"), "AB\n");
    CliRun r = cli({"frame", dir.filePath("ab.csv")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.bytes.size(), 67);
    EXPECT_EQ(r.bytes.left(9).toHex(), "024100430143090100");

    r = cli({"frame", dir.filePath("ab.csv"), "--firmware", "FV1.000.01", "-o", dir.filePath("ab.bin")});
    EXPECT_EQ(r.exitCode, 0);
    const QByteArray plain = readAll(dir.filePath("ab.bin"));
    EXPECT_EQ(plain.size(), 66);
    EXPECT_EQ(plain.left(8).toHex(), "0241004243040100");

    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += QByteArray::number(1000 + i) + QByteArray(96, 'k') + "\n";
    writeAll(dir.filePath("many.csv"), many);
    r = cli({"frame", dir.filePath("many.csv")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.bytes.count("\x02\x41"), 4) << "four segments, one frame each";

    EXPECT_EQ(cli({"frame", dir.filePath("ab.csv"), "--firmware", "FV2"}).exitCode, 2);
}

TEST(PrintCli, PrintAndPortsTalkToThePrinter)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("ab.csv"), "AB\n");
    Sim printer({QStringLiteral("--segment-seconds"), QStringLiteral("0.05")});
    Sim silent({QStringLiteral("--no-reply")});

    CliRun r = cli({"ports"}, silent.path() + QDir::listSeparator() + printer.path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("1\t%1\tno answer\n2\t%2\tprinter\n").arg(silent.path(), printer.path()));

    r = cli({"print", dir.filePath("ab.csv"), "--device", silent.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Printer is not connect to the PC. Please Checked,then Print Again!"));

    r = cli({"print", dir.filePath("ab.csv"), "--device", printer.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("pages sent: 1 of 1"));
    EXPECT_TRUE(r.err.contains("All print contents have been transmitted"));
    const auto frames = printer.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].value(QStringLiteral("bytes")).toInt(), 67);
}

TEST(PrintCli, FromPageLeavesOutThePagesBeforeIt)
{
    QTemporaryDir dir;
    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += QByteArray::number(100 + i) + QByteArray(97, 'k') + "\n";
    writeAll(dir.filePath("many.csv"), many);
    Sim printer({QStringLiteral("--segment-seconds"), QStringLiteral("0.03")});

    // The last 49 pages fit one frame: no wait for a segment.
    CliRun r = cli({"print", dir.filePath("many.csv"), "--device", printer.path(), "--from-page", "152"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("pages sent: 49 of 49")) << r.err.toStdString();
    const auto frames = printer.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 1u);
    const QJsonArray pages = frames[0].value(QStringLiteral("pages")).toArray();
    ASSERT_EQ(pages.size(), 49);
    EXPECT_TRUE(QByteArray::fromHex(pages.at(0).toObject().value(QStringLiteral("textHex")).toString().toLatin1())
                    .startsWith("251"));

    for (const char *bad : {"0", "201", "x"})
        EXPECT_EQ(cli({"print", dir.filePath("many.csv"), "--device", printer.path(), "--from-page", bad}).exitCode, 2)
            << bad;
}

TEST(PrintCli, ARibbonFaultAtTheEndExitsNonZeroAndResumeGoesOnInANewProcess)
{
    QTemporaryDir dir;
    QTemporaryDir state;
    const QByteArray outerState = qgetenv("VT350_STATE_DIR");
    qputenv("VT350_STATE_DIR", state.path().toLocal8Bit());
    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += QByteArray::number(100 + i) + QByteArray(97, 'k') + "\n";
    writeAll(dir.filePath("many.csv"), many);
    const auto firstPageOf = [](const QJsonObject &frame) {
        return QByteArray::fromHex(frame.value(QStringLiteral("pages")).toArray().at(0).toObject()
                                       .value(QStringLiteral("textHex")).toString().toLatin1())
            .left(3)
            .toInt() - 100;
    };
    {
        // Four segments; the fourth one's notice, in the final wait, reports the ribbon.
        Sim printer({QStringLiteral("--segment-seconds"), QStringLiteral("0.03"), QStringLiteral("--ribbon-after"),
                     QStringLiteral("4")});
        // The exchange's own waits (12 s, then 11 s a segment, 5 s at the end) take about 45 s.
        const CliRun r = cli({"print", dir.filePath("many.csv"), "--device", printer.path()}, {}, 180000);
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("All print contents have been transmitted")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Ribbon is unavailing, Please replace a good one and try again"));
        EXPECT_TRUE(r.err.contains("it stopped before page 154 of 200")) << r.err.toStdString();
        const auto frames = printer.log(QStringLiteral("frame"));
        ASSERT_EQ(frames.size(), 4u);
        EXPECT_EQ(firstPageOf(frames[3]), 153) << "page 154 begins the segment the printer did not finish";
        EXPECT_EQ(QDir(state.path()).entryList({QStringLiteral("print-stop-*")}, QDir::Files).size(), 1);
    }
    {
        // A new process with the same state folder goes on from page 154.
        Sim printer({QStringLiteral("--segment-seconds"), QStringLiteral("0.03")});
        const CliRun r = cli({"print", dir.filePath("many.csv"), "--device", printer.path(), "--resume"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("the last print of this job stopped before page 154 of 200; going on from there"))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("pages sent: 47 of 47")) << r.err.toStdString();
        const auto frames = printer.log(QStringLiteral("frame"));
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(firstPageOf(frames[0]), 153);
        EXPECT_TRUE(QDir(state.path()).entryList({QStringLiteral("print-stop-*")}, QDir::Files).isEmpty())
            << "the job has printed whole";
    }
    EXPECT_EQ(cli({"print", dir.filePath("many.csv"), "--resume", "--from-page", "3"}).exitCode, 2);
    qputenv("VT350_STATE_DIR", outerState);
}
