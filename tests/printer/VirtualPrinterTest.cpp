#include "PrintFixture.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTest>

#include <cstdio>
#include <cstdlib>

using namespace vt;
using namespace vt::test;

namespace {

QStringList violationsOf(const QJsonObject &entry)
{
    QStringList out;
    for (const QJsonValue &v : entry.value(QStringLiteral("violations")).toArray())
        out << v.toString();
    return out;
}

} // namespace

TEST(VirtualPrinter, ReportsEveryBrokenFrameRule)
{
    Sim sim({QStringLiteral("--firmware"), QStringLiteral("FV1.000.01"), QStringLiteral("--segment-seconds"),
             QStringLiteral("0")});
    PrintBench b({sim.path()});
    ASSERT_TRUE(b.line.open(1, 12, 3));
    const auto send = [&](const QByteArray &bytes) {
        ASSERT_EQ(b.line.write(bytes.constData(), int(bytes.size())), bytes.size());
        b.clock.wait(100);
    };
    const QByteArray record = QByteArray(37, '\0') + char(2) + QByteArray(17, '\0') + "AB";
    // Without the extended frame: 8 bytes of header, the record, 'E'.
    const QByteArray good = QByteArray::fromHex("0241004243040100") + record + "E";
    send(good);                                                       // no mode D before it
    send(QByteArray("\x01" "D", 2) + good.left(good.size() - 1) + "X");  // no closing 'E'
    QByteArray density = good;
    density[5] = 9;
    send(QByteArray("\x01" "D", 2) + density);                       // density above 6
    QByteArray cut = good;
    cut[3] = char(0x41);
    send(QByteArray("\x01" "D", 2) + cut.left(0x41));                // a record runs past the end
    send(QByteArray("\x01" "D", 2) + good);
    b.line.close();

    const auto frames = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 5u);
    const auto joined = [&](int i) { return violationsOf(frames[std::size_t(i)]).join('|').toStdString(); };
    EXPECT_EQ(joined(0), "frame without mode D before it");
    EXPECT_EQ(joined(1), "frame does not end with 'E'");
    EXPECT_EQ(joined(2), "density 9 above 6 without the extended frame");
    EXPECT_EQ(joined(3), "frame does not end with 'E'|page 1 runs past the end of the frame|frame carries no page");
    EXPECT_TRUE(violationsOf(frames[4]).isEmpty());
    const QJsonObject page = frames[4].value(QStringLiteral("pages")).toArray().at(0).toObject();
    EXPECT_EQ(page.value(QStringLiteral("textHex")).toString(), "4142");
    EXPECT_EQ(page.value(QStringLiteral("textLength")).toInt(), 2);
    EXPECT_TRUE(sim.errors().contains("frame 1: frame without mode D before it"));
}

#ifdef Q_OS_LINUX
// Run only by the test below, in a process of its own: starts a virtual
// printer and crashes without any destructor running.
TEST(VirtualPrinter, DISABLED_StartedThenCrashes)
{
    Sim sim({});
    std::printf("sim %lld\n", static_cast<long long>(sim.process().processId()));
    std::fflush(stdout);
    std::abort();
}

TEST(VirtualPrinter, EndsWithTheTestProcessThatStartedItHoweverThatEnds)
{
    QProcess crashing;
    crashing.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_also_run_disabled_tests"),
                    QStringLiteral("--gtest_filter=VirtualPrinter.DISABLED_StartedThenCrashes")});
    ASSERT_TRUE(crashing.waitForFinished(30000));
    EXPECT_EQ(crashing.exitStatus(), QProcess::CrashExit);
    const QString out = QString::fromLocal8Bit(crashing.readAllStandardOutput());
    const qsizetype at = out.indexOf(QStringLiteral("sim "));
    ASSERT_GE(at, 0) << out.toStdString();
    const QString pid = out.mid(at + 4).section(QLatin1Char('\n'), 0, 0);
    ASSERT_GT(pid.toLongLong(), 0);
    // Gone, or a zombie waiting for whoever adopted it: either way not running.
    const auto running = [&pid] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray fields = stat.readAll();
        const qsizetype close = fields.lastIndexOf(')');
        return close < 0 || fields.mid(close + 2, 1) != "Z";
    };
    for (int i = 0; i < 1000 && running(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(running()) << "the virtual printer " << pid.toStdString() << " outlived its test";
}
#endif
