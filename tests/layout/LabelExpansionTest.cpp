#include "layout/LabelExpansion.h"
#include "layout/PageLayout.h"
#include "model/Job.h"

#include <gtest/gtest.h>

using namespace vt;

namespace {

// A job built from cell texts, with the printer-side fields as the page
// build leaves them.
struct Pages {
    Job job;

    PageRecord &add(const QString &line1, const QString &line2 = {}, int repeat = 1)
    {
        const int row = job.model.rowCount();
        PageRecord *page = job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, line1);
        job.model.setCellText(row, ColLine2, line2);
        setPageRepeat(*page, repeat);
        return *page;
    }
    PageRecord &numbered(QChar mark, const char *start, const char *end, int repeat = 1,
                         const QString &before = QStringLiteral("W"))
    {
        PageRecord &page = add(before + mark, {}, repeat);
        setAscii(page.serialStart, start);
        setAscii(page.serialEnd, end);
        return page;
    }
    JobLabels labels()
    {
        buildPrintRecords(job, false);
        return JobLabels(job.chain);
    }
};

QStringList all(const JobLabels &labels)
{
    QStringList out;
    for (std::int64_t i = 0; i < labels.count(); ++i)
        out << labels.text(i);
    return out;
}

const QChar kDecimal(mark::numberDecimal);
const QChar kPadded(mark::numberPadded);
const QChar kUpper(mark::numberUpper);
const QChar kLower(mark::numberLower);

} // namespace

TEST(LabelExpansion, RunsCountTowardsTheEndAndRepeatFromTheStart)
{
    Pages p;
    p.numbered(kDecimal, "8", "11");
    p.numbered(kPadded, "8", "11");
    p.numbered(kDecimal, "5", "2");
    p.numbered(kUpper, "A", "C", 2);
    p.numbered(kLower, "c", "a", 1, QStringLiteral("  x-"));
    p.numbered(kPadded, "7", "7", 3, QString());
    EXPECT_EQ(all(p.labels()), QStringList({"W8", "W9", "W10", "W11",          //
                                            "W008", "W009", "W010", "W011",    //
                                            "W5", "W4", "W3", "W2",            //
                                            "WA", "WB", "WC", "WA", "WB", "WC", //
                                            "x-c", "x-b", "x-a",               // blanks stripped first
                                            "007", "007", "007"}));
}

TEST(LabelExpansion, SkipsUncheckedAndEmptyPagesAndKeepsBothLines)
{
    Pages p;
    p.add("A", {}, 2);
    p.add("hidden", {}, 5);
    p.job.model.setChecked(1, false);
    p.add({}, {}, 3);
    // The number may stand in the second line; a superscript mark stays
    // as its character.
    PageRecord &two = p.add(QStringLiteral("N") + QChar(mark::superscript), QStringLiteral("L") + kUpper + "!");
    setAscii(two.serialStart, "y");
    setAscii(two.serialEnd, "z");
    const JobLabels labels = p.labels();
    EXPECT_EQ(labels.pageCount(), 4);
    EXPECT_EQ(labels.page(1).count(), 0);
    EXPECT_EQ(labels.page(2).count(), 0);
    const QString sep(QChar(ctl::lineSeparator));
    EXPECT_EQ(all(labels), QStringList({"A", "A", "N" + QString(QChar(mark::superscript)) + sep + "Ly!",
                                        "N" + QString(QChar(mark::superscript)) + sep + "Lz!"}));
    EXPECT_TRUE(labels.page(3).twoLines());
    const LabelLines lines = splitLabel(labels.text(3));
    EXPECT_EQ(lines.line2, "Lz!");
}

TEST(LabelExpansion, FindsAnyLabelOfTheLargestJobDirectly)
{
    Pages p;
    for (int i = 0; i < kMaxPages; ++i)
        p.numbered(kPadded, "0", "999", kMaxRepeat, QStringLiteral("P%1-").arg(i));
    const JobLabels labels = p.labels();
    ASSERT_EQ(labels.count(), 20'000'000);
    EXPECT_EQ(labels.text(0), "P0-000");
    EXPECT_EQ(labels.text(99'999), "P0-999");
    EXPECT_EQ(labels.text(100'000), "P1-000");
    EXPECT_EQ(labels.text(12'345'678), "P123-678");
    EXPECT_EQ(labels.text(19'999'999), "P199-999");
    EXPECT_EQ(labels.locate(19'999'999).label, 99'999);
    EXPECT_EQ(labels.locate(20'000'000).page, -1);
    EXPECT_EQ(labels.locate(-1).page, -1);
}
