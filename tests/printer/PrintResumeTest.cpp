#include "PrintFixture.h"

#include "common/Files.h"
#include "files/PrintStopFile.h"
#include "printer/PrintResume.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>

#include <map>
#include <optional>

using namespace vt;
using namespace vt::test;

namespace {

void addPages(PrintBench &b)
{
    for (int i = 0; i < 200; ++i)
        b.addPage(longText(i));
}

std::vector<int> pagesOf(const QJsonObject &frame)
{
    std::vector<int> out;
    for (const QJsonValue &p : frame.value(QStringLiteral("pages")).toArray())
        out.push_back(QByteArray::fromHex(p.toObject().value(QStringLiteral("textHex")).toString().toLatin1())
                          .left(3)
                          .toInt());
    return out;
}

std::vector<QJsonObject> framesFrom(const Sim &sim, std::size_t first)
{
    std::vector<QJsonObject> all = sim.log(QStringLiteral("frame"));
    return {all.begin() + std::min(first, all.size()), all.end()};
}

QStringList hexOf(const std::vector<QJsonObject> &frames)
{
    QStringList out;
    for (const QJsonObject &f : frames)
        out << f.value(QStringLiteral("hex")).toString();
    return out;
}

} // namespace

TEST(PrintResume, ARibbonStopResumesWithTheSegmentThePrinterDidNotFinish)
{
    // Segment 1 is reported finished, segment 2 gets the ribbon notice.
    Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--ribbon-after"), QStringLiteral("2")}));
    PrintBench b({sim.path()});
    addPages(b);
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.results, std::vector<bool>{false});
    const auto stopped = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(stopped.size(), 2u);
    const int segment2 = pagesOf(stopped[1]).front();
    EXPECT_EQ(segment2, 51);
    EXPECT_EQ(b.print.stoppedPage(), segment2);

    // The same job again: asked, and continued from segment 2's first page.
    b.op.messages.clear();
    b.op.answers = {Answer::Yes};
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text, "The last print of this job stopped before page 52 of 200. Continue from "
                                     "page 52? (No prints all pages)");
    EXPECT_EQ(b.op.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(b.results, (std::vector<bool>{false, true}));
    EXPECT_EQ(b.print.stoppedPage(), -1) << "a job that ended whole leaves nothing to resume";
    const std::vector<QJsonObject> resumed = framesFrom(sim, 2);
    ASSERT_FALSE(resumed.empty());
    EXPECT_EQ(pagesOf(resumed.front()).front(), segment2);
    // The finished segment and the resumed job deliver every page.
    std::map<int, int> seen;
    for (int page : pagesOf(stopped[0]))
        ++seen[page];
    for (const QJsonObject &f : resumed)
        for (int page : pagesOf(f))
            ++seen[page];
    EXPECT_EQ(seen.size(), 200u);
    EXPECT_EQ(seen.begin()->first, 0);
    EXPECT_EQ(seen.rbegin()->first, 199);
    EXPECT_EQ(b.progress.total, 200 - segment2) << "the pages to send are those from the resume on";

    // Its frames are those of the job with the pages before it unchecked,
    // which, being another job, is printed whole without a question.
    for (int row = 0; row < segment2; ++row)
        b.job.model.setChecked(row, false);
    b.op.messages.clear();
    const std::size_t before = sim.log(QStringLiteral("frame")).size();
    ASSERT_TRUE(b.printAll());
    EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
    EXPECT_EQ(hexOf(framesFrom(sim, before)), hexOf(resumed));
}

TEST(PrintResume, ACancelAfterTwoContinuesResumesAtSegmentThreeAndAnEditedJobStartsOver)
{
    Sim sim(simOptions(QStringLiteral("FV1.000.01")));
    PrintBench b({sim.path()});
    addPages(b);
    b.progress.pressContinue = true;
    // "Cancel" is pressed while the third segment prints.
    int frames = 0;
    QObject::connect(&b.print, &PrintJob::timeLeft, [&] {
        if (++frames == 3)
            b.progress.pressCancel = true;
    });
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.results, std::vector<bool>{false});
    const auto stopped = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(stopped.size(), 3u);
    EXPECT_EQ(b.print.stoppedPage(), pagesOf(stopped[2]).front());
    EXPECT_EQ(b.print.stoppedPage(), 102);

    // No: every page again, from the first.
    b.progress.pressCancel = false;
    frames = -100;
    b.op.answers = {Answer::No};
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_TRUE(b.op.messages[0].text.startsWith("The last print of this job stopped before page 103 of 200."));
    std::vector<QJsonObject> again = framesFrom(sim, 3);
    ASSERT_EQ(again.size(), 4u);
    EXPECT_EQ(pagesOf(again.front()).front(), 0);

    // Stopped again in segment 3, then a page is unchecked: another job,
    // printed from page 1 without a question (and stopped again).
    frames = 0;
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.print.stoppedPage(), 102);
    b.job.model.setChecked(150, false);
    b.op.messages.clear();
    b.progress.pressCancel = false;
    frames = 0;
    ASSERT_TRUE(b.printAll());
    EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
    ASSERT_EQ(b.print.stoppedPage(), 102);
    // A text edited: the same.
    b.job.model.setCellText(150, ColLine1, QStringLiteral("150 edited"));
    b.progress.pressCancel = false;
    b.op.messages.clear();
    const std::size_t before = sim.log(QStringLiteral("frame")).size();
    frames = -100;
    ASSERT_TRUE(b.printAll());
    EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
    again = framesFrom(sim, before);
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(pagesOf(again.front()).front(), 0);
}

TEST(PrintResume, AJobThatStoppedBeforeItsSecondSegmentOffersNothing)
{
    // Busy: nothing went out. Ribbon after the first segment: nothing the
    // printer finished, so the whole job is still to print.
    Sim busy(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--busy"), QStringLiteral("2")}));
    Sim ribbon(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--ribbon-after"), QStringLiteral("1")}));
    for (const Sim *sim : {&busy, &ribbon}) {
        PrintBench b({sim->path()});
        addPages(b);
        ASSERT_TRUE(b.printAll());
        EXPECT_EQ(b.results, std::vector<bool>{false});
        EXPECT_EQ(b.print.stoppedPage(), -1);
        b.op.messages.clear();
        ASSERT_TRUE(b.printAll());
        EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
    }
}

namespace {

// Holds the last wait of a job (the one after "All print contents have been
// transmitted") until the printer has sent its notice of segment `segment`:
// the notice then arrives in that wait, whatever the machine's speed.
void holdTheFinalWaitForNotice(PrintBench &b, const Sim &sim, int segment)
{
    b.clock.onWait = [&b, &sim, segment](int) {
        if (b.progress.texts.isEmpty() || !b.progress.texts.back().startsWith("All print contents"))
            return;
        QElapsedTimer guard;
        guard.start();
        while (int(sim.log(QStringLiteral("notice")).size()) < segment && guard.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
}

// Prints with another PrintJob on the same line, as a program started anew
// would (same state folder, nothing in memory): whether the job ended whole,
// nothing when it did not end.
std::optional<bool> printAfterRestart(PrintBench &b)
{
    PrintJob again(b.job, b.line, b.op, b.progress);
    again.portNumber = b.print.portNumber;
    again.portFound = b.print.portFound;
    std::optional<bool> result;
    QObject::connect(&again, &PrintJob::finished, [&](bool all) { result = all; });
    again.printCommand();
    QElapsedTimer guard;
    guard.start();
    while (!result && guard.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return result;
}

QStringList stopFiles(const PrintBench &b)
{
    return QDir(b.state.path()).entryList({QStringLiteral("print-stop-*")}, QDir::Files);
}

} // namespace

TEST(PrintResume, ARibbonNoticeOfTheLastSegmentIsAFaultAndItsResumePointOutlivesTheProgram)
{
    // Four segments; the notice of the fourth, which arrives while the job
    // waits for the printer to finish, reports the ribbon.
    Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--ribbon-after"), QStringLiteral("4")}));
    PrintBench b({sim.path()});
    addPages(b);
    holdTheFinalWaitForNotice(b, sim, 4);
    ASSERT_TRUE(b.printAll());
    const auto frames = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 4u);
    ASSERT_EQ(sim.log(QStringLiteral("notice")).size(), 4u);
    EXPECT_EQ(sim.log(QStringLiteral("notice")).back().value(QStringLiteral("text")).toString(), "Ribbon");
    EXPECT_EQ(b.progress.texts.back(), "All print contents have been transmitted, please wait for the print to finish")
        << "the fault came in the final wait";
    EXPECT_EQ(b.results, std::vector<bool>{false}) << "not taken for success";
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text, "Ribbon is unavailing, Please replace a good one and try again");
    EXPECT_FALSE(b.progress.shown);
    EXPECT_FALSE(b.line.isOpen());
    // The resume point is the first page of the segment the printer did not finish.
    const int segment4 = pagesOf(frames[3]).front();
    EXPECT_EQ(segment4, 153);
    EXPECT_EQ(b.print.stoppedPage(), segment4);
    ASSERT_EQ(stopFiles(b).size(), 1u) << "kept in the state folder";

    // A program started anew, with the same state folder, offers page 154.
    b.clock.onWait = nullptr;
    b.op.messages.clear();
    b.op.answers = {Answer::Yes};
    const std::size_t before = sim.log(QStringLiteral("frame")).size();
    // The ribbon is replaced: this virtual printer reports it once only.
    ASSERT_EQ(printAfterRestart(b), std::optional<bool>(true));
    ASSERT_EQ(b.op.messages.size(), 1u);
    EXPECT_EQ(b.op.messages[0].text, "The last print of this job stopped before page 154 of 200. Continue from "
                                     "page 154? (No prints all pages)");
    const std::vector<QJsonObject> resumed = framesFrom(sim, before);
    ASSERT_EQ(resumed.size(), 1u);
    EXPECT_EQ(pagesOf(resumed.front()).front(), 153);
    EXPECT_EQ(pagesOf(resumed.front()).back(), 199);
    EXPECT_TRUE(stopFiles(b).isEmpty()) << "the job finished: its resume point is gone";

    // Nothing is offered any more, in the program that stopped nor in a new one.
    b.op.messages.clear();
    b.op.answers.clear();
    ASSERT_EQ(printAfterRestart(b), std::optional<bool>(true));
    EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
}

TEST(PrintResume, TheSameProgramOffersTheStopTooAndNoGivesItUp)
{
    Sim sim(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--ribbon-after"), QStringLiteral("2")}));
    PrintBench b({sim.path()});
    addPages(b);
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.print.stoppedPage(), 51);
    ASSERT_EQ(stopFiles(b).size(), 1u);

    // A printer that stays busy: after No, nothing of the job prints, and
    // still the resume point is gone.
    Sim busy(simOptions(QStringLiteral("FV1.000.04"), {QStringLiteral("--busy"), QStringLiteral("1000")}));
    qputenv("VT350_DEVICE", busy.path().toLocal8Bit());
    b.print.portFound = false;
    b.op.messages.clear();
    b.op.answers = {Answer::No};
    ASSERT_TRUE(b.printAll());
    ASSERT_EQ(b.op.messages.size(), 2u) << b.op.messageTexts().join('|').toStdString();
    EXPECT_TRUE(b.op.messages[0].text.startsWith("The last print of this job stopped before page 52 of 200."));
    EXPECT_EQ(b.op.messages[1].text, "PC is busy now!");
    EXPECT_TRUE(stopFiles(b).isEmpty()) << "No gives the resume point up";
    EXPECT_TRUE(busy.log(QStringLiteral("frame")).empty());
    b.op.messages.clear();
    ASSERT_TRUE(b.printAll());
    EXPECT_EQ(b.op.messageTexts(), QStringList{"PC is busy now!"}) << "nothing offered in this program";
    b.op.messages.clear();
    ASSERT_EQ(printAfterRestart(b), std::optional<bool>(false));
    EXPECT_EQ(b.op.messageTexts(), QStringList{"PC is busy now!"}) << "nor in a new one";
}

TEST(PrintResume, ACorruptOrForeignStopFileIsIgnoredAndGoesWhenTheJobEndsWhole)
{
    Sim sim(simOptions(QStringLiteral("FV1.000.04")));
    PrintBench b({sim.path()});
    addPages(b);
    const QByteArray fingerprint = printFingerprint(b.job);
    const QString path = PrintStopFile(b.state.path()).pathFor(fingerprint);
    // Garbage, and a well-formed file of another job under this job's name.
    QByteArray foreign = fingerprint.toHex();
    foreign[0] = foreign[0] == '0' ? '1' : '0';
    for (const QByteArray &bytes : {QByteArray("\x00\xff{\"page\":", 9),
                                    "{\"format\":\"vt350-print-stop\",\"version\":1,\"fingerprint\":\"" + foreign
                                        + "\",\"page\":153,\"pages\":200}"}) {
        writeAll(path, bytes);
        b.op.messages.clear();
        const std::size_t before = sim.log(QStringLiteral("frame")).size();
        ASSERT_TRUE(b.printAll());
        EXPECT_TRUE(b.op.messages.empty()) << b.op.messageTexts().join('|').toStdString();
        const auto frames = framesFrom(sim, before);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(pagesOf(frames.front()).front(), 0) << "the whole job";
        EXPECT_FALSE(QFileInfo::exists(path));
    }
}
