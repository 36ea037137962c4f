#include "layout/PageLayout.h"
#include "model/Job.h"
#include "printer/DataFrame.h"
#include "printer/PrintEstimate.h"
#include "printer/SerialLine.h"

#include <gtest/gtest.h>

#include <set>

using namespace vt;

namespace {

struct Pages {
    Job job;
    void add(const QString &line1, bool checked = true, const QString &line2 = {})
    {
        const int row = job.model.rowCount();
        job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, line1);
        job.model.setCellText(row, ColLine2, line2);
        job.model.setChecked(row, checked);
    }
    DataFrame frame(int skip, bool extended)
    {
        buildPrintRecords(job, true);
        return buildDataFrame(job.chain, job.pageHead(), skip, job.settings,
                              densityToSend(job.settings.density, extended), extended);
    }
};

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

// Frames as the segment pump sends them: each continuation starts at the
// last record the previous frame visited.
std::vector<DataFrame> allSegments(Pages &p, bool extended)
{
    std::vector<DataFrame> out;
    int consumed = 0;
    do {
        out.push_back(p.frame(consumed == 0 ? 0 : consumed - 1, extended));
        if (out.back().bytes.isEmpty())
            break;
        consumed = out.back().visited;
    } while (consumed < p.job.pageCount() && out.size() < 50);
    return out;
}

} // namespace

TEST(DataFrame, OneABPageIsTheDocumentedFrameWithAndWithoutTheExtendedHeader)
{
    Pages p;
    p.add("AB");
    const QByteArray record = hex("00 00 00 00 00 00 00 00 00 00 01 00 00 4E 4C 41 42 00 41 75 00 00 39 00 00"
                                  "31 00 00 00 00 00 01 00 81 00 00 00 02 30 34 04 00 30 30 30 31 00 00 00 00"
                                  "00 00 00 00 00 41 42");
    const DataFrame extended = p.frame(0, true);
    EXPECT_EQ(extended.bytes, hex("024100430143090100") + record + "E");
    EXPECT_EQ(extended.bytes.size(), 67);
    EXPECT_EQ(extended.visited, 1);

    const DataFrame plain = p.frame(0, false);
    EXPECT_EQ(plain.bytes, hex("0241004243040100") + record + "E");
    EXPECT_EQ(plain.bytes.size(), 66);
    EXPECT_EQ(p.job.settings.density, 9) << "the operator's setting is never overwritten";
}

TEST(DataFrame, RecordFieldsAreBigEndianAndAFullPageIs155Bytes)
{
    PageRecord page;
    setAscii(page.materialCode, "HST");
    setAscii(page.serialStart, "0007");
    setAscii(page.serialEnd, "0123");
    page.repeat = 100;
    page.lengthDots = 1800;
    page.textLength = 100;
    page.text.fill('W');
    page.text[99] = 'Z';
    QByteArray out;
    appendPageRecord(out, page);
    ASSERT_EQ(out.size(), 155);
    EXPECT_EQ(out.mid(14, 4), QByteArray("HST\0", 4));
    EXPECT_EQ(out.mid(30, 2), hex("0064"));
    EXPECT_EQ(out.mid(32, 2), hex("0708"));
    EXPECT_EQ(uchar(out.at(37)), 100);
    EXPECT_EQ(out.mid(47, 8), QByteArray("00070123"));
    EXPECT_EQ(out.at(154), 'Z');
}

TEST(DataFrame, DensityWithoutTheExtendedFrameIsHalvedAndCapped)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {2, 1}, {6, 3}, {9, 4}, {11, 5}, {12, 6}, {20, 6}};
    for (auto [set, sent] : cases) {
        EXPECT_EQ(densityToSend(std::uint8_t(set), false), sent) << set;
        EXPECT_EQ(densityToSend(std::uint8_t(set), true), set) << set;
    }
}

TEST(DataFrame, PagesWithoutTextOrUncheckedAreVisitedButNotSent)
{
    Pages p;
    p.add("");
    p.add("A", false);
    EXPECT_TRUE(p.frame(0, true).bytes.isEmpty()) << "nothing to print writes nothing";

    p.add("B");
    p.add("C", false);
    p.add("", true);
    const DataFrame f = p.frame(0, false);
    EXPECT_EQ(f.pages, 1);
    EXPECT_EQ(f.visited, 5) << "unchecked pages at the end count as visited: the job ends here";
    EXPECT_EQ(f.bytes.size(), 8 + 55 + 1 + 1);
    EXPECT_TRUE(p.frame(3, false).bytes.isEmpty()) << "skip leaves out the only printable page";
}

TEST(DataFrame, FramesNeverExceed8192BytesAndEveryPageGoesOut)
{
    Pages p;
    for (int i = 0; i < 200; ++i)
        p.add(QStringLiteral("%1").arg(i, 3, 10, QChar('0')) + QString(97, QChar('a' + i % 26)));
    const std::vector<DataFrame> frames = allSegments(p, true);
    ASSERT_GT(frames.size(), 3u);
    std::multiset<int> sent;
    for (const DataFrame &f : frames) {
        ASSERT_FALSE(f.bytes.isEmpty());
        EXPECT_LE(f.bytes.size(), 8192);
        EXPECT_EQ(f.bytes.back(), 'E');
        for (int at = 9; at + 55 < f.bytes.size(); at += 155)
            sent.insert(f.bytes.mid(at + 55, 3).toInt());
    }
    // 52 full pages fit one frame; the 53rd would end at byte 8225.
    EXPECT_EQ(frames[0].visited, 52);
    EXPECT_EQ(frames[0].bytes.size(), 9 + 52 * 155 + 1);
    for (int i = 0; i < 200; ++i)
        EXPECT_GE(sent.count(i), 1u) << "page " << i << " never went out";
    EXPECT_EQ(sent.size(), 200 + frames.size() - 1) << "only the boundary page of each segment repeats";
}

TEST(DataFrame, ARecordThatEndsExactlyAt8192BytesStillFits)
{
    for (int last : {67, 68}) {
        Pages p;
        for (int i = 0; i < 52; ++i)
            p.add(QString(100, 'x'));
        p.add(QString(last, 'y'));
        p.add("z");
        const DataFrame f = p.frame(0, true);
        // 9 + 52 * 155 = 8069 bytes before the last long page.
        if (last == 67) {
            EXPECT_EQ(f.bytes.size(), 8192);
            EXPECT_EQ(f.visited, 53);
        } else {
            EXPECT_EQ(f.bytes.size(), 8070);
            EXPECT_EQ(f.visited, 52);
        }
    }
}

TEST(DataFrame, AFrameEndsOnceLessThan100BytesAreLeft)
{
    // 9 + 51 x 155 + 2 x 89 = 8092 bytes: exactly 100 are left, so the frame
    // takes one more page; one byte more and it ends there.
    for (int second : {34, 35}) {
        SCOPED_TRACE(second);
        Pages p;
        for (int i = 0; i < 51; ++i)
            p.add(QString(100, 'x'));
        p.add(QString(34, 'a'));
        p.add(QString(second, 'b'));
        p.add("c");
        p.add("d");
        const DataFrame f = p.frame(0, true);
        EXPECT_EQ(f.visited, second == 34 ? 54 : 53);
        EXPECT_EQ(f.bytes.size(), second == 34 ? 8092 + 56 + 1 : 8093 + 1);
        // The next segment starts again at the last page this one visited.
        const DataFrame next = p.frame(f.visited - 1, true);
        EXPECT_EQ(next.bytes.mid(9 + 55, 1), second == 34 ? "c" : "b");
        EXPECT_EQ(next.visited, 55);
    }
}

TEST(Firmware, ClassesAreTriedInTheirOrderAndOthersAreRefused)
{
    const struct {
        const char *reply;
        bool known, autoContinue, extendedFrame;
    } cases[] = {
        {"Vt350 Tube Printer_P1.03FV1.000.04\r\n", true, true, true},
        {"FV1.000.03", true, true, true},
        {"xxFV1.000.02yy", true, true, false},
        {"FV1.000.01", true, false, false},
        // A reply naming two versions takes the class tried first.
        {"FV1.000.01 FV1.000.04", true, true, true},
        {"FV1.000.02 FV1.000.03", true, true, true},
        {"FV1.000.01 FV1.000.02", true, true, false},
        {"FV1.000.05", false, false, false},
        {"FV1.000.00", false, false, false},
        {"FV1.000.0", false, false, false},
        {"", false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reply);
        const Firmware f = classifyFirmware(QString::fromLatin1(c.reply));
        EXPECT_EQ(f.known, c.known);
        EXPECT_EQ(f.autoContinue, c.autoContinue);
        EXPECT_EQ(f.extendedFrame, c.extendedFrame);
    }
}

TEST(PrintEstimate, TimeLeftFollowsTheSegmentsTheirWaitsAndTheLine)
{
    // The plan is the frames the pump sends, segment after segment.
    Pages p;
    for (int i = 0; i < kMaxPages; ++i)
        p.add(QString::number(i).rightJustified(3, '0') + QString(97, 'w'));
    const std::vector<DataFrame> sent = allSegments(p, true);
    const std::vector<int> plan = planFrames(p.job.chain, p.job.settings, p.job.settings.density, true);
    ASSERT_EQ(plan.size(), sent.size());
    ASSERT_EQ(plan.size(), 4u);
    for (std::size_t i = 0; i < plan.size(); ++i)
        EXPECT_EQ(plan[i], sent[i].bytes.size()) << i;

    // After the last frame: 5 s, or until its bytes have left at 960 a
    // second when that takes longer.
    EXPECT_EQ(finishWaitMs(100), 5000);
    EXPECT_EQ(finishWaitMs(4800), 5000);
    EXPECT_EQ(finishWaitMs(4801), 5002);
    EXPECT_EQ(finishWaitMs(8192), 8534);
    const int end = finishWaitMs(plan.back());
    ASSERT_GT(end, 5000) << "the plan's last frame is long";

    // After the first frame: the 12102 ms arming, then 11102 for each further
    // automatic segment, each followed by 2300 ms of exchange; the end wait.
    EXPECT_EQ(printTimeLeftMs(plan, 1, true), 12102 + 2300 + 2 * (11102 + 2300) + end);
    EXPECT_EQ(printTimeLeftMs(plan, 3, true), 11102 + 2300 + end);
    EXPECT_EQ(printTimeLeftMs(plan, 4, true), end);
    // Continue by hand: 12102 every time, and the status query before each frame.
    EXPECT_EQ(printTimeLeftMs(plan, 1, false), 3 * (12102 + 4100) + end);
    // A frame that takes longer on the line than the arming sets the pace.
    EXPECT_EQ(printTimeLeftMs({19200, 100}, 1, true), 20000 + 2300 + 5000);
    EXPECT_EQ(printTimeLeftMs(plan, 0, true), 0);
}
