#include "commands/ImportProfiles.h"
#include "commands/MarkArrangement.h"
#include "common/Workbooks.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;

namespace {

// "line1/line2 xREPEAT END [rows]" of each kept page.
QStringList shown(const TableContent &c)
{
    QStringList out;
    for (std::size_t i = 0; i < c.pages.size(); ++i) {
        QStringList rows;
        for (const qint64 r : c.pageOrigins[i].rows)
            rows << QString::number(r);
        const WireEnd end = c.pageOrigins[i].end;
        out << QStringLiteral("%1/%2 x%3 %4[%5]")
                   .arg(c.pages[i].line1, c.pages[i].line2)
                   .arg(c.pages[i].repeat)
                   .arg(end == WireEnd::Near ? "near " : end == WireEnd::Far ? "far " : end == WireEnd::Both ? "both " : "",
                        rows.join(','));
    }
    return out;
}

} // namespace

// From, To, Wire and a count per row, as libxlsxwriter writes them: each row
// gives a page for each end in the order chosen, identical marks become one
// page at the place of the first with the counts added (over 100: pages of
// 100 and the rest), natural order sorts them, and the 200-page limit counts
// the pages so made.
TEST(WireEnds, PagesForEachEndMergedSortedThenLimited)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wires.xlsx"));
    ASSERT_TRUE(test::writeWorkbook(path, [](lxw_workbook *book) {
        lxw_worksheet *s = workbook_add_worksheet(book, "Wires");
        const char *rows[][4] = {{"From", "To", "Wire", "Count"}, {"-X1:10", "-K10:A1", "12", "1"},
                                 {"-X1:2", "-K3:A1", "7", "60"},   {"-X1:2", "", "", "70"},
                                 {"-X1:2", "-K3:A1", "7", "1"}};
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c)
                test::cell(s, r, c, rows[r][c]);
    }));
    TableChoice choice;
    choice.header = true;
    choice.line1 = QStringLiteral("{From}");
    choice.line2 = QStringLiteral("W{Wire}");
    choice.repeat = choice.farRepeat = QStringLiteral("Count");
    choice.ends = TableChoice::Ends::Each;
    choice.farLine1 = QStringLiteral("{To}");
    choice.farLine2 = QStringLiteral("W{Wire}");

    TableContent c = readTable(path, choice);
    ASSERT_TRUE(c.problem.isEmpty()) << c.problem.toStdString();
    EXPECT_EQ(shown(c), QStringList({"-X1:10/W12 x1 near [2]", "-K10:A1/W12 x1 far [2]", "-X1:2/W7 x60 near [3]",
                                     "-K3:A1/W7 x60 far [3]", "-X1:2/W x70 near [4]", "-X1:2/W7 x1 near [5]",
                                     "-K3:A1/W7 x1 far [5]"}));
    // Row 4 has no far end: refused for that end alone, and said so.
    EXPECT_EQ(describeRefusals(c), QStringLiteral("Row 4, far end: empty"));

    choice.order = TableChoice::Order::ByEnd;
    choice.merge = true;
    c = readTable(path, choice);
    EXPECT_EQ(shown(c), QStringList({"-X1:10/W12 x1 near [2]", "-X1:2/W7 x61 near [3,5]", "-X1:2/W x70 near [4]",
                                     "-K10:A1/W12 x1 far [2]", "-K3:A1/W7 x61 far [3,5]"}));

    // The same mark at both ends merges too: 262 marks are 100, 100 and 62.
    choice.farLine1 = QStringLiteral("{From}");
    choice.line2 = choice.farLine2 = QString();
    choice.sort = TableChoice::Sort::Natural;
    c = readTable(path, choice, 4);
    EXPECT_EQ(shown(c), QStringList({"-X1:2/ x100 both [3,4,5,3,4,5]", "-X1:2/ x100 both [3,4,5,3,4,5]",
                                     "-X1:2/ x62 both [3,4,5,3,4,5]", "-X1:10/ x2 both [2,2]"}));
    EXPECT_EQ(c.beyondLimit, 0);
    c = readTable(path, choice, 3);
    EXPECT_EQ(c.usable, 4);
    EXPECT_EQ(c.beyondLimit, 1);
    EXPECT_EQ(describeRefusals(c), QStringLiteral("Row 2, both ends: beyond the 200-page limit"));
}

// Digits by their value, the text between by the language's collation:
// Chinese in pinyin order (李 li before 张 zhang), whatever the machine's locale.
TEST(WireEnds, NaturalOrderOfMarks)
{
    const NaturalOrder english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_LT(english.compare(QStringLiteral("-X1:2"), QStringLiteral("-X1:10")), 0);
    EXPECT_LT(english.compare(QStringLiteral("-K3"), QStringLiteral("-K10")), 0);
    EXPECT_LT(english.compare(QStringLiteral("-K10"), QStringLiteral("-X1")), 0);
    EXPECT_EQ(english.compare(QStringLiteral("W007"), QStringLiteral("W7")), 0);
    EXPECT_LT(english.compare(QStringLiteral("W7"), QStringLiteral("W7a")), 0);
    const NaturalOrder chinese(QLocale(QLocale::Chinese, QLocale::China));
#ifndef Q_OS_WIN // the Windows build is tested under Wine, whose collation knows no pinyin
    EXPECT_LT(chinese.compare(QStringLiteral("李2"), QStringLiteral("张1")), 0);
#endif
    EXPECT_LT(chinese.compare(QStringLiteral("张2"), QStringLiteral("张10")), 0);
}

// A saved choice comes back whole from a file a person can read, replacing
// one of its name; a file that cannot be read is neither used nor
// overwritten. A profile names what another workbook lacks.
TEST(WireEnds, ProfilesKeepTheWholeChoice)
{
    QTemporaryDir config;
    qputenv("VT350_CONFIG_DIR", config.path().toLocal8Bit());
    TableChoice c;
    c.sheetName = QStringLiteral("线号");
    c.header = true;
    c.line1 = QStringLiteral("{From}");
    c.ends = TableChoice::Ends::Each;
    c.farLine1 = QStringLiteral("{To}");
    c.farRepeat = QString();
    c.order = TableChoice::Order::ByEnd;
    c.merge = c.split = true;
    c.sort = TableChoice::Sort::Natural;
    c.options.separator = ';';
    ASSERT_TRUE(ImportProfiles::save({QStringLiteral("A"), TableChoice{}}));
    ASSERT_TRUE(ImportProfiles::save({QStringLiteral("B"), TableChoice{}}));
    ASSERT_TRUE(ImportProfiles::save({QStringLiteral("A"), c}));
    const std::vector<ImportProfile> back = ImportProfiles::load();
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, QStringLiteral("A"));
    EXPECT_EQ(ImportProfiles::toJson(back[0]), ImportProfiles::toJson({QStringLiteral("A"), c}));

    QFile file(ImportProfiles::path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    EXPECT_TRUE(text.contains("\"farLine1\": \"{To}\"")) << text.constData();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.left(text.size() / 2));
    file.close();
    QString problem;
    EXPECT_TRUE(ImportProfiles::load(&problem).empty());
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_FALSE(ImportProfiles::save({QStringLiteral("C"), c}));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text.left(text.size() / 2));
    qunsetenv("VT350_CONFIG_DIR");

    // Columns B and A by letter are there; C is past the last, To is no header.
    EXPECT_EQ(missingColumns(c, {QStringLiteral("From"), QStringLiteral("Wire")}, 2),
              QStringList({QStringLiteral("C"), QStringLiteral("To")}));
}
