// Workbooks and number formats made to hurt the readers: each case is one
// that fuzzing or a review of the readers turned up.
#include "common/Files.h"
#include "common/Workbooks.h"
#include "files/NumberFormat.h"
#include "files/TableReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

using namespace vt;
using namespace vt::test;

namespace {

std::string shown(const char *code, double value) { return NumberFormat(QString::fromUtf8(code)).number(value).toStdString(); }

// An .xlsx of one sheet whose cells are given as sheetData XML, with the styles given.
QByteArray workbook(const QByteArray &styles, const QByteArray &cells)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.xlsx"));
    writeZip(path, {
        {QStringLiteral("xl/workbook.xml"), "<workbook><sheets><sheet name=\"S\" id=\"a\"/></sheets></workbook>"},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "<Relationships><Relationship Id=\"a\" Target=\"s.xml\"/>"
         "<Relationship Id=\"b\" Type=\"x/styles\" Target=\"st.xml\"/></Relationships>"},
        {QStringLiteral("xl/st.xml"), styles},
        {QStringLiteral("xl/s.xml"), "<worksheet><sheetData>" + cells + "</sheetData></worksheet>"},
    });
    return readAll(path);
}

std::vector<QStringList> rows(const QByteArray &bytes)
{
    std::vector<QStringList> rows;
    QString problem;
    std::unique_ptr<TableReader> reader = openTable(bytes, TableFormat::Xlsx, {}, problem);
    EXPECT_TRUE(reader) << problem.toStdString();
    if (reader)
        EXPECT_TRUE(reader->readSheet(0, [&](const TableRow &row) {
            rows.push_back(row.cells);
            return true;
        })) << reader->problem().toStdString();
    return rows;
}

} // namespace

// Fractions of numbers beyond a 64-bit integer: digits, not an overflow.
TEST(HostileTables, FractionsOfHugeNumbers)
{
    EXPECT_EQ(shown("# ?/?", 1e20), "100000000000000000000    ");
    EXPECT_EQ(shown("?/?", 1e20), "100000000000000000000/1");
    EXPECT_EQ(shown("0/4", 2.5e19), "100000000000000000000/4");
    EXPECT_EQ(shown("0/999999999999999999", 1e300), "1E+300"); // past a double
    EXPECT_EQ(shown("# ?/?", 3.25), "3 1/4"); // as before
}

// Twenty '?' under a fraction would once overflow the largest denominator
// tried; a '0' after the denominator's literal read past its digits.
TEST(HostileTables, FractionPlaceholdersBeyondTheCountedOnes)
{
    EXPECT_EQ(QString::fromStdString(shown("?/???????????????????", 0.3)).remove(u' ').toStdString(), "3/10");
    EXPECT_EQ(shown("0/0 \"x\" 0", 0.25), "1/4 x 0");
}

// A code ending in '\' escapes nothing: its last section is still read.
TEST(HostileTables, BackslashAtTheEndOfACode)
{
    EXPECT_EQ(shown("0.0\\", 5), "5.0");
    EXPECT_EQ(shown("0;0.0\\", -5), "5.0");
}

#ifdef Q_OS_LINUX
// A styles part naming one long format code in thousands of cell formats
// keeps one parsed copy of it, not one per cell format.
TEST(HostileTables, ManyCellFormatsShareOneParsedCode)
{
    const QByteArray code(500, '0');
    const QByteArray styles = "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"" + code
                              + "\"/></numFmts><cellXfs>" + QByteArray("<xf numFmtId=\"164\"/>").repeated(20000)
                              + "</cellXfs></styleSheet>";
    const QByteArray bytes = workbook(styles, "<row><c s=\"19999\"><v>42</v></c></row>");
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const std::vector<QStringList> read = rows(bytes);
    getrusage(RUSAGE_SELF, &after);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].value(0), QString(498, u'0') + QStringLiteral("42"));
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024); // kB; a copy each took 300 MB
}
#endif
