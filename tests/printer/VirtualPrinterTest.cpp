#include "PrintFixture.h"

#include <QJsonArray>

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
