#include "common/Files.h"
#include "common/Workbooks.h"
#include "files/DelimitedText.h"
#include "files/TableReader.h"
#include "files/XlsReader.h"
#include "files/ZipArchive.h"
#include "model/CodePage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using namespace vt::test;

namespace {

const QString kFixtures = QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/");

struct Read {
    QStringList sheets;
    std::vector<TableRow> rows;
    QString problem;
};

Read readPath(const QString &path, int sheet = 0, TableOptions options = {})
{
    Read r;
    std::unique_ptr<TableReader> reader = openTable(path, options, r.problem);
    if (!reader)
        return r;
    r.sheets = reader->sheetNames();
    if (!reader->readSheet(sheet, [&](const TableRow &row) {
            r.rows.push_back(row);
            return true;
        }))
        r.problem = reader->problem();
    return r;
}

Read readBytes(const QByteArray &bytes, TableFormat format, TableOptions options = {})
{
    Read r;
    std::unique_ptr<TableReader> reader = openTable(bytes, format, options, r.problem);
    if (!reader)
        return r;
    r.sheets = reader->sheetNames();
    if (!reader->readSheet(0, [&](const TableRow &row) {
            r.rows.push_back(row);
            return true;
        }))
        r.problem = reader->problem();
    return r;
}

QStringList cells(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

} // namespace

// The same wire list saved by LibreOffice in the three formats reads the
// same: shared strings and rich text runs, numbers without ".0", an empty
// column kept, a merged cell shown once, a formula's cached value, Chinese.
TEST(TableReader, LibreOfficeWorkbooksReadAsTheSpreadsheetShowsThem)
{
    for (const char *name : {"wirelist.xlsx", "wirelist.ods", "wirelist.xls"}) {
        SCOPED_TRACE(name);
        const Read r = readPath(kFixtures + QLatin1String(name));
        ASSERT_TRUE(r.problem.isEmpty()) << r.problem.toStdString();
        EXPECT_EQ(r.sheets, cells({"Wires", "Notes"}));
        ASSERT_EQ(r.rows.size(), 6u);
        EXPECT_EQ(r.rows[0].cells, cells({"Source", "Target", "", "Wire", "Section"}));
        EXPECT_EQ(r.rows[1].cells, cells({"X1:1", "K1:A1", "", "101", "1.5"}));
        EXPECT_EQ(r.rows[3].cells, cells({"电源", "变压器:L", "", "103", "0.75"}));
        EXPECT_EQ(r.rows[4].cells, cells({"PE", "", "", "104", "10"}));
        EXPECT_EQ(r.rows[5].number, 6);
        // libfreexl 1.0.6 does not give the cached value of a formula.
        if (QLatin1String(name) != QLatin1String("wirelist.xls"))
            EXPECT_EQ(r.rows[2].cells, cells({"X1:2", "K1:A2", "", "102", "2.5"}));
        const Read notes = readPath(kFixtures + QLatin1String(name), 1);
        ASSERT_EQ(notes.rows.size(), 1u);
        EXPECT_EQ(notes.rows[0].cells, cells({"Second sheet", "2"}));
    }
}

// A workbook written by libxlsxwriter: both string forms (shared, and inline
// in constant-memory mode), number formatting, booleans, formula results,
// gaps between cells and rows keep their places.
TEST(TableReader, XlsxWrittenByAnotherLibrary)
{
    QTemporaryDir dir;
    for (const bool constantMemory : {false, true}) {
        SCOPED_TRACE(constantMemory ? "inline strings" : "shared strings");
        const QString path = dir.filePath(constantMemory ? "inline.xlsx" : "shared.xlsx");
        ASSERT_TRUE(writeWorkbook(
            path,
            [](lxw_workbook *book) {
                lxw_worksheet *first = workbook_add_worksheet(book, "Liste 1");
                cell(first, 0, 0, "X1:1");
                cell(first, 0, 2, 7.0);
                cell(first, 0, 3, 0.1 + 0.2);
                cell(first, 0, 4, -1234567.25);
                cell(first, 1, 0, "线号");
                worksheet_write_boolean(first, 1, 1, 1, nullptr);
                worksheet_write_formula_num(first, 1, 2, "=C1*2", nullptr, 14);
                worksheet_write_formula_str(first, 1, 3, "=A1&\"x\"", nullptr, "X1:1x");
                cell(first, 9, 27, "AB10");
                lxw_worksheet *second = workbook_add_worksheet(book, "Zwei");
                cell(second, 0, 0, 1e20);
                // A sheet of megabytes, parsed a piece at a time.
                lxw_worksheet *long_ = workbook_add_worksheet(book, "Lang");
                for (int i = 0; i < 30000; ++i)
                    cell(long_, i, 0, ("<W" + std::to_string(i) + " & " + std::to_string(i % 7) + ">").c_str());
            },
            constantMemory));
        const Read r = readPath(path);
        ASSERT_TRUE(r.problem.isEmpty()) << r.problem.toStdString();
        EXPECT_EQ(r.sheets, cells({"Liste 1", "Zwei", "Lang"}));
        ASSERT_EQ(r.rows.size(), 3u);
        EXPECT_EQ(r.rows[0].cells, cells({"X1:1", "", "7", "0.3", "-1234567.25"}));
        EXPECT_EQ(r.rows[1].cells, cells({"线号", "TRUE", "14", "X1:1x"}));
        EXPECT_EQ(r.rows[2].number, 10);
        ASSERT_EQ(r.rows[2].cells.size(), 28);
        EXPECT_EQ(r.rows[2].cells[27], QStringLiteral("AB10"));
        EXPECT_EQ(readPath(path, 1).rows.at(0).cells, cells({"1E+20"}));
        const Read long_ = readPath(path, 2);
        ASSERT_EQ(long_.rows.size(), 30000u);
        for (const int i : {0, 4321, 17777, 29999}) {
            EXPECT_EQ(long_.rows[i].number, i + 1);
            EXPECT_EQ(long_.rows[i].cells, QStringList{QStringLiteral("<W%1 & %2>").arg(i).arg(i % 7)});
        }
    }
}

TEST(TableReader, DelimitedTextQuotesAsRfc4180)
{
    const QByteArray text = "Source,Target,Note\r\n"
                            "\"X1,1\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n"
                            "\r\n"
                            "plain,\"\",last";
    const Read r = readBytes(text, TableFormat::Text);
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[1].cells, cells({"X1,1", "say \"hi\"", "two\nlines"}));
    EXPECT_EQ(r.rows[2].cells, cells({""}));
    EXPECT_EQ(r.rows[3].number, 4);
    EXPECT_EQ(r.rows[3].cells, cells({"plain", "", "last"}));

    // Code page 936 when the file is not UTF-8; UTF-8 with its mark dropped.
    const Read gbk = readBytes(toAnsi(u"电源;A\n变压器;B\n"), TableFormat::Text);
    ASSERT_EQ(gbk.rows.size(), 2u);
    EXPECT_EQ(gbk.rows[1].cells, cells({"变压器", "B"}));
    const Read bom = readBytes("\xEF\xBB\xBF\xE7\x94\xB5\tx\n", TableFormat::Text);
    EXPECT_EQ(bom.rows.at(0).cells, cells({"电", "x"}));
}

// "Unicode Text" as LibreOffice saves it: UTF-16LE after its mark, tabs,
// quoted texts; the same bytes swapped as UTF-16BE. Read from a file and
// from memory in chunks, a pair of bytes (and a surrogate pair) may be cut.
TEST(TableReader, Utf16TextAfterItsByteOrderMark)
{
    const Read xlsx = readPath(kFixtures + "wirelist.xlsx");
    const Read le = readPath(kFixtures + "wirelist-utf16.txt");
    ASSERT_TRUE(le.problem.isEmpty()) << le.problem.toStdString();
    ASSERT_EQ(le.rows.size(), xlsx.rows.size());
    for (std::size_t i = 0; i < le.rows.size(); ++i)
        EXPECT_EQ(le.rows[i].cells.mid(0, 2), xlsx.rows[i].cells.mid(0, 2)) << "row " << i + 1;
    EXPECT_EQ(le.rows.at(3).cells.at(0), QStringLiteral("电源"));

    QByteArray be = readAll(kFixtures + "wirelist-utf16.txt");
    for (qsizetype i = 0; i + 1 < be.size(); i += 2)
        std::swap(be[i], be[i + 1]);
    const Read swapped = readBytes(be, TableFormat::Text);
    ASSERT_TRUE(swapped.problem.isEmpty()) << swapped.problem.toStdString();
    ASSERT_EQ(swapped.rows.size(), le.rows.size());
    EXPECT_EQ(swapped.rows.at(3).cells, le.rows.at(3).cells);

    // Past the first 64 KB chunk: a character astride the chunks' edge.
    QString long16 = QStringLiteral("a;b\n");
    while (long16.size() < 40000)
        long16 += QStringLiteral("x;\U0001F600\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char *>(long16.utf16()), long16.size() * 2);
    const Read big = readBytes(bytes, TableFormat::Text);
    ASSERT_EQ(big.rows.size(), 8001u); // the chunk edge at 64 KB falls inside a surrogate pair
    for (const TableRow &row : big.rows)
        if (row.number > 1 && row.cells != QStringList{QStringLiteral("x"), QStringLiteral("\U0001F600")})
            FAIL() << "row " << row.number << " reads " << row.cells.join(u'|').toStdString();
}

TEST(TableReader, SeparatorFoundFromTheFirstLinesOrGiven)
{
    EXPECT_EQ(detectSeparator("a;b;c\n1;2;3\n"), ';');
    EXPECT_EQ(detectSeparator("a\tb\n1\t2\n"), '\t');
    // Commas inside quotes do not count; the semicolon splits every line alike.
    EXPECT_EQ(detectSeparator("\"1,5\";x\n\"2,5\";y\n\"3\";z\n"), ';');
    // A comma in only some lines loses to the separator every line has.
    EXPECT_EQ(detectSeparator("a;b,c\nd;e\nf;g\n"), ';');
    EXPECT_EQ(detectSeparator("one column\nonly\n"), ',');
    TableOptions semicolon;
    semicolon.separator = ';';
    EXPECT_EQ(readBytes("a,b;c\n", TableFormat::Text, semicolon).rows.at(0).cells, cells({"a,b", "c"}));
}

// Each bad file gets its own clause; none is read as something it is not.
TEST(TableReader, HostileFilesAreRefusedWithTheirReason)
{
    QTemporaryDir dir;
    const QByteArray xlsx = readAll(kFixtures + "wirelist.xlsx");
    const QByteArray xls = readAll(kFixtures + "wirelist.xls");
    const auto problem = [&](const QByteArray &bytes, TableFormat format) {
        return readBytes(bytes, format).problem.toStdString();
    };
    EXPECT_EQ(problem("Source,Target\n", TableFormat::Xlsx), "it is not an Excel workbook (.xlsx)");
    EXPECT_EQ(problem(xlsx, TableFormat::Xls), "it is not an Excel 97-2003 workbook (.xls)");
    EXPECT_EQ(problem(xlsx, TableFormat::Ods), "it is not an OpenDocument spreadsheet (.ods)");
    EXPECT_EQ(problem(xls, TableFormat::Text), "it is a workbook or an archive, not text");
    EXPECT_EQ(problem(xlsx.left(xlsx.size() / 2), TableFormat::Xlsx), "the workbook is damaged or cut short");
    EXPECT_EQ(problem(xls.left(xls.size() / 2), TableFormat::Xls), "the workbook is damaged or cut short");

    // Office wraps an encrypted workbook in a compound file; zip members can be encrypted too.
    QByteArray wrapped = xls.left(512);
    wrapped += QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    EXPECT_EQ(problem(wrapped, TableFormat::Xlsx), "the workbook is encrypted (protected by a password)");
    const auto members = zipMembers(kFixtures + "wirelist.xlsx");
    ASSERT_TRUE(writeZip(dir.filePath("locked.xlsx"), members, "secret"));
    EXPECT_EQ(readPath(dir.filePath("locked.xlsx")).problem.toStdString(),
              "the workbook is encrypted (protected by a password)");

    // Entity declarations in any part, here the sheet.
    auto withEntities = members;
    for (auto &[name, bytes] : withEntities)
        if (name == QLatin1String("xl/worksheets/sheet1.xml"))
            bytes.replace("<worksheet", "<!DOCTYPE worksheet [<!ENTITY a \"aaaaaaaa\">]><worksheet");
    ASSERT_TRUE(writeZip(dir.filePath("entities.xlsx"), withEntities));
    EXPECT_EQ(readPath(dir.filePath("entities.xlsx")).problem.toStdString(),
              "its XML declares entities, which no workbook needs (refused)");
}

// Workbooks spreadsheet programs open but libfreexl refuses are named with
// what to do; a damaged one is still called damaged.
TEST(TableReader, XlsThatLibfreexlRefusesSaysWhatItIs)
{
    const Read old = readPath(kFixtures + "wirelist-95.xls");
    EXPECT_EQ(old.problem.toStdString(), "it is an Excel 5.0/95 workbook, which this program cannot read; "
                                         "open it in a spreadsheet program and save it as .xlsx");
    EXPECT_EQ(readPath(kFixtures + "wirelist-caps.xls").problem.toStdString(),
              "it is an Excel 97-2003 workbook that keeps its sheets under the name \"WORKBOOK\", which this "
              "program cannot read; open it in a spreadsheet program and save it as .xlsx");

    const auto utf16 = [](const char16_t *name) {
        return QByteArray(reinterpret_cast<const char *>(name), static_cast<qsizetype>(std::char_traits<char16_t>::length(name) * 2));
    };
    QByteArray other = readAll(kFixtures + "wirelist.xls");
    other.replace(utf16(u"Workbook"), utf16(u"Contents"));
    EXPECT_EQ(readBytes(other, TableFormat::Xls).problem.toStdString(),
              "it is not an Excel 97-2003 workbook (.xls) but a document of another kind");
    // Directory intact, Excel 97 stream garbled after its first record.
    QByteArray garbled = readAll(kFixtures + "wirelist.xls");
    const qsizetype bof = garbled.indexOf(QByteArray("\x09\x08\x10\x00\x00\x06", 6));
    ASSERT_GT(bof, 0);
    garbled.replace(bof + 20, 200, QByteArray(200, '\xFF'));
    EXPECT_EQ(readBytes(garbled, TableFormat::Xls).problem.toStdString(), "the workbook is damaged or cut short");
    const QByteArray old95 = readAll(kFixtures + "wirelist-95.xls");
    EXPECT_EQ(readBytes(old95.left(old95.size() / 2), TableFormat::Xls).problem.toStdString(),
              "the workbook is damaged or cut short");
}

// Members that unpack to more than 200 MB in all are refused when the
// archive opens; 200 MB exactly still reads.
TEST(TableReader, ZipBombIsRefused)
{
    QTemporaryDir dir;
    auto members = zipMembers(kFixtures + "wirelist.xlsx");
    auto atLimit = members;
    qint64 size = 0;
    for (const auto &[name, bytes] : members)
        size += bytes.size();
    const QByteArray fill(static_cast<qsizetype>(200LL * 1024 * 1024 - size), ' ');
    atLimit.emplace_back(QStringLiteral("xl/media/padding.bin"), fill);
    ASSERT_TRUE(writeZip(dir.filePath("limit.xlsx"), atLimit));
    EXPECT_TRUE(readPath(dir.filePath("limit.xlsx")).problem.isEmpty());

    atLimit.back().second.append(' ');
    ASSERT_TRUE(writeZip(dir.filePath("bomb.xlsx"), atLimit));
    EXPECT_EQ(readPath(dir.filePath("bomb.xlsx")).problem.toStdString(),
              "its parts would unpack to more than 200 MB (refused)");
}

// .xls is read by a separate process: a file that makes libfreexl fault, a
// reader that dies, hangs or stops short all become a file that cannot be
// read, and this program goes on.
TEST(TableReader, XlsReaderFaultsStayInTheirProcess)
{
    // The file the fuzzer found: libfreexl reads past a stack buffer on it.
    const Read crafted = readPath(kFixtures + "freexl-overread.xls");
    EXPECT_FALSE(crafted.problem.isEmpty());
    EXPECT_TRUE(crafted.rows.empty());

#ifdef Q_OS_WIN
    GTEST_SKIP() << "the stand-in readers below are shell scripts";
#endif
    QTemporaryDir dir;
    const QString real = XlsReader::program();
    const auto withReader = [&](const char *script) {
        const QString path = dir.filePath(QStringLiteral("reader%1").arg(qHash(QByteArray(script))));
        writeAll(path, QByteArray("#!/bin/sh\n") + script + "\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        XlsReader::setProgram(path);
        const Read r = readPath(kFixtures + "wirelist.xls");
        XlsReader::setProgram(real);
        return r.problem.toStdString();
    };
    EXPECT_EQ(withReader("kill -SEGV $$"), "it cannot be read (the .xls reader failed on it)");
    // The names come, then the reader dies before the end record.
    EXPECT_EQ(withReader("printf 'S5:WiresS5:Notes'; [ $# = 2 ] && kill -SEGV $$; printf 'Z0:'"),
              "it cannot be read (the .xls reader failed on it)");
    EXPECT_EQ(withReader("printf 'S5:WiresR1:0Z0:'"), "it cannot be read (the .xls reader wrote a bad row)");
    EXPECT_EQ(withReader("printf 'S5:WiresXY:'"), "it cannot be read (the .xls reader wrote what is not a record)");
    XlsReader::setTimeLimit(300);
    EXPECT_EQ(withReader("exec sleep 30"), "it cannot be read (reading it took too long)");
    XlsReader::setTimeLimit(60000);
    XlsReader::setProgram(dir.filePath(QStringLiteral("missing")));
    EXPECT_TRUE(readPath(kFixtures + "wirelist.xls").problem.startsWith(QStringLiteral("it cannot be read (the .xls reader")));
    XlsReader::setProgram(real);
}

// White space as the OpenDocument rules show it, repeat counts no sheet can
// have, and a content part read for the sheet list and again for the sheet.
TEST(TableReader, OdsWhiteSpaceHugeRepeatsAndASecondRead)
{
    const QByteArray content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
        " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
        " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
        "<table:table table:name=\"W\">"
        "<table:table-row><table:table-cell><text:p>  A   B\n  C  </text:p></table:table-cell>"
        "<table:table-cell><text:p>X<text:s text:c=\"3\"/>Y<text:tab/>Z<text:line-break/> W</text:p></table:table-cell>"
        "<table:table-cell><text:p>P <text:span>  Q</text:span> </text:p><text:p> R</text:p></table:table-cell>"
        "</table:table-row>"
        "<table:table-row><table:table-cell table:number-columns-repeated=\"9223372036854775807\"/>"
        "<table:table-cell table:number-columns-repeated=\"9223372036854775807\"/>"
        "<table:table-cell><text:p>far</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"9223372036854775807\"><table:table-cell/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"9223372036854775807\"><table:table-cell/></table:table-row>"
        "<table:table-row><table:table-cell><text:p>beyond</text:p></table:table-cell></table:table-row>"
        "</table:table></office:spreadsheet></office:body></office:document-content>";
    QTemporaryDir dir;
    const QString path = dir.filePath("w.ods");
    ASSERT_TRUE(writeZip(path, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                {"content.xml", content}}));
    const Read r = readPath(path);
    ASSERT_TRUE(r.problem.isEmpty()) << r.problem.toStdString();
    ASSERT_EQ(r.rows.size(), 2u) << "nothing past the last row a sheet can have";
    EXPECT_EQ(r.rows[0].cells, cells({"A B C", "X   Y\tZ\n W", "P Q\nR"}));
    EXPECT_EQ(r.rows[1].cells.size(), kMaxSheetColumns) << "cut at the last column, not wrapped around";

    // Read twice, a member is charged once: only bytes beyond the first
    // read count against the limit.
    ZipArchive archive(readAll(path));
    archive.budget() = content.size() + 10;
    EXPECT_EQ(archive.readAll("content.xml"), content);
    EXPECT_EQ(archive.readAll("content.xml"), content);
    EXPECT_EQ(archive.problem(), ZipArchive::Problem::None);
}
