#include "files/ReadAhead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>

using namespace vt;

namespace {

// Rows "1", "2", ... up to `rows`; fails after `failAfter` rows, or throws there.
class CountingReader : public TableReader {
public:
    qint64 rows = 100000;
    qint64 failAfter = -1;
    bool throwAtFailure = false;
    std::atomic<qint64> given{0};

    QStringList sheetNames() const override { return {QStringLiteral("Sheet1")}; }
    bool readSheet(int, const RowSink &sink) override
    {
        for (qint64 i = 1; i <= rows; ++i) {
            if (i - 1 == failAfter) {
                if (throwAtFailure)
                    throw std::bad_alloc();
                return fail(QStringLiteral("the workbook is damaged or cut short"));
            }
            given = i;
            if (!sink(TableRow{i, {QString::number(i)}}))
                return true;
        }
        return true;
    }
};

} // namespace

TEST(ReadAhead, RowsInOrderAndAStopStopsTheReadingSoon)
{
    CountingReader reader;
    qint64 expected = 1;
    bool inOrder = true;
    EXPECT_TRUE(readSheetAhead(reader, 0, [&](const TableRow &row) {
        inOrder = inOrder && row.number == expected && row.cells == QStringList{QString::number(expected)};
        return ++expected <= 50000;
    }));
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, 50001);
    // A few batches ahead at most, not the rest of the sheet.
    EXPECT_LT(reader.given.load(), 50000 + 5000);
}

TEST(ReadAhead, FaultsReachTheCallerUnlessTheTakerHadStopped)
{
    CountingReader damaged;
    damaged.failAfter = 3000;
    qint64 taken = 0;
    EXPECT_FALSE(readSheetAhead(damaged, 0, [&](const TableRow &) { return ++taken > 0; }));
    EXPECT_EQ(taken, 3000);
    EXPECT_EQ(damaged.problem(), QStringLiteral("the workbook is damaged or cut short"));

    // The taker stopped at row 10: the fault lies in rows it never wanted.
    CountingReader later;
    later.failAfter = 1000;
    EXPECT_TRUE(readSheetAhead(later, 0, [](const TableRow &row) { return row.number < 10; }));

    CountingReader throwing;
    throwing.failAfter = 700;
    throwing.throwAtFailure = true;
    EXPECT_THROW(readSheetAhead(throwing, 0, [](const TableRow &) { return true; }), std::bad_alloc);
    // The taker's own exception leaves no thread behind blocked on a full queue.
    CountingReader endless;
    EXPECT_THROW(readSheetAhead(endless, 0, [](const TableRow &row) -> bool {
                     if (row.number == 5)
                         throw std::runtime_error("taker failed");
                     return true;
                 }),
                 std::runtime_error);
}
