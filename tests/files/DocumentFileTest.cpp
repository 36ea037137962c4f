#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "common/Files.h"
#include "common/ScriptedOperator.h"
#include "files/DocumentFile.h"
#include "layout/PageLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace vt;
using vt::test::readAll;
using vt::test::writeAll;
using vt::test::ScriptedOperator;

namespace {

// A job as the window starts it: one empty page, lists as the window fills them.
struct Session {
    Job job;
    ScriptedOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};

    Session()
    {
        QStringList spacing;
        for (int i = 0; i <= 20; ++i)
            spacing << QString::number(i);
        op.fillList(ControlId::Spacing, spacing);
        op.fillList(ControlId::Density, {"1", "2", "3", "4", "5", "6"});
        op.fillList(ControlId::CutSetting, {"Nil", "Half-cut", "Cutting Line"});
        op.fillList(ControlId::Arrange, {"Center", "Left Alignment"});
        op.fillList(ControlId::Material, {"Tube", "Label", "Heat Shrink Tube"});
        op.fillList(ControlId::MaterialParameter, {"6 mm", "9 mm", "12mm"});
        op.selectListEntry(ControlId::Density, 2);
        pages.add();
    }

    void setPage(int row, const QString &line1, const QString &line2 = {})
    {
        while (job.pageCount() <= row)
            ASSERT_TRUE(pages.add());
        job.model.setCellText(row, ColLine1, line1);
        job.model.setCellText(row, ColLine2, line2);
    }
};

// A document of `pages` pages with the text "P<n>", as this program saves it.
QByteArray documentOf(int pages)
{
    JobSettings settings;
    PageChain chain;
    for (int i = 0; i < pages; ++i)
        buildPageRecord(*chain.insertPageAfter(chain.last(), settings), QStringLiteral("P%1").arg(i + 1), QString(),
                        settings, false);
    return encodeDocument(settings, chain, pages);
}

} // namespace

TEST(DocumentFile, OnePageWithTheLetterAIsEightySixBytes)
{
    QTemporaryDir dir;
    Session s;
    s.setPage(0, QStringLiteral("A"));
    ASSERT_TRUE(s.documents.saveTo(dir.filePath("Job")));
    EXPECT_TRUE(s.op.messages.empty());

    const QByteArray bytes = readAll(dir.filePath("Job.vtd"));
    ASSERT_EQ(bytes.size(), 86);
    // spacing 1, density 9, 'C', alignment 0, Label, size 1, one page
    EXPECT_EQ(bytes.left(19), QByteArray::fromHex("01000000" "09" "43" "00" "01000000" "01000000" "01000000"));
    const QByteArray block = bytes.mid(19);
    EXPECT_EQ(block[57], 1);
    EXPECT_EQ(block[58], 'A');
    EXPECT_EQ(block[2], 'N');                       // frame
    EXPECT_EQ(block.mid(11, 3), QByteArray("9\0\0", 3));
    EXPECT_EQ(block.mid(14, 4), QByteArray("LAB\0", 4));
    EXPECT_EQ(block.mid(21, 5), QByteArray("0001\0", 5));
    EXPECT_EQ(block[34], '4');
    EXPECT_EQ(block[40], 1);                        // autoLength
    EXPECT_EQ(block.mid(41, 4), QByteArray("Au\0\0", 4));
    EXPECT_EQ(block[64 + 1], '0');                  // direction, first character
    EXPECT_EQ(block[65 + 1], 'N');                  // modeLetter
    EXPECT_FALSE(s.job.modified);
}

TEST(DocumentFile, SaveOpenSaveIsByteIdentical)
{
    QTemporaryDir dir;
    Session s;
    s.job.settings.spacing = 3;
    s.job.settings.density = 5;
    s.job.settings.cutMode = 'L';
    s.job.settings.alignment = 1;
    s.job.settings.materialIndex = Tube;
    s.job.settings.sizeIndex = 2;

    const QChar sup(mark::superscript), sub(mark::subscript);
    s.setPage(0, QStringLiteral("L1"), QStringLiteral("L2"));
    s.setPage(1, QStringLiteral("X") + sup + QStringLiteral("2") + sub + QStringLiteral("3"));
    s.setPage(2, QStringLiteral("No.") + QChar(mark::numberPadded));
    s.setPage(3, QString(QChar(mark::firstSymbol)) + QChar(mark::lastSymbol) + QStringLiteral("电缆"));
    s.setPage(4, QStringLiteral("VERT"));
    s.setPage(5, QStringLiteral("half"), QString(QChar(mark::numberUpper)));
    s.setPage(6, QString(), QStringLiteral("only two"));
    PageRecord &vertical = s.job.chain[4];
    vertical.direction = {'1', '3'};
    vertical.frame = 'F';
    vertical.autoLength = 0;
    vertical.lengthCode = {'4', '0', '\0', '\0'};
    vertical.lengthDots = 480;
    s.job.model.setCellText(4, ColDirection, QStringLiteral("Vertical"));
    PageRecord &half = s.job.chain[5];
    half.halfZoom = 1;
    half.fontSize = 2;
    half.serialStart = {'A', '\0', '\0', '\0'};
    half.serialEnd = {'F', '\0', '\0', '\0'};
    s.job.model.setChecked(6, false);

    ASSERT_TRUE(s.documents.saveTo(dir.filePath("first.vtd")));
    const QByteArray first = readAll(dir.filePath("first.vtd"));

    Session t;
    ASSERT_TRUE(t.documents.openPath(dir.filePath("first.vtd")));
    EXPECT_TRUE(t.op.messages.empty()) << "a single empty page is replaced without a question";
    ASSERT_EQ(t.job.pageCount(), 7);
    EXPECT_EQ(t.job.chain.size(), 7);
    EXPECT_EQ(t.job.model.cellText(0, ColLine1), "L1");
    EXPECT_EQ(t.job.model.cellText(0, ColLine2), "L2");
    EXPECT_EQ(t.job.model.cellText(1, ColLine1), s.job.model.cellText(1, ColLine1));
    EXPECT_EQ(t.job.model.cellText(2, ColLine1), s.job.model.cellText(2, ColLine1));
    EXPECT_EQ(t.job.model.cellText(3, ColLine1), s.job.model.cellText(3, ColLine1));
    EXPECT_EQ(t.job.model.cellText(5, ColLine2), QString(QChar(mark::numberUpper)));
    EXPECT_EQ(t.job.model.cellText(6, ColLine1), "");
    EXPECT_EQ(t.job.model.cellText(6, ColLine2), "only two");
    EXPECT_EQ(t.job.model.cellText(4, ColDirection), "Vertical");
    EXPECT_EQ(t.job.model.cellText(4, ColFrame), "Frame");
    EXPECT_EQ(t.job.model.cellText(5, ColZoom), "50%");
    EXPECT_EQ(t.job.model.cellText(5, ColFontSize), "2");
    EXPECT_TRUE(t.job.model.isChecked(6)) << "a page read from a file starts selected";
    EXPECT_EQ(t.job.chain[2].numbered, 1);
    EXPECT_EQ(t.job.chain[2].numberPadded, 1);
    EXPECT_EQ(t.job.currentIndex, 6);
    EXPECT_EQ(t.job.model.cellText(6, ColCurrent), kCurrentStar);
    EXPECT_EQ(t.job.model.currentColumn(), ColLine1);
    EXPECT_FALSE(t.job.modified);
    // Header values go to the lists without running their rules.
    EXPECT_EQ(t.op.listSelection(ControlId::Spacing), 3);
    EXPECT_EQ(t.op.listSelection(ControlId::Density), 4);
    EXPECT_EQ(t.op.listSelection(ControlId::CutSetting), 2);
    EXPECT_EQ(t.op.listSelection(ControlId::Arrange), 1);
    EXPECT_EQ(t.op.listSelection(ControlId::Material), 0);
    EXPECT_EQ(t.op.lists[ControlId::MaterialParameter], QStringList({"3.0", "4.0", "5.0", "6.0"}));
    EXPECT_EQ(t.op.listSelection(ControlId::MaterialParameter), 2);
    EXPECT_EQ(asciiView(t.job.settings.materialCode), "LAB") << "the job's codes are not touched";

    ASSERT_TRUE(t.documents.saveTo(dir.filePath("second.vtd")));
    EXPECT_EQ(readAll(dir.filePath("second.vtd")), first);
}

TEST(DocumentFile, NameIsCompletedKeepingItsCaseAndAsksBeforeReplacing)
{
    EXPECT_EQ(DocumentCommands::completedDocumentName("/d/Job"), "/d/Job.vtd");
    EXPECT_EQ(DocumentCommands::completedDocumentName("/d/JOB.VTD"), "/d/JOB.VTD");
    EXPECT_EQ(DocumentCommands::completedDocumentName("/d/a.Vtd"), "/d/a.Vtd");
    EXPECT_EQ(DocumentCommands::completedDocumentName("/d/a.vtd.csv"), "/d/a.vtd.csv.vtd");

    QTemporaryDir dir;
    Session s;
    s.setPage(0, QStringLiteral("A"));
    ASSERT_TRUE(s.documents.saveTo(dir.filePath("JOB.VTD")));
    // The name as written, also where names are case-insensitive (Windows).
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"JOB.VTD"});

    // "Report" becomes Report.vtd, which exists: the dialog never asked about it.
    writeAll(dir.filePath("Report.vtd"), "keep");
    s.op.answers = {Answer::No};
    EXPECT_FALSE(s.documents.saveTo(dir.filePath("Report")));
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(s.op.messages[0].caption, "Prompt");
    EXPECT_TRUE(s.op.messages[0].text.contains("Report.vtd"));
    EXPECT_EQ(readAll(dir.filePath("Report.vtd")), "keep");

    s.op.answers = {Answer::Yes};
    EXPECT_TRUE(s.documents.saveTo(dir.filePath("Report")));
    EXPECT_EQ(readAll(dir.filePath("Report.vtd")).size(), 86);

    // The name as typed was asked about by the dialog: no second question.
    s.op.messages.clear();
    EXPECT_TRUE(s.documents.saveTo(dir.filePath("Report.vtd")));
    EXPECT_TRUE(s.op.messages.empty());
}

TEST(DocumentFile, SaveDialogCancelAndFailureKeepTheEarlierFile)
{
    QTemporaryDir dir;
    Session s;
    s.setPage(0, QStringLiteral("new"));
    s.job.modified = true;

    s.op.fileNames = {QString()};
    s.documents.saveDocument();
    EXPECT_TRUE(s.op.messages.empty());

    // A name one byte short of the file-name limit: the file exists, but no
    // temporary file can be made beside it, so the save cannot complete.
    const QString longName = dir.filePath(QString(251, QLatin1Char('x')) + QStringLiteral(".vtd"));
    writeAll(longName, "earlier");
    s.op.fileNames = {longName};
    s.op.answers = {Answer::Yes};
    s.documents.saveDocument();
    EXPECT_EQ(readAll(longName), "earlier");
    ASSERT_EQ(s.op.messages.size(), 2u) << "replace it?, then why it failed";
    EXPECT_EQ(s.op.messages[1].caption, "Prompt");
    EXPECT_TRUE(s.op.messages[1].text.contains(QDir::toNativeSeparators(longName)));
    EXPECT_TRUE(s.job.modified);

#ifndef Q_OS_WIN
    // A folder that may not be written (Windows has no such mode bits).
    if (geteuid() != 0) {
        const QString sub = dir.filePath("locked");
        QDir().mkpath(sub);
        writeAll(sub + "/a.vtd", "earlier");
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(s.documents.saveTo(sub + "/a.vtd"));
        EXPECT_EQ(readAll(sub + "/a.vtd"), "earlier");
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // A disk that fills up in the middle of the file (root too): the cut
    // file never replaces the earlier one, and the save is not reported done.
    {
        const QString full = dir.filePath("full.vtd");
        writeAll(full, "earlier");
        vt::test::FileSizeLimit limit(40);
        EXPECT_FALSE(s.documents.saveTo(full));
        EXPECT_EQ(readAll(full), "earlier");
        EXPECT_TRUE(s.job.modified);
    }
#endif
}

TEST(DocumentFile, SaveCommandAsksBeforeReplacingTheNameAsTyped)
{
    // The window's save dialog leaves the question to the command, so a
    // name typed whole must be asked about as well as a completed one.
    QTemporaryDir dir;
    Session s;
    s.setPage(0, QStringLiteral("A"));
    writeAll(dir.filePath("Job.vtd"), "earlier");

    s.op.fileNames = {dir.filePath("Job.vtd")};
    s.op.answers = {Answer::No};
    s.documents.saveDocument();
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(s.op.messages[0].caption, "Prompt");
    EXPECT_EQ(s.op.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(s.op.messages[0].text.contains("Job.vtd"));
    EXPECT_EQ(readAll(dir.filePath("Job.vtd")), "earlier");

    s.op.messages.clear();
    s.op.fileNames = {dir.filePath("Job")};
    s.op.answers = {Answer::Yes};
    s.documents.saveDocument();
    EXPECT_EQ(s.op.messages.size(), 1u) << "one question, not two";
    EXPECT_EQ(readAll(dir.filePath("Job.vtd")).size(), 86);

    // A new name: no question.
    s.op.messages.clear();
    s.op.fileNames = {dir.filePath("Other")};
    s.documents.saveDocument();
    EXPECT_TRUE(s.op.messages.empty());
    EXPECT_TRUE(QFile::exists(dir.filePath("Other.vtd")));
}

TEST(DocumentFile, DensityOutsideTheListOpensUnselected)
{
    QTemporaryDir dir;
    Session s;
    ASSERT_EQ(s.job.settings.density, 9);
    ASSERT_TRUE(s.documents.saveTo(dir.filePath("d")));
    EXPECT_EQ(readAll(dir.filePath("d.vtd"))[4], 9);

    Session t;
    t.job.settings.density = 3;
    ASSERT_TRUE(t.documents.openPath(dir.filePath("d.vtd")));
    EXPECT_EQ(t.op.listSelection(ControlId::Density), -1);
    EXPECT_EQ(t.job.settings.density, 9);
}

TEST(DocumentFile, OpeningAsksBeforeReplacingAndAppendsOnNo)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("three.vtd"), documentOf(3));

    Session s;
    s.setPage(0, QStringLiteral("mine"));
    s.op.answers = {Answer::No};
    ASSERT_TRUE(s.documents.openPath(dir.filePath("three.vtd")));
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.op.messages[0].text, "Delete the current content?");
    EXPECT_EQ(s.op.messages[0].buttons, MessageButtons::YesNo);
    ASSERT_EQ(s.job.pageCount(), 4);
    EXPECT_EQ(s.job.model.cellText(0, ColLine1), "mine");
    EXPECT_EQ(s.job.model.cellText(1, ColLine1), "P1");
    EXPECT_EQ(s.job.model.cellText(3, ColLine1), "P3");
    EXPECT_EQ(s.job.currentIndex, 3);
    EXPECT_EQ(s.job.model.cellText(3, ColPage), "4");
    EXPECT_TRUE(s.job.modified);

    s.op.messages.clear();
    s.op.answers = {Answer::Yes};
    ASSERT_TRUE(s.documents.openPath(dir.filePath("three.vtd")));
    EXPECT_EQ(s.op.messages.size(), 1u);
    EXPECT_EQ(s.job.pageCount(), 3);
    EXPECT_EQ(s.job.chain.size(), 3);
    EXPECT_FALSE(s.job.modified);

    // An empty document (P = 0) adds nothing.
    Session e;
    writeAll(dir.filePath("empty.vtd"), documentOf(0));
    ASSERT_TRUE(e.documents.openPath(dir.filePath("empty.vtd")));
    EXPECT_EQ(e.job.pageCount(), 0);
    EXPECT_EQ(e.job.currentIndex, -1);
}

TEST(DocumentFile, BrokenFilesAreRefusedBeforeTheJobChanges)
{
    QTemporaryDir dir;
    const QByteArray good = documentOf(2);
    QByteArray longText = good;
    longText[19 + 57] = char(101);
    QByteArray negative = good;
    negative[15] = char(0xFF); negative[16] = char(0xFF); negative[17] = char(0xFF); negative[18] = char(0xFF);
    QByteArray hugeCount = good;
    hugeCount[18] = char(0x7F);

    const struct {
        const char *name;
        QByteArray bytes;
        const char *why;
    } cases[] = {
        {"truncated.vtd", good.chopped(1), "ends"},
        {"header.vtd", good.left(10), "short"},
        {"long.vtd", longText, "101"},
        {"negative.vtd", negative, "-1"},
        {"huge.vtd", hugeCount, "ends"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(dir.filePath(c.name), c.bytes);
        Session s;
        s.setPage(0, QStringLiteral("keep me"));
        s.setPage(1, QStringLiteral("and me"));
        s.job.settings.density = 2;
        EXPECT_FALSE(s.documents.openPath(dir.filePath(c.name)));
        ASSERT_EQ(s.op.messages.size(), 1u) << "refused without asking to delete anything";
        EXPECT_EQ(s.op.messages[0].caption, "Prompt");
        EXPECT_TRUE(s.op.messages[0].text.contains(c.name)) << s.op.messages[0].text.toStdString();
        EXPECT_TRUE(s.op.messages[0].text.contains(c.why)) << s.op.messages[0].text.toStdString();
        EXPECT_EQ(s.job.pageCount(), 2);
        EXPECT_EQ(s.job.model.cellText(0, ColLine1), "keep me");
        EXPECT_EQ(s.job.settings.density, 2);
    }

    Session s;
    EXPECT_FALSE(s.documents.openPath(dir.filePath("missing.vtd")));
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_TRUE(s.op.messages[0].text.contains("missing.vtd"));
    EXPECT_EQ(s.job.pageCount(), 1);
}

TEST(DocumentFile, NeverMoreThanTwoHundredPages)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("250.vtd"), documentOf(250));
    writeAll(dir.filePath("150.vtd"), documentOf(150));

    Session s;
    ASSERT_TRUE(s.documents.openPath(dir.filePath("250.vtd")));
    EXPECT_EQ(s.job.pageCount(), 200);
    EXPECT_EQ(s.job.chain.size(), 200);
    EXPECT_EQ(s.job.model.cellText(199, ColLine1), "P200");
    ASSERT_EQ(s.op.messages.size(), 1u);
    EXPECT_TRUE(s.op.messages[0].text.contains("50 pages")) << s.op.messages[0].text.toStdString();

    Session t;
    for (int i = 0; i < 100; ++i)
        t.setPage(i, QStringLiteral("own"));
    t.op.answers = {Answer::No};
    ASSERT_TRUE(t.documents.openPath(dir.filePath("150.vtd")));
    EXPECT_EQ(t.job.pageCount(), 200);
    EXPECT_EQ(t.job.model.cellText(199, ColLine1), "P100");
    ASSERT_EQ(t.op.messages.size(), 2u);
    EXPECT_TRUE(t.op.messages[1].text.contains("50 pages")) << t.op.messages[1].text.toStdString();
}

TEST(DocumentFile, ReaderKeepsStoredFieldsAndRecomputesNumbered)
{
    Session s;
    s.setPage(0, QStringLiteral("AB"));
    buildPrintRecords(s.job, false);
    PageRecord &page = s.job.chain[0];
    page.numberLower = 1;
    page.spareA = 7;
    page.spareB = 8;
    page.spareC = 9;
    page.reserved = 5;
    page.modeLetter = 'Q';
    page.printCount = -2;
    page.serialCount = 26;
    page.numbered = 0;
    const QByteArray bytes = encodeDocument(s.job.settings, s.job.chain, 1);

    const DocumentContent content = readDocument(bytes, JobSettings{});
    ASSERT_TRUE(content.ok);
    ASSERT_EQ(content.pages.size(), 1u);
    const PageRecord &r = content.pages[0];
    EXPECT_EQ(r.numbered, 1);
    EXPECT_EQ(r.spareA, 7);
    EXPECT_EQ(r.spareB, 8);
    EXPECT_EQ(r.spareC, 9);
    EXPECT_EQ(r.reserved, 5);
    EXPECT_EQ(r.modeLetter, 'Q');
    EXPECT_EQ(r.printCount, -2);
    EXPECT_EQ(r.serialCount, 26);
    EXPECT_EQ(r.line1Dots, page.line1Dots);
    EXPECT_EQ(r.textLength, 2);
    EXPECT_EQ(r.text[2], 0);
    QByteArray again;
    appendPageBlock(again, r);
    EXPECT_EQ(again, bytes.mid(19));
}

TEST(DocumentFile, PageBlockFieldsSitAtTheirOffsets)
{
    // Every field a different value, so a swap of two fields shows.
    PageRecord p;
    p.numberUpper = 0x01; p.spareA = 0x02; p.frame = 'F'; p.reserved = 0x03; p.spareB = 0x04;
    p.twoLines = 0x05; p.autoFontSize = 0x06; p.fontSize = 0x07; p.halfZoom = 0x08; p.symbolCount = 0x09;
    p.numberLower = 0x0A;
    p.sizeCode = {'1', '2', '\0'};
    p.materialCode = {'S', 'T', 'U', '\0'};
    p.numberDecimal = 0x0B;
    p.printCount = 0x0C0D;
    p.repeatDigits = {'0', '0', '4', '2', '\0'};
    p.repeat = 0x0E0F;
    p.repeatText = {'4', '2', '\0', '\0', '\0'};
    p.spareC = 0x10;
    p.direction = {'1', '3'};
    p.scriptCount = 0x11;
    p.adjustedLengthDots = 0x1213;
    p.lengthDots = 0x1415;
    p.autoLength = 0x16;
    p.lengthCode = {'1', '5', '0', '\0'};
    p.serialEnd = {'9', '9', '9', '\0'};
    p.serialCount = 0x1718;
    p.serialStart = {'0', '0', '1', '\0'};
    p.numberWidth = 0x19;
    p.numberPadded = 0x1B;
    p.textLength = 3;
    p.text[0] = 'x'; p.text[1] = 'y'; p.text[2] = 'z';
    p.line1Dots = 0x1D1E;
    p.line2Dots = 0x1F20;
    p.subscriptCount = 0x21;
    p.superscriptCount = 0x22;
    p.modeLetter = 'M';

    QByteArray block;
    appendPageBlock(block, p);
    const QByteArray expected = QByteArray::fromHex(
        "01" "02" "46" "03" "04" "05" "06" "07" "08" "09" "0A"   // 0..10
        "313200" "53545500" "0B" "0D0C"                         // 11 size, 14 material, 18, 19 printCount
        "3030343200" "0F0E" "3432000000" "10"                    // 21 repeatDigits, 26 repeat, 28 repeatText, 33
        "33" "11" "1312" "1514" "16" "31353000"                  // 34 direction[1], 35, 36, 38, 40, 41 lengthCode
        "39393900" "1817" "30303100" "19" "1B" "03"              // 45 serialEnd, 49, 51 serialStart, 55, 56, 57
        "78797A"                                                 // 58 text
        "1E1D" "201F" "21" "22" "31" "4D");                      // 58+N .. 65+N
    EXPECT_EQ(block.toHex(), expected.toHex());

    const DocumentContent back = readDocument(encodeDocument(JobSettings{}, [&] {
        PageChain chain;
        *chain.insertPageAfter(nullptr, JobSettings{}) = p;
        return chain;
    }(), 1), JobSettings{});
    ASSERT_TRUE(back.ok);
    QByteArray again;
    appendPageBlock(again, back.pages[0]);
    EXPECT_EQ(again.toHex(), expected.toHex());
    EXPECT_EQ(back.pages[0].direction[0], '1');
    EXPECT_EQ(back.pages[0].direction[1], '3');
    EXPECT_EQ(back.pages[0].numbered, 1);
}

TEST(DocumentFile, OpenTurnsStoredCodesBackIntoCells)
{
    // A page as the printer-side build leaves it: codes instead of marks,
    // two separators, letters outside the lists.
    JobSettings settings;
    settings.cutMode = 'Z';
    settings.materialIndex = 7;
    settings.sizeIndex = 9;
    PageChain chain;
    PageRecord &p = *chain.insertPageAfter(nullptr, settings);
    const QByteArray text("\x12" "A\x1C" "2\x1E" "3\x1A" "B\x14\x16\x18\x1A" "C");
    std::memcpy(p.text.data(), text.constData(), static_cast<std::size_t>(text.size()));
    p.textLength = static_cast<std::uint8_t>(text.size());
    p.frame = 'X';
    p.direction = {'2', '4'};
    p.halfZoom = 2;
    p.autoFontSize = 1;
    p.fontSize = 0;
    p.repeat = 42;
    QTemporaryDir dir;
    writeAll(dir.filePath("codes.vtd"), encodeDocument(settings, chain, 1));

    Session s;
    s.op.selectListEntry(ControlId::CutSetting, 1);
    s.job.model.setCurrentColumn(ColRepeat);
    ASSERT_TRUE(s.documents.openPath(dir.filePath("codes.vtd")));
    const QChar num(mark::numberDecimal), sup(mark::superscript), sub(mark::subscript);
    EXPECT_EQ(s.job.model.cellText(0, ColLine1), QString(num) + "A" + sup + "2" + sub + "3");
    EXPECT_EQ(s.job.model.cellText(0, ColLine2),
              QString("B") + QChar(mark::numberPadded) + QChar(mark::numberUpper) + QChar(mark::numberLower)
                  + QChar(ctl::lineSeparator) + "C")
        << "split at the first separator only";
    EXPECT_EQ(s.job.model.cellText(0, ColRepeat), "42");
    EXPECT_EQ(s.job.model.cellText(0, ColFontSize), "0");
    EXPECT_EQ(s.job.model.cellText(0, ColFrame), "");
    EXPECT_EQ(s.job.model.cellText(0, ColDirection), "Vertical");
    EXPECT_EQ(s.job.model.cellText(0, ColZoom), "50%");
    EXPECT_EQ(s.job.model.cellText(0, ColPage), "1");
    EXPECT_EQ(s.job.model.cellText(0, ColCurrent), kCurrentStar);
    EXPECT_TRUE(s.job.model.isChecked(0));
    EXPECT_EQ(s.job.model.currentColumn(), ColLine1);
    EXPECT_EQ(s.job.currentPage, s.job.chain.pageAt(0));
    // Stored as read: no page build ran.
    EXPECT_EQ(s.job.chain[0].textLength, text.size());
    EXPECT_EQ(s.job.chain[0].fontSize, 0);
    // Values outside the lists: stored, the lists left as they were.
    EXPECT_EQ(s.job.settings.cutMode, 'Z');
    EXPECT_EQ(s.op.listSelection(ControlId::CutSetting), 1);
    EXPECT_EQ(s.op.lists[ControlId::MaterialParameter], QStringList({"6 mm", "9 mm", "12mm"}));
    EXPECT_EQ(s.op.listSelection(ControlId::Material), -1);
    EXPECT_EQ(s.op.listSelection(ControlId::MaterialParameter), -1);
}

TEST(DocumentFile, EdgesOfTheTextAndThePageCount)
{
    // A page of exactly 100 text bytes opens; a well-formed block of 101 is refused.
    for (int bytes : {100, 101}) {
        SCOPED_TRACE(bytes);
        JobSettings settings;
        PageChain chain;
        PageRecord &page = *chain.insertPageAfter(nullptr, settings);
        page.text.fill('w');
        page.textLength = 100;
        QByteArray file = encodeDocument(settings, chain, 1);
        if (bytes == 101) {
            file[19 + 57] = char(101);
            file.insert(19 + 58, 'w');
        }
        const DocumentContent content = readDocument(file, settings);
        EXPECT_EQ(content.ok, bytes == 100) << content.problem.toStdString();
        if (bytes == 100 && content.pages.size() == 1) {
            EXPECT_EQ(content.pages[0].textLength, 100);
            EXPECT_EQ(content.pages[0].text[99], 'w');
            EXPECT_EQ(content.pages[0].text[100], 0);
        }
    }

    // 200 pages open without a word; the 201st is left out and reported.
    QTemporaryDir dir;
    writeAll(dir.filePath("200.vtd"), documentOf(200));
    writeAll(dir.filePath("201.vtd"), documentOf(201));
    Session s;
    ASSERT_TRUE(s.documents.openPath(dir.filePath("200.vtd")));
    EXPECT_EQ(s.job.pageCount(), 200);
    EXPECT_TRUE(s.op.messages.empty());
    Session t;
    ASSERT_TRUE(t.documents.openPath(dir.filePath("201.vtd")));
    EXPECT_EQ(t.job.pageCount(), 200);
    EXPECT_EQ(t.job.model.cellText(199, ColLine1), "P200");
    ASSERT_EQ(t.op.messages.size(), 1u);
    EXPECT_TRUE(t.op.messages[0].text.contains(": 1 page of ")) << t.op.messages[0].text.toStdString();
}
