#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "commands/ProgressView.h"
#include "common/ScriptedOperator.h"
#include "files/CsvImport.h"
#include "model/CodePage.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

class RecordingProgress : public ProgressView {
public:
    QStringList calls;
    bool visible = false;
    void setText(const QString &text) override { calls << "text:" + text; }
    void setManualWait(bool on) override { calls << QStringLiteral("manual:%1").arg(on); }
    void setAutoWait(bool on) override { calls << QStringLiteral("auto:%1").arg(on); }
    int waitState() const override { return 0; }
    void clearWaitState() override { calls << "clear"; }
    void show() override { calls << "show"; visible = true; }
    void hide() override { calls << "hide"; visible = false; }
};

struct Session {
    QTemporaryDir dir;
    Job job;
    ScriptedOperator op;
    RecordingProgress progress;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages, &progress};

    Session() { pages.add(); }

    QString file(const QByteArray &bytes, const QString &name = QStringLiteral("in.csv"))
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QString cell(int row, int column) const { return job.model.cellText(row, column); }
};

QByteArray repeated(char c, int n) { return QByteArray(n, c); }

} // namespace

TEST(CsvImport, LinesBecomePagesAsTheFieldsSay)
{
    Session s;
    s.job.model.setCellText(0, ColLine1, QStringLiteral("old page"));
    const QString path = s.file("A1;B2;5\r\n"
                                "A1,B2,5\n"
                                "A1;;7\n"
                                ";;\n"
                                "\n"
                                "A1;B2;0\n"
                                "A1;B2;250\n"
                                "A1;B2;12x\n"
                                "A1;B2;7;x\n"
                                "\"a;b\";c\n"
                                " lead ;trail ; \t9\n"
                                "x;;-4\n"
                                "only;second\n"
                                "last line");
    ASSERT_TRUE(s.documents.importPath(path));
    EXPECT_TRUE(s.op.messages.empty());
    ASSERT_EQ(s.job.pageCount(), 12);
    ASSERT_EQ(s.job.chain.size(), 12);

    const struct {
        const char *line1, *line2;
        int repeat, fontSize;
    } expected[] = {
        {"A1", "B2", 5, 3},        {"A1,B2,5", "", 1, 4},   {"A1", "", 7, 4},         {"A1", "B2", 1, 3},
        {"A1", "B2", 100, 3},      {"A1", "B2", 12, 3},     {"A1", "B2", 7, 3},       {"\"a", "b\"", 1, 3},
        {" lead ", "trail ", 9, 3}, {"x", "", 1, 4},         {"only", "second", 1, 3}, {"last line", "", 1, 4},
    };
    for (int row = 0; row < 12; ++row) {
        SCOPED_TRACE(row);
        const auto &e = expected[row];
        EXPECT_EQ(s.cell(row, ColLine1), e.line1);
        EXPECT_EQ(s.cell(row, ColLine2), e.line2);
        EXPECT_EQ(s.cell(row, ColRepeat), QString::number(e.repeat));
        EXPECT_EQ(s.cell(row, ColFontSize), QString::number(e.fontSize));
        const PageRecord &page = s.job.chain[row];
        EXPECT_EQ(page.repeat, e.repeat);
        EXPECT_EQ(asciiView(page.repeatText), std::to_string(e.repeat));
        EXPECT_EQ(page.fontSize, e.fontSize);
        EXPECT_EQ(page.twoLines, *e.line2 ? 1 : 0);
    }
    EXPECT_EQ(asciiView(s.job.chain[4].repeatDigits), "0100");
    // The page build has run: the record holds the joined text.
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(s.job.chain[0].text.data())), "A1\x1A" "B2");
    EXPECT_EQ(s.job.currentIndex, 0);
    EXPECT_TRUE(s.job.modified);
    EXPECT_EQ(s.progress.calls,
              QStringList({"manual:0", "text:", "show", "text:Importing data,Please wait...", "hide"}));
}

TEST(CsvImport, TextLimitCountsFileBytesAndTheSeparator)
{
    EXPECT_EQ(readCsv(repeated('a', 100) + "\n").pages.size(), 1u);
    EXPECT_EQ(readCsv(repeated('a', 101) + "\n").rejectedRows, 1);
    // Two lines take one byte more: their separator is part of the page text.
    EXPECT_EQ(readCsv(repeated('a', 60) + ";" + repeated('b', 39)).pages.size(), 1u);
    EXPECT_EQ(readCsv(repeated('a', 60) + ";" + repeated('b', 40)).rejectedRows, 1);
    EXPECT_EQ(readCsv(repeated('a', 60) + ";" + repeated('b', 41)).rejectedRows, 1);

    // Code page 936: 50 two-byte characters are 100 bytes.
    const QString fifty = QString(50, QChar(0x7535));
    const CsvContent gbk = readCsv(toAnsi(fifty) + "\n" + toAnsi(fifty + QChar(0x7535)) + "\n");
    EXPECT_FALSE(gbk.utf8);
    ASSERT_EQ(gbk.pages.size(), 1u);
    EXPECT_EQ(gbk.pages[0].line1, fifty);
    EXPECT_EQ(gbk.rejectedRows, 1);
    // The same text as UTF-8 (150 bytes in the file) still fits the page.
    const CsvContent utf8 = readCsv("\xEF\xBB\xBF" + fifty.toUtf8() + "\n" + (fifty + QChar(0x7535)).toUtf8());
    EXPECT_TRUE(utf8.utf8);
    ASSERT_EQ(utf8.pages.size(), 1u);
    EXPECT_EQ(utf8.pages[0].line1, fifty) << "the byte-order mark is not text";
    EXPECT_EQ(utf8.rejectedRows, 1);

    // The refused lines are counted in one message after the import.
    Session s;
    s.op.fileNames = {s.file(repeated('a', 101) + "\nok\n" + repeated('c', 60) + ";" + repeated('d', 41) + "\n")};
    s.documents.importCsv();
    EXPECT_EQ(s.op.messageTexts(), QStringList({"Please confirm that the input file have saved as .CSV file.",
                                                "Have 2 Pages exceeds the limits,Page length is 100."}));
    EXPECT_EQ(s.documents.rejectedRows(), 2);
    EXPECT_EQ(s.job.pageCount(), 1);
    EXPECT_EQ(s.cell(0, ColLine1), "ok");
}

// A character the page cannot hold refuses its line, as an over-long text
// does, in a UTF-8 file and in a code-page-936 file with a broken sequence.
TEST(CsvImport, LinesWithUnprintableCharactersAreRefusedAndNamed)
{
    Session s;
    const QString path = s.file(QStringLiteral("X1²;A✓B;1\nok;电\nŁódź;;3\n").toUtf8()
                                + repeated('a', 101) + "\n");
    ASSERT_TRUE(s.documents.importPath(path));
    ASSERT_EQ(s.job.pageCount(), 1);
    EXPECT_EQ(s.cell(0, ColLine1), "ok");
    ASSERT_EQ(s.op.messages.size(), 2u);
    EXPECT_EQ(s.op.messages[0].text, "Have 1 Pages exceeds the limits,Page length is 100.");
    EXPECT_EQ(s.op.messages[1].text, "2 lines hold characters that cannot be printed; they were not imported.");
    EXPECT_EQ(s.op.messages[1].details,
              QStringLiteral("Line 1: X1²: \"²\" (U+00B2) cannot be printed; "
                             "A✓B: \"✓\" (U+2713) cannot be printed\n"
                             "Line 3: Łódź: \"Ł\" (U+0141), \"ź\" (U+017A) cannot be printed"));

    // Read as code page 936, a broken byte sequence is not printed as '?' either.
    const CsvContent gbk = readCsv(toAnsi(u"电") + "\nA\x81;x\n");
    EXPECT_FALSE(gbk.utf8);
    ASSERT_EQ(gbk.pages.size(), 1u);
    EXPECT_EQ(gbk.unprintableRows, 1);
    EXPECT_EQ(describeRefusedLines(gbk, RefusedLine::Unprintable),
              QStringLiteral("Line 2: A\uFFFD: \"\uFFFD\" (U+FFFD) cannot be printed"));
}

TEST(CsvImport, EncodingIsUtf8OnlyWhenTheWholeFileIsValid)
{
    const QByteArray utf8 = QStringLiteral("电缆;é").toUtf8();
    CsvContent c = readCsv(utf8);
    EXPECT_TRUE(c.utf8);
    ASSERT_EQ(c.pages.size(), 1u);
    EXPECT_EQ(c.pages[0].line1, QStringLiteral("电缆"));
    EXPECT_EQ(c.pages[0].line2, QStringLiteral("é"));

    // One invalid sequence at the very end makes the whole file code page 936.
    c = readCsv(toAnsi(QStringLiteral("电缆")) + "\nabc\n" + QByteArray("\xB5\xE7"));
    EXPECT_FALSE(c.utf8);
    ASSERT_EQ(c.pages.size(), 3u);
    EXPECT_EQ(c.pages[0].line1, QStringLiteral("电缆"));
    EXPECT_EQ(c.pages[2].line1, QStringLiteral("电"));

    // Only the file's first U+FEFF is a byte-order mark; a second is text.
    c = readCsv("\xEF\xBB\xBF\xEF\xBB\xBF\n");
    ASSERT_EQ(c.pages.size(), 1u);
    EXPECT_EQ(c.pages[0].line1, QString(QChar(0xFEFF)));

    EXPECT_TRUE(isUtf8("plain"));
    EXPECT_FALSE(isUtf8("\xC0\x80"));          // overlong
    EXPECT_FALSE(isUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(isUtf8("\xE7\x94"));          // cut short
    EXPECT_TRUE(isUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
}

TEST(CsvImport, RepeatFieldReadsLikeStrtol)
{
    EXPECT_EQ(repeatFieldValue(""), 1);
    EXPECT_EQ(repeatFieldValue("12x"), 12);
    EXPECT_EQ(repeatFieldValue("  \t+7"), 7);
    EXPECT_EQ(repeatFieldValue("-3"), -3);
    EXPECT_EQ(repeatFieldValue("x12"), 0);
    EXPECT_EQ(repeatFieldValue("- 5"), 0);
    EXPECT_GT(repeatFieldValue("99999999999999999999999"), 100);
    EXPECT_LT(repeatFieldValue("-99999999999999999999999"), 1);
}

TEST(CsvImport, NothingUsableLeavesTheJobAsItWas)
{
    Session s;
    s.job.model.setCellText(0, ColLine1, QStringLiteral("keep"));
    EXPECT_FALSE(s.documents.importPath(s.file(";;\n\n" + repeated('z', 120) + "\n;\n")));
    EXPECT_EQ(s.job.pageCount(), 1);
    EXPECT_EQ(s.cell(0, ColLine1), "keep");
    ASSERT_EQ(s.op.messages.size(), 2u);
    EXPECT_TRUE(s.op.messages[0].text.contains("in.csv"));
    EXPECT_EQ(s.op.messages[1].text, "Have 1 Pages exceeds the limits,Page length is 100.");
    EXPECT_FALSE(s.progress.visible);

    Session m;
    EXPECT_FALSE(m.documents.importPath(m.dir.filePath("missing.csv")));
    EXPECT_EQ(m.op.messageTexts(), QStringList({"Can not open file!"}));
    EXPECT_TRUE(m.progress.calls.isEmpty());
    EXPECT_EQ(m.job.pageCount(), 1);

    // Cancelling the file dialog: only the confirmation was shown.
    Session c;
    c.job.model.setCellText(0, ColLine1, QStringLiteral("keep"));
    c.documents.importCsv();
    EXPECT_EQ(c.op.messageTexts(), QStringList({"Please confirm that the input file have saved as .CSV file."}));
    EXPECT_EQ(c.cell(0, ColLine1), "keep");
}

TEST(CsvImport, LinesBeyondTwoHundredPagesAreCountedInOneMessage)
{
    QByteArray bytes;
    for (int i = 1; i <= 250; ++i) {
        bytes += "line" + QByteArray::number(i) + "\n";
        if (i == 220)
            bytes += repeated('w', 101) + "\n";
    }
    Session s;
    ASSERT_TRUE(s.documents.importPath(s.file(bytes)));
    EXPECT_EQ(s.job.pageCount(), 200);
    EXPECT_EQ(s.job.chain.size(), 200);
    EXPECT_EQ(s.cell(199, ColLine1), "line200");
    EXPECT_EQ(s.cell(199, ColPage), "200");
    ASSERT_EQ(s.op.messages.size(), 2u);
    EXPECT_TRUE(s.op.messages[0].text.startsWith("Get the MaxPage!"));
    EXPECT_TRUE(s.op.messages[0].text.contains("50")) << s.op.messages[0].text.toStdString();
    EXPECT_EQ(s.op.messages[1].text, "Have 1 Pages exceeds the limits,Page length is 100.");
}

TEST(CsvImport, RefusedLinesAreListedWithNumberBytesAndReason)
{
    // Empty lines count in the numbering; a UTF-8 line is measured in the
    // code page's bytes (51 Chinese characters: 102, not 153).
    const QByteArray bytes = "a;b\n\n" + repeated('x', 60) + ";" + repeated('y', 40) + "\nok\n"
                             + QString(51, QChar(0x4E2D)).toUtf8() + "\nthird\nfourth\n";
    const CsvContent content = readCsv(bytes, 3);
    EXPECT_EQ(describeRefusedLines(content, RefusedLine::TooLong),
              "Line 3: 101 bytes, over 100 with the separator\n"
              "Line 5: 102 bytes, over 100 with the separator");
    EXPECT_EQ(describeRefusedLines(content, RefusedLine::BeyondPageLimit), "Line 7: beyond the 200-page limit");

    // A long list stops at its cap and says how many more there are; the
    // window's message keeps its text and carries the list as details.
    QByteArray many;
    for (int i = 0; i < CsvContent::kMaxListedLines + 5; ++i)
        many += repeated('w', 101) + "\n";
    many += "fits\n";
    Session s;
    ASSERT_TRUE(s.documents.importPath(s.file(many)));
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text, "Have 1005 Pages exceeds the limits,Page length is 100.");
    const QStringList details = s.op.messages[0].details.split('\n');
    ASSERT_EQ(details.size(), CsvContent::kMaxListedLines + 1);
    EXPECT_EQ(details.first(), "Line 1: 101 bytes, over 100 with the separator");
    EXPECT_EQ(details[999], "Line 1000: 101 bytes, over 100 with the separator");
    EXPECT_EQ(details.last(), "... and 5 more lines");
}

TEST(CsvImport, PageTextCodesInTheFileStayText)
{
    // A separator, a serial-number code or a NUL typed into a spreadsheet
    // cell must not split the page, number it or cut it short.
    static const char bytes[] = "A\x1A" "B;C\x12" "D;3\nE\0F\n" "\x1C\x1E;\x13\x18\n";
    const CsvContent c = readCsv(QByteArray(bytes, sizeof bytes - 1));
    ASSERT_EQ(c.pages.size(), 3u);
    EXPECT_EQ(c.pages[0].line1, "A?B");
    EXPECT_EQ(c.pages[0].line2, "C?D");
    EXPECT_EQ(c.pages[0].repeat, 3);
    EXPECT_EQ(c.pages[1].line1, "E?F");
    EXPECT_EQ(c.pages[2].line1, "??");
    EXPECT_EQ(c.pages[2].line2, "??");
    // Tabs and a lone CR are ordinary text.
    EXPECT_EQ(readCsv("a\tb\rc\n").pages[0].line1, "a\tb\rc");

    Session s;
    ASSERT_TRUE(s.documents.importPath(s.file(QByteArray("A\x1A" "B;C\x12" "D\n", 8))));
    const PageRecord &page = s.job.chain[0];
    EXPECT_EQ(page.numbered, 0);
    EXPECT_EQ(page.textLength, 7);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(page.text.data())), "A?B\x1A" "C?D");
}

TEST(CsvImport, AnEmptyFirstFieldWithASecondIsATwoLinePage)
{
    Session s;
    ASSERT_TRUE(s.documents.importPath(s.file(";B\n;;3\n;C;7\nA;\n")));
    EXPECT_TRUE(s.op.messages.empty());
    ASSERT_EQ(s.job.pageCount(), 3) << "only a line with both texts empty is skipped";
    const struct {
        const char *line1, *line2;
        int repeat, fontSize;
    } expected[] = {{"", "B", 1, 3}, {"", "C", 7, 3}, {"A", "", 1, 4}};
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(s.cell(row, ColLine1), expected[row].line1);
        EXPECT_EQ(s.cell(row, ColLine2), expected[row].line2);
        EXPECT_EQ(s.job.chain[row].repeat, expected[row].repeat);
        EXPECT_EQ(s.job.chain[row].fontSize, expected[row].fontSize);
        EXPECT_EQ(s.job.chain[row].twoLines, *expected[row].line2 ? 1 : 0);
    }
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(s.job.chain[0].text.data())), "\x1A" "B");
}
