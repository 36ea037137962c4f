// .xlsx cells read as the spreadsheet shows them, checked against what
// LibreOffice shows of the same workbooks (its own .csv export, "as shown").
#include "common/Files.h"
#include "common/Workbooks.h"
#include "files/NumberFormat.h"
#include "files/TableReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using namespace vt::test;

namespace {

const QString kFixtures = QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/");

struct Sheet {
    std::vector<QStringList> rows;
    QString problem;
};

Sheet readSheet(const QString &path, TableFormat format)
{
    Sheet s;
    std::unique_ptr<TableReader> reader = openTable(readAll(path), format, {}, s.problem);
    if (reader && !reader->readSheet(0, [&](const TableRow &row) {
            QStringList cells = row.cells;
            while (!cells.isEmpty() && cells.back().isEmpty()) // the export pads every line
                cells.removeLast();
            s.rows.push_back(cells);
            return true;
        }))
        s.problem = reader->problem();
    return s;
}

std::vector<std::pair<QString, QByteArray>> replaced(std::vector<std::pair<QString, QByteArray>> members,
                                                     const char *name, const QByteArray &from, const QByteArray &to)
{
    for (auto &[member, bytes] : members)
        if (member == QLatin1String(name))
            bytes.replace(from, to);
    return members;
}

} // namespace

// Zero-padded wire numbers, fixed decimals rounded as the spreadsheet
// rounds (2.675 to 2.68), percent, thousands, scientific, text sections,
// currency, colours, conditions, dates and times in both date systems,
// fractions, built-in ids; then the same cells in a package stored as other
// programs store it (parts in other case, '\' between folders, URI targets).
TEST(XlsxCells, ShownAsLibreOfficeShowsThem)
{
    const std::pair<const char *, const char *> books[] = {
        {"numformats.xlsx", "numformats.csv"},
        {"numcodes.xlsx", "numcodes.csv"},
        {"numformats-1904.xlsx", "numformats-1904.csv"},
        {"numformats-package.xlsx", "numformats.csv"},
    };
    for (const auto &[book, shown] : books) {
        SCOPED_TRACE(book);
        const Sheet ours = readSheet(kFixtures + QLatin1String(book), TableFormat::Xlsx);
        const Sheet theirs = readSheet(kFixtures + QLatin1String(shown), TableFormat::Text);
        ASSERT_TRUE(ours.problem.isEmpty()) << ours.problem.toStdString();
        ASSERT_EQ(ours.rows.size(), theirs.rows.size());
        for (std::size_t r = 0; r < ours.rows.size(); ++r)
            for (qsizetype c = 0; c < std::max(ours.rows[r].size(), theirs.rows[r].size()); ++c)
                EXPECT_EQ(ours.rows[r].value(c).toStdString(), theirs.rows[r].value(c).toStdString())
                    << "row " << r + 1 << ", column " << columnLetters(static_cast<int>(c)).toStdString();
    }
}

// What LibreOffice never writes but other programs do: escaped characters
// in strings, a shared-string cell without an index, "true", a column past
// XFD.
TEST(XlsxCells, StringsAndReferencesAsOtherProgramsWriteThem)
{
    QTemporaryDir dir;
    auto members = zipMembers(kFixtures + "wirelist.xlsx");
    members = replaced(members, "xl/sharedStrings.xml", "<t xml:space=\"preserve\">Source</t>",
                       "<t xml:space=\"preserve\">W1_x000D_W2 _x005F_x000D_ _x00e9_</t>");
    members = replaced(members, "xl/worksheets/sheet1.xml", "<c r=\"E1\" s=\"0\" t=\"s\"><v>3</v></c>",
                       "<c r=\"E1\" t=\"s\"/><c r=\"F1\" t=\"s\"><v>two</v></c><c r=\"G1\" t=\"b\"><v>true</v></c>"
                       "<c r=\"H1\" t=\"inlineStr\"><is><t>a_x000A_b</t></is></c>");
    const QString path = dir.filePath(QStringLiteral("escaped.xlsx"));
    ASSERT_TRUE(writeZip(path, members));
    const Sheet s = readSheet(path, TableFormat::Xlsx);
    ASSERT_TRUE(s.problem.isEmpty()) << s.problem.toStdString();
    ASSERT_FALSE(s.rows.empty());
    EXPECT_EQ(s.rows[0], QStringList({QStringLiteral("W1\rW2 _x000D_ é"), QStringLiteral("Target"), QString(),
                                      QStringLiteral("Wire"), QString(), QString(), QStringLiteral("TRUE"),
                                      QStringLiteral("a\nb")}));

    const QString beyond = dir.filePath(QStringLiteral("beyond.xlsx"));
    ASSERT_TRUE(writeZip(beyond, replaced(zipMembers(kFixtures + "wirelist.xlsx"), "xl/worksheets/sheet1.xml",
                                          "<c r=\"E1\"", "<c r=\"XFE1\"")));
    const Sheet past = readSheet(beyond, TableFormat::Xlsx);
    EXPECT_EQ(past.problem.toStdString(), "the workbook is damaged or cut short");
    EXPECT_TRUE(past.rows.empty());
}

// What the workbooks above do not reach: the built-in ids of other locales'
// programs, the 1900 leap day the spreadsheet counts, times that round into
// the next day, a text section, escapes and blanks inside a code.
TEST(XlsxCells, FormatCodesEdgeCases)
{
    const auto shown = [](const QString &code, double value, bool date1904 = false) {
        return NumberFormat(code).number(value, date1904).toStdString();
    };
    EXPECT_EQ(shown(builtinNumberFormat(14), 45000), "3/15/2023");
    EXPECT_EQ(shown(builtinNumberFormat(22), 45000.5), "3/15/2023 12:00");
    EXPECT_EQ(shown(builtinNumberFormat(4), -1234.567), "-1,234.57");
    EXPECT_EQ(shown(builtinNumberFormat(10), 0.12345), "12.35%");
    EXPECT_EQ(shown(builtinNumberFormat(30), 7), "7"); // an East Asian date id: General here
    EXPECT_EQ(shown(QStringLiteral("yyyy-mm-dd"), 59), "1900-02-28");
    EXPECT_EQ(shown(QStringLiteral("yyyy-mm-dd"), 60), "1900-02-29");
    EXPECT_EQ(shown(QStringLiteral("yyyy-mm-dd"), 61), "1900-03-01");
    EXPECT_EQ(shown(QStringLiteral("yyyy-mm-dd"), 0, true), "1904-01-01");
    EXPECT_EQ(shown(QStringLiteral("yyyy-mm-dd hh:mm:ss"), 45000.999999999), "2023-03-16 00:00:00");
    EXPECT_EQ(shown(QStringLiteral("yyyy-mm-dd"), -1), "-1");
    EXPECT_EQ(shown(QStringLiteral("[$€-407] #,##0.00"), 1234.5), "€ 1,234.50");
    EXPECT_EQ(shown(QStringLiteral("\\W\\-0000_)"), 42), "W-0042 ");
    EXPECT_EQ(shown(QStringLiteral("# ?/8"), 2.3), "2 2/8");
    EXPECT_EQ(shown(QStringLiteral("0.00"), 1e-7), "0.00");
    EXPECT_EQ(shown(QStringLiteral("0.00"), -1e-7), "0.00");
    EXPECT_EQ(shown(QStringLiteral("0.00"), 0.125), "0.13");
    // General keeps 15 digits, however the value was reached.
    EXPECT_EQ(generalNumberText(0.1 + 0.2).toStdString(), "0.3");
    EXPECT_EQ(generalNumberText(-1.0 / 3).toStdString(), "-0.333333333333333");
    const NumberFormat sections(QStringLiteral("0;-0;\"none\";\"cable \"@"));
    EXPECT_EQ(sections.number(0).toStdString(), "none");
    EXPECT_EQ(sections.text(QStringLiteral("W1")).toStdString(), "cable W1");
    EXPECT_EQ(NumberFormat(QStringLiteral("0.00")).text(QStringLiteral("W1")).toStdString(), "W1");
}
