#include "PrintFixture.h"

#include "printer/PrintEstimate.h"

#include <QJsonArray>

#include <map>

using namespace vt;
using namespace vt::test;

namespace {

const QString kTitle = QStringLiteral("Vt350 Tube Printer_P1.03");
const char kRecordAB[] = "00 00 00 00 00 00 00 00 00 00 01 00 00 4E 4C 41 42 00 41 75 00 00 39 00 00"
                        "31 00 00 00 00 00 01 00 81 00 00 00 02 30 34 04 00 30 30 30 31 00 00 00 00"
                        "00 00 00 00 00 41 42";

// How often each page arrived, by the number at the start of its text.
std::map<int, int> arrivals(const std::vector<QJsonObject> &frames)
{
    std::map<int, int> seen;
    for (const QJsonObject &f : frames)
        for (const QJsonValue &p : f.value(QStringLiteral("pages")).toArray())
            ++seen[QByteArray::fromHex(p.toObject().value(QStringLiteral("textHex")).toString().toLatin1())
                       .left(3)
                       .toInt()];
    return seen;
}

} // namespace

TEST(PrintJob, OneABPageGoesOutAsTheDocumentedFrame)
{
    for (const char *firmware : {"FV1.000.04", "FV1.000.01"}) {
        SCOPED_TRACE(firmware);
        Sim sim(simOptions(QString::fromLatin1(firmware)));
        ASSERT_FALSE(sim.path().isEmpty());
        PrintBench b({sim.path()});
        b.addPage("AB");
        ASSERT_TRUE(b.printAll());
        EXPECT_EQ(b.results, std::vector<bool>{true});
        EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();

        const auto frames = sim.log(QStringLiteral("frame"));
        ASSERT_EQ(frames.size(), 1u);
        const QString hex = frames[0].value(QStringLiteral("hex")).toString();
        const bool extended = QByteArray(firmware) == "FV1.000.04";
        const QByteArray head = extended ? "02 41 00 43 01 43 09 01 00" : "02 41 00 42 43 04 01 00";
        const QString expected = QString::fromLatin1(QByteArray::fromHex(head + kRecordAB + "45").toHex());
        EXPECT_EQ(hex.toStdString(), expected.toStdString());
        EXPECT_TRUE(frames[0].value(QStringLiteral("violations")).toArray().isEmpty());

        // The exchange as the printer saw it.
        QStringList kinds;
        for (const QJsonObject &e : sim.log())
            if (e.value(QStringLiteral("type")) != QStringLiteral("notice"))
                kinds << e.value(QStringLiteral("type")).toString() + e.value(QStringLiteral("mode")).toString();
        EXPECT_EQ(kinds.join(' ').toStdString(), "modeH status version modeH status modeD frame")
            << "port search probe, then version, ready and the frame";
        EXPECT_EQ(b.op.title, kTitle + firmware);
        EXPECT_EQ(b.progress.texts,
                  (QStringList{"Print data is being processed...", "Reading the printer status...",
                               "Transmitting print data...",
                               "All print contents have been transmitted, please wait for the print to finish"}));
        EXPECT_FALSE(b.progress.shown);
        EXPECT_EQ(b.clock.waits.back(), 5000);
        EXPECT_FALSE(b.line.isOpen());
        EXPECT_EQ(b.job.settings.density, 9);
    }
}

TEST(PrintJob, TwoHundredLongPagesGoOutInSegmentsOnNoticeOrContinue)
{
    for (const char *firmware : {"FV1.000.03", "FV1.000.01"}) {
        SCOPED_TRACE(firmware);
        const bool automatic = QByteArray(firmware) != "FV1.000.01";
        Sim sim(simOptions(QString::fromLatin1(firmware)));
        PrintBench b({sim.path()});
        b.progress.pressContinue = true;
        for (int i = 0; i < 200; ++i)
            b.addPage(longText(i));
        ASSERT_TRUE(b.printAll());
        EXPECT_EQ(b.results, std::vector<bool>{true});
        EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();

        const auto frames = sim.log(QStringLiteral("frame"));
        ASSERT_EQ(frames.size(), 4u);
        for (const QJsonObject &f : frames) {
            EXPECT_LE(f.value(QStringLiteral("bytes")).toInt(), 8192);
            EXPECT_TRUE(f.value(QStringLiteral("violations")).toArray().isEmpty())
                << QJsonDocument(f.value(QStringLiteral("violations")).toArray()).toJson().toStdString();
        }
        const std::map<int, int> seen = arrivals(frames);
        ASSERT_EQ(seen.size(), 200u);
        // Each continuation starts with the last page of the previous frame.
        for (auto [page, count] : seen)
            EXPECT_EQ(count, page == 51 || page == 102 || page == 153 ? 2 : 1) << "page " << page;

        EXPECT_EQ(b.clock.armings.front(), 12102);
        EXPECT_EQ(b.clock.armings.size() >= 3, true);
        const int next = automatic ? 11102 : 12102;
        EXPECT_EQ(std::count(b.clock.armings.begin(), b.clock.armings.end(), next), automatic ? 2 : 3);
        const QString segment = automatic
            ? QStringLiteral("Currently printing to %1 segment. When the printing is finished, \rit will continue to print automatically")
            : QStringLiteral("Currently printing to %1 segment. When the printing is finished,\rplease select \"Continue\" again");
        EXPECT_TRUE(b.progress.texts.contains(segment.arg(51)));
        EXPECT_TRUE(b.progress.texts.contains(QStringLiteral("Transmitting next print data")));
        EXPECT_EQ(b.progress.sent, 200);
        EXPECT_EQ(b.progress.total, 200);
        // The end waits until the last frame's bytes have left at 960 a second.
        EXPECT_EQ(b.clock.waits.back(), finishWaitMs(frames.back().value(QStringLiteral("bytes")).toInt()));
        EXPECT_GT(b.clock.waits.back(), 5000);
        // Without the printer's notice, each segment waits for a ready status.
        const auto statuses = sim.log(QStringLiteral("status"));
        if (automatic)
            EXPECT_EQ(statuses.size(), 2u) << "the port search and the first ready check";
        else
            EXPECT_GE(statuses.size(), 5u) << "and one or more after each Continue";
    }
}

TEST(PrintJob, DensityWithoutTheExtendedFrameComesFromTheOperatorsSettingEachTime)
{
    Sim sim(simOptions(QStringLiteral("FV1.000.02")));
    PrintBench b({sim.path()});
    b.addPage("AB");
    b.job.settings.density = 6;
    ASSERT_TRUE(b.printAll());
    ASSERT_TRUE(b.printAll());
    const auto frames = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 2u);
    for (const QJsonObject &f : frames) {
        EXPECT_EQ(f.value(QStringLiteral("density")).toInt(), 3);
        EXPECT_EQ(f.value(QStringLiteral("length")).toInt(), 66) << "no copies byte";
    }
    EXPECT_EQ(b.job.settings.density, 6);
}

TEST(PrintJob, BusyPrinterSilentPrinterAndUnknownFirmwareEachGetTheirMessage)
{
    {
        Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--busy"), QStringLiteral("2")}));
        PrintBench b({sim.path()});
        b.addPage("AB");
        ASSERT_TRUE(b.printAll());  // the port search takes the first busy answer
        ASSERT_EQ(b.op.messages.size(), 1u);
        EXPECT_EQ(b.op.messages[0].text, "PC is busy now!");
        EXPECT_EQ(b.op.messages[0].caption, "Prompt");
        EXPECT_EQ(b.op.messages[0].icon, MessageIcon::None);
        EXPECT_FALSE(b.progress.shown);
        EXPECT_TRUE(sim.log(QStringLiteral("frame")).empty());
        ASSERT_TRUE(b.printAll());
        EXPECT_EQ(b.results, (std::vector<bool>{false, true}));
        EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 1u);
    }
    const QString notConnected = QStringLiteral("Printer is not connect to the PC. Please Checked,then Print Again!");
    {
        Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--no-reply")}));
        PrintBench b({sim.path()});
        b.addPage("AB");
        b.print.portFound = true;  // found earlier; the printer has gone quiet since
        b.print.portNumber = 1;
        ASSERT_TRUE(b.printAll());
        ASSERT_EQ(b.op.messages.size(), 1u);
        EXPECT_EQ(b.op.messages[0].text, notConnected);
        EXPECT_EQ(b.op.messages[0].caption, kTitle);
        EXPECT_EQ(b.op.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(b.op.title, kTitle);
    }
    {
        // A reply longer than its 100-byte buffer is cut: the version at its
        // end is lost, and the firmware counts as unknown.
        Sim sim(simOptions(QString(95, 'x') + QStringLiteral("FV1.000.04")));
        PrintBench b({sim.path()});
        b.addPage("AB");
        ASSERT_TRUE(b.printAll());
        ASSERT_EQ(b.op.messages.size(), 1u);
        EXPECT_EQ(b.op.messages[0].text, notConnected);
        EXPECT_EQ(b.op.messages[0].icon, MessageIcon::Question);
        EXPECT_EQ(b.op.title, kTitle + QString(8, 'x') + "FV");
        EXPECT_TRUE(sim.log(QStringLiteral("frame")).empty());
    }
}

TEST(PrintJob, NothingCheckedWithTextSendsNoFrame)
{
    Sim sim(simOptions(QStringLiteral("FV1.000.04")));
    PrintBench b({sim.path()});
    b.addPage("");
    b.addPage("AB", false);
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text, "No Print Contents!");
    EXPECT_EQ(b.op.messages[0].caption, "Prompt");
    EXPECT_TRUE(sim.log(QStringLiteral("frame")).empty());
    const auto modes = sim.log(QStringLiteral("mode"));
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.back().value(QStringLiteral("mode")).toString(), "H");
    EXPECT_FALSE(b.line.isOpen());
    EXPECT_EQ(b.results, std::vector<bool>{false});
}

TEST(PrintJob, RibbonNoticeCancelAndAVanishedPrinterEndThePendingJob)
{
    {
        Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--ribbon-after"), QStringLiteral("1")}));
        PrintBench b({sim.path()});
        for (int i = 0; i < 200; ++i)
            b.addPage(longText(i));
        ASSERT_TRUE(b.printAll());
        ASSERT_EQ(b.op.messages.size(), 1u);
        EXPECT_EQ(b.op.messages[0].text, "Ribbon is unavailing, Please replace a good one and try again");
        EXPECT_EQ(b.op.messages[0].caption, kTitle + "FV1.000.04");
        EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 1u);
        EXPECT_FALSE(b.line.isOpen());
        EXPECT_EQ(b.print.pagesConsumed, 0);
        EXPECT_EQ(b.results, std::vector<bool>{false});
    }
    for (bool manual : {false, true}) {
        Sim sim(simOptions(manual ? QStringLiteral("FV1.000.01") : QStringLiteral("FV1.000.04")));
        PrintBench b({sim.path()});
        for (int i = 0; i < 200; ++i)
            b.addPage(longText(i));
        b.print.printCommand();
        ASSERT_TRUE(b.print.printTimerActive);
        b.progress.cancel();
        EXPECT_FALSE(b.print.printing()) << "a job that was cancelled ends then, not at the next tick";
        ASSERT_EQ(b.results, std::vector<bool>{false});
        EXPECT_TRUE(b.op.messages.empty());
        EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 1u);

        // The next job starts afresh instead of ending at its first tick.
        b.progress.pressContinue = true;
        ASSERT_TRUE(b.printAll());
        EXPECT_EQ(b.results, (std::vector<bool>{false, true}));
        EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 5u);
    }
    {
        Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--exit-after"), QStringLiteral("1")}));
        PrintBench b({sim.path()});
        for (int i = 0; i < 200; ++i)
            b.addPage(longText(i));
        ASSERT_TRUE(b.printAll()) << "the job must end, not poll a vanished printer forever";
        ASSERT_EQ(b.op.messages.size(), 1u);
        EXPECT_TRUE(b.op.messages[0].text.startsWith("The connection to the printer was lost"));
        EXPECT_TRUE(b.op.messages[0].text.contains(sim.path()));
        EXPECT_FALSE(b.line.isOpen());
        EXPECT_EQ(b.results, std::vector<bool>{false});
    }
}

TEST(PrintJob, EditsWhileAJobRunsDoNotReachItsLaterSegments)
{
    Sim sim(simOptions(QStringLiteral("FV1.000.04")));
    PrintBench b({sim.path()});
    for (int i = 0; i < 200; ++i)
        b.addPage(longText(i));
    b.print.printCommand();
    ASSERT_TRUE(b.print.printing());
    PageRecord &late = b.job.chain[150];
    late.text.fill('Q');
    b.job.settings.copies = 7;
    ASSERT_TRUE(b.printAll());
    const auto frames = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 4u);
    for (const QJsonObject &f : frames)
        EXPECT_EQ(f.value(QStringLiteral("copies")).toInt(), 1);
    EXPECT_EQ(arrivals(frames).count(150), 1u) << "page 150 went out as it was when Print was pressed";
}

TEST(PrintJob, CancelAtAnyPointOfAContinuationSendsNothingMore)
{
    // Firmware that continues by itself, one-second segments. "Cancel" is
    // offered from the first frame on and pressed: while the pump is armed,
    // as the notice is read, during mode D, and in the wait after it.
    enum Point { Armed, Notice, ModeD, AfterModeD };
    for (Point point : {Armed, Notice, ModeD, AfterModeD}) {
        SCOPED_TRACE(int(point));
        Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--segment-seconds"), QStringLiteral("1")}));
        PrintBench b({sim.path()});
        for (int i = 0; i < 200; ++i)
            b.addPage(longText(i));
        int waitsSinceNotice = -1;
        b.clock.onWait = [&](int ms) {
            if (ms == 200 && waitsSinceNotice < 0)
                waitsSinceNotice = 0;
            else if (waitsSinceNotice >= 0)
                ++waitsSinceNotice;
            if ((point == Notice && waitsSinceNotice == 0) || (point == ModeD && waitsSinceNotice == 1)
                || (point == AfterModeD && waitsSinceNotice == 2)) {
                ASSERT_TRUE(b.progress.offered()) << "Cancel is on offer until the next frame goes";
                b.progress.cancel();
            }
        };
        b.print.printCommand();
        ASSERT_TRUE(b.print.printTimerActive);
        EXPECT_TRUE(b.progress.offered()) << "Cancel is on offer as soon as the first frame has gone";
        if (point == Armed)
            QTimer::singleShot(0, [&] { b.progress.cancel(); });
        ASSERT_TRUE(b.waitForEnd(0));
        EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
        EXPECT_EQ(b.results, std::vector<bool>{false});

        EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 1u) << "no frame after Cancel";
        QStringList modes;
        for (const QJsonObject &m : sim.log(QStringLiteral("mode")))
            modes << m.value(QStringLiteral("mode")).toString();
        const bool modeDSent = point == ModeD || point == AfterModeD;
        EXPECT_EQ(modes.count("D"), modeDSent ? 2 : 1);
        EXPECT_EQ(modes.last(), modeDSent ? "H" : "D") << "a mode D without its frame is taken back";
        EXPECT_FALSE(b.line.isOpen());
    }
}
