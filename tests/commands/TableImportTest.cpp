#include "commands/ClipboardCommands.h"
#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "commands/TableCommands.h"
#include "commands/TablePreview.h"
#include "common/Files.h"
#include "common/ScriptedOperator.h"
#include "files/DocumentFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

struct Session {
    QTemporaryDir dir;
    Job job;
    ScriptedOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};
    TableCommands tables{job, op, documents};
    std::vector<DocumentCommands::FileEvent> events;

    Session()
    {
        pages.add();
        documents.onFile = [this](DocumentCommands::FileEvent e, const QString &) { events.push_back(e); };
    }
    QString file(const QByteArray &bytes, const QString &name = QStringLiteral("list.csv"))
    {
        const QString path = dir.filePath(name);
        vt::test::writeAll(path, bytes);
        return path;
    }
    QString cell(int row, int column) const { return job.model.cellText(row, column); }
};

TableChoice choice(const char *line1, const char *line2, const char *repeat, bool header = true)
{
    TableChoice c;
    c.header = header;
    c.line1 = QString::fromUtf8(line1);
    c.line2 = QString::fromUtf8(line2);
    c.repeat = QString::fromUtf8(repeat);
    return c;
}

} // namespace

TEST(TableImport, FieldsAreColumnsOrTemplates)
{
    Session s;
    const QString path = s.file("Source,Pin,Wire,Count\n"
                                "X1,3,W7,2\n"
                                "K2,,W8,x\n");
    TableContent c = readTable(path, choice("{Source}-{Pin}", "wire", "D"));
    ASSERT_TRUE(c.problem.isEmpty()) << c.problem.toStdString();
    EXPECT_EQ(c.headers, QStringList({"Source", "Pin", "Wire", "Count"}));
    ASSERT_EQ(c.pages.size(), 2u);
    EXPECT_EQ(c.pages[0].line1, QStringLiteral("X1-3"));
    EXPECT_EQ(c.pages[0].line2, QStringLiteral("W7")); // header names match in any case
    EXPECT_EQ(c.pages[0].repeat, 2);
    EXPECT_EQ(c.pages[1].line1, QStringLiteral("K2-"));
    EXPECT_EQ(c.pages[1].repeat, 1);
    EXPECT_EQ(c.pageRows, (std::vector<qint64>{2, 3}));

    // By letters, a number as the repeat, "{{" for a brace; an empty repeat is 1.
    c = readTable(path, choice("{A}:{{{C}", "", "3", false));
    ASSERT_EQ(c.pages.size(), 3u);
    EXPECT_EQ(c.pages[1].line1, QStringLiteral("X1:{W7"));
    EXPECT_EQ(c.pages[1].repeat, 3);
    EXPECT_EQ(readTable(path, choice("A", "B", "")).pages[0].repeat, 1);

    EXPECT_EQ(readTable(path, choice("{Source}-{Pn}", "", "")).problem.toStdString(), "there is no column \"Pn\"");
    EXPECT_EQ(readTable(path, choice("}}{A}}}", "", "", false)).pages[0].line1, QStringLiteral("}Source}"));
    EXPECT_EQ(readTable(path, choice("W{Wire", "", "")).problem.toStdString(),
              "\"{Wire\" has a \"{\" without its \"}\" (a brace itself is written {{)");
    EXPECT_EQ(readTable(path, choice("Sorce", "", "")).problem.toStdString(),
              "there is no column \"Sorce\" (text around columns goes in a template, such as {A}-{B})");
}

// Only a row with something in a column its lines name is a mark: the text
// of a template alone, or a repeat count alone, is not.
TEST(TableImport, OnlyRowsWithTextInTheirColumnsAreMarks)
{
    Session s;
    const QString path = s.file("Wire,Far,Count,Note\n"
                                "7,X1,2,\n"      // both lines
                                "8,,,\n"         // only the first
                                ",X2,,\n"        // only the second
                                ",,3,\n"         // only a repeat
                                ",,,spare\n");   // only a column no field names
    const TableContent c = readTable(path, choice("W{Wire}", "{Far}", "Count"));
    ASSERT_EQ(c.pages.size(), 3u);
    EXPECT_EQ(c.pages[1].line1, QStringLiteral("W8"));
    EXPECT_EQ(c.pages[2].line1, QStringLiteral("W"));
    EXPECT_EQ(c.pages[2].line2, QStringLiteral("X2"));
    EXPECT_EQ(c.empty, 2);
    EXPECT_EQ(describeRefusals(c).toStdString(), "Row 5: empty\nRow 6: empty");
    EXPECT_EQ(previewSummary(readTable(s.file("A\n", "one.csv"), choice("A", "", "", false))).toStdString(),
              "1 row: 1 page");
}

// Refused rows keep their sheet row numbers: over 100 bytes as stored (a
// Chinese character 2, the separator 1), with nothing in the chosen fields,
// and past the 200th page. Rows with no text at all are gaps, not refusals.
TEST(TableImport, RefusedRowsAreCountedWithTheirReasons)
{
    Session s;
    QByteArray text = "a;b\n";
    text += QByteArray(60, 'x') + ';' + QByteArray(39, 'y') + '\n';         // row 2: 100 bytes
    text += QByteArray(60, 'x') + ';' + QByteArray(40, 'y') + '\n';         // row 3: 101
    text += QByteArray("电") .repeated(49) + ";z\n";                          // row 4: 98 + 1 + 1
    text += QByteArray("电").repeated(50) + ";z\n";                           // row 5: 102
    text += " ;;note\n";                                                     // row 6: empty (a blank)
    text += ";\n";                                                           // row 7: a gap
    for (int i = 0; i < 200; ++i)
        text += "p" + QByteArray::number(i) + ";q\n";                        // rows 8..207
    const TableContent c = readTable(s.file(text), choice("A", "B", ""));
    EXPECT_EQ(c.rows, 205);
    EXPECT_EQ(c.pages.size(), 200u);
    EXPECT_EQ(c.usable, 202);
    EXPECT_EQ(c.tooLong, 2);
    EXPECT_EQ(c.empty, 1);
    EXPECT_EQ(c.beyondLimit, 2);
    EXPECT_EQ(c.pageRows.back(), 205);
    EXPECT_EQ(describeRefusals(c).toStdString(),
              "Row 3: 101 bytes, over 100 with the separator\n"
              "Row 5: 102 bytes, over 100 with the separator\n"
              "Row 6: empty\n"
              "Row 206: beyond the 200-page limit\n"
              "Row 207: beyond the 200-page limit");
    EXPECT_EQ(refusalSummary(c, QStringLiteral("w.csv")).toStdString(),
              "5 rows of w.csv were not imported: 2 over 100 bytes, 1 empty, 2 beyond the 200-page limit.");
}

// The preview keeps a sheet of at most the given rows (gaps included, as
// the file has them) and reads a kept sheet's rows again for a new choice;
// a stopped read keeps nothing.
TEST(TableImport, PreviewKeepsASmallSheet)
{
    Session s;
    const QString path = s.file("Source,Pin\nX1,3\n\nK2,4\n");
    const std::atomic_bool going{false};
    EXPECT_EQ(readTablePreview(path, choice("A", "B", ""), nullptr, going, 3).rows, nullptr);
    const TablePreview first = readTablePreview(path, choice("A", "B", ""), nullptr, going, 4);
    ASSERT_NE(first.rows, nullptr);
    EXPECT_EQ(first.rows->rows.size(), 4u);
    EXPECT_EQ(first.content.pages.size(), 2u);
    // A column that is not there still keeps the rows for the next choice.
    const TablePreview wrong = readTablePreview(path, choice("Nowhere", "B", ""), nullptr, going, 4);
    EXPECT_FALSE(wrong.content.problem.isEmpty());
    ASSERT_NE(wrong.rows, nullptr);

    ASSERT_TRUE(QFile::remove(path));
    const TablePreview again = readTablePreview(path, choice("{Source}{Pin}", "", ""), wrong.rows, going, 4);
    ASSERT_TRUE(again.content.problem.isEmpty()) << again.content.problem.toStdString();
    ASSERT_EQ(again.content.pages.size(), 2u);
    EXPECT_EQ(again.content.pages[1].line1, QStringLiteral("K24"));
    EXPECT_EQ(again.content.pageRows[1], 4);

    // Rows of one cell in the last column are kept by their cells, not their count.
    const QByteArray far = QByteArray(kMaxSheetColumns - 1, ',') + "W1\n";
    const TablePreview wide = readTablePreview(s.file(far.repeated(100), "wide.csv"), choice("XFD", "", "", false),
                                               nullptr, going);
    EXPECT_EQ(wide.content.pages.size(), 100u);
    EXPECT_EQ(wide.rows, nullptr);

    const std::atomic_bool stop{true};
    const TablePreview stopped = readTablePreview(s.file("A,B\nC,D\n"), choice("A", "B", "", false), nullptr, stop);
    EXPECT_EQ(stopped.content.problem, QStringLiteral("the reading was stopped"));
    EXPECT_EQ(stopped.rows, nullptr);
}

TEST(TableImport, ImportReplacesTheJobOnceOrLeavesItAsItWas)
{
    Session s;
    s.job.model.setCellText(0, ColLine1, QStringLiteral("kept"));
    const QString bad = s.file("not a workbook", QStringLiteral("wires.xlsx"));
    EXPECT_FALSE(s.tables.importTable(bad, TableChoice{}));
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text.toStdString(),
              QStringLiteral("Can not import %1: it is not an Excel workbook (.xlsx); the job is unchanged.")
                  .arg(QDir::toNativeSeparators(bad))
                  .toStdString());
    const QString headerOnly = s.file("Source,Target\n\n", QStringLiteral("empty.csv"));
    EXPECT_FALSE(s.tables.importTable(headerOnly, choice("A", "B", "")));
    EXPECT_TRUE(s.op.messages.back().text.contains(QStringLiteral("holds no row that can become a page")));
    EXPECT_EQ(s.cell(0, ColLine1), QStringLiteral("kept"));
    EXPECT_TRUE(s.events.empty());

    const QString good = s.file("X1,K1,4\nX2,,250\n", QStringLiteral("good.csv"));
    s.op.messages.clear();
    ASSERT_TRUE(s.tables.importTable(good, choice("A", "B", "C", false)));
    EXPECT_TRUE(s.op.messages.empty());
    EXPECT_EQ(s.events, std::vector<DocumentCommands::FileEvent>{DocumentCommands::FileEvent::Imported});
    ASSERT_EQ(s.job.pageCount(), 2);
    EXPECT_EQ(s.cell(0, ColLine2), QStringLiteral("K1"));
    EXPECT_EQ(s.job.chain[0].repeat, 4);
    EXPECT_EQ(s.job.chain[0].fontSize, 3); // a two-line page, as Import makes it
    EXPECT_EQ(s.job.chain[1].repeat, 100);
}

// 450 rows go to three documents of 200, 200 and 50 pages, in order.
TEST(TableImport, SplitWritesConsecutiveJobs)
{
    Session s;
    QByteArray text;
    for (int i = 1; i <= 450; ++i)
        text += "W" + QByteArray::number(i) + "\n";
    QStringList written;
    ASSERT_TRUE(s.tables.splitTable(s.file(text), choice("A", "", "", false), s.dir.filePath("jobs.vtd"), &written));
    EXPECT_EQ(written, QStringList({s.dir.filePath("jobs-1.vtd"), s.dir.filePath("jobs-2.vtd"),
                                    s.dir.filePath("jobs-3.vtd")}));
    const int expected[] = {200, 200, 50};
    for (int part = 0; part < 3; ++part) {
        QFile f(written[part]);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const DocumentContent doc = readDocument(f, s.job.settings, 1000);
        ASSERT_TRUE(doc.ok);
        ASSERT_EQ(static_cast<int>(doc.pages.size()), expected[part]);
        const QByteArray first(reinterpret_cast<const char *>(doc.pages[0].text.data()), doc.pages[0].textLength);
        EXPECT_EQ(first, "W" + QByteArray::number(part * 200 + 1));
    }
    EXPECT_TRUE(s.op.messages.empty());
    EXPECT_EQ(s.job.pageCount(), 1); // the job itself is not touched
}

// Existing parts are named, and the operator is asked once; "No" writes nothing.
TEST(TableImport, SplitAsksOnceBeforeReplacingParts)
{
    Session s;
    QByteArray text;
    for (int i = 1; i <= 450; ++i)
        text += "W" + QByteArray::number(i) + "\n";
    const QString table = s.file(text);
    vt::test::writeAll(s.dir.filePath("jobs-2.vtd"), "old");
    QStringList written;
    s.op.answers = {Answer::No};
    EXPECT_FALSE(s.tables.splitTable(table, choice("A", "", "", false), s.dir.filePath("jobs"), &written));
    EXPECT_FALSE(QFile::exists(s.dir.filePath("jobs-1.vtd")));
    EXPECT_EQ(vt::test::readAll(s.dir.filePath("jobs-2.vtd")), "old");
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text,
              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                  .arg(QDir::toNativeSeparators(s.dir.filePath("jobs-2.vtd"))));

    // Two parts there now: one question for both, and "Yes" replaces them.
    vt::test::writeAll(s.dir.filePath("jobs-3.vtd"), "old");
    s.op.messages.clear();
    ASSERT_TRUE(s.tables.splitTable(table, choice("A", "", "", false), s.dir.filePath("jobs"), &written));
    EXPECT_EQ(written.size(), 3);
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text,
              QStringLiteral("2 files of this split already exist in %1: jobs-2.vtd, jobs-3.vtd.\n"
                             "Do you want to replace them?")
                  .arg(QDir::toNativeSeparators(s.dir.path())));
    EXPECT_TRUE(readDocument(vt::test::readAll(s.dir.filePath("jobs-3.vtd")), s.job.settings).ok);
}

// A character the page cannot hold refuses its row in Import Table and in
// Ctrl+V, counted in the summary and named in the details.
TEST(TableImport, RowsWithUnprintableCharactersAreRefused)
{
    Session s;
    const QString path = s.file(QStringLiteral("X1\u00B2\tA\u2713B\t1\nok\t\u7535\t2\n").toUtf8(),
                                QStringLiteral("list.tsv"));
    ASSERT_TRUE(s.tables.importTable(path, choice("A", "B", "C", false)));
    ASSERT_EQ(s.job.pageCount(), 1);
    EXPECT_EQ(s.cell(0, ColLine1), "ok");
    const QString detail = QStringLiteral("Row 1: X1\u00B2: \"\u00B2\" (U+00B2) cannot be printed; "
                                          "A\u2713B: \"\u2713\" (U+2713) cannot be printed");
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text,
              QStringLiteral("1 row of %1 was not imported: 1 with characters that cannot be printed.")
                  .arg(QDir::toNativeSeparators(path)));
    EXPECT_EQ(s.op.messages[0].details, detail);
    const TableContent content = readTable(path, choice("A", "B", "C", false));
    EXPECT_EQ(previewSummary(content), "2 rows: 1 page, 1 refused");
    EXPECT_EQ(previewRows(content, 5).front().refusal, detail.mid(7));

    ClipboardCommands clipboard(s.job, s.op, s.pages);
    s.op.messages.clear();
    EXPECT_EQ(clipboard.paste(QStringLiteral("fine\n\u0141\u00F3d\u017A\n")), 1);
    EXPECT_EQ(s.job.pageCount(), 2);
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text,
              "1 row of the clipboard was not pasted: 1 with characters that cannot be printed.");
    EXPECT_EQ(s.op.messages[0].details,
              QStringLiteral("Row 2: \u0141\u00F3d\u017A: \"\u0141\" (U+0141), \"\u017A\" (U+017A) cannot be printed"));
}

// Rows copied go back in unchanged, after the current page; rows that could
// not be typed into a page are left out and listed by their row.
TEST(Clipboard, RowsRoundTripAndRefusedRowsAreListed)
{
    Session s;
    ClipboardCommands clipboard(s.job, s.op, s.pages);
    s.pages.add(); // two pages; the second is current
    s.job.refreshPage(0);
    const QString rows = QStringLiteral("X1:1\tW7\t2\n\"\"\"quoted\"\" text\"\t\t1\n电源\t变压器\t100\n");
    ASSERT_EQ(clipboard.paste(rows), 3);
    ASSERT_EQ(s.job.pageCount(), 5);
    EXPECT_EQ(s.cell(1, ColLine1), QStringLiteral("X1:1"));
    EXPECT_EQ(s.cell(2, ColLine1), QStringLiteral("\"quoted\" text"));
    EXPECT_EQ(s.cell(4, ColLine1), QString()); // the page that was after the current one
    EXPECT_EQ(s.job.chain[1].repeat, 2);
    EXPECT_EQ(s.job.chain[3].textLength, 11); // committed: 4 + 6 bytes of code page 936 and the separator
    EXPECT_EQ(clipboard.copyText({1, 2, 3}), rows);
    EXPECT_TRUE(s.op.messages.empty());

    Session fresh; // its one blank page takes the first row
    ClipboardCommands onBlank(fresh.job, fresh.op, fresh.pages);
    EXPECT_EQ(onBlank.paste(rows), 3);
    EXPECT_EQ(fresh.job.pageCount(), 3);
    EXPECT_EQ(onBlank.copyText({0, 1, 2}), rows);

    QString many = QString(QStringLiteral("a")).repeated(101) + QStringLiteral("\tx\n\t\t5\n");
    for (int i = 0; i < 200; ++i)
        many += QStringLiteral("p%1\n").arg(i);
    EXPECT_EQ(clipboard.paste(many), 195);
    EXPECT_EQ(s.job.pageCount(), 200);
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text.toStdString(),
              "7 rows of the clipboard were not pasted: 1 over 100 bytes, 1 empty, 5 beyond the 200-page limit.");
    EXPECT_TRUE(s.op.messages[0].details.startsWith(QStringLiteral("Row 1: 103 bytes, over 100 with the separator\n"
                                                                   "Row 2: empty\nRow 198: beyond")));
}
