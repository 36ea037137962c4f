#include "commands/CellCommit.h"
#include "commands/PageCommands.h"
#include "common/ScriptedOperator.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

const QString kFontTooBig =
    QStringLiteral("Font size is too big, not suitable for double line, please choose 1-3 fonts!");

struct CellCommitTest : ::testing::Test {
    Job job;
    ScriptedOperator op;
    CellCommit commit{job, op};
    PageCommands commands{job, op, &commit};

    void SetUp() override
    {
        enterPressed = false;
        op.fillList(ControlId::FontSize, {"Auto Size", "1", "2", "3", "4", "5", "6"});
        op.fillList(ControlId::Zoom, {"100%", "50%"});
        op.fillList(ControlId::Frame, {"None", "Frame", "Underline"});
        op.fillList(ControlId::Direction, {"Horizontal", "Vertical"});
    }
    void TearDown() override { enterPressed = false; }

    void pages(int count)
    {
        while (job.pageCount() < count)
            commands.add();
        job.refreshPage(0);
        op.messages.clear();
    }
    // What the table does when an edit ends: the cell gets the text, then the commit.
    void type(int row, int column, const QString &text, bool enter = false)
    {
        if (enter)
            enterPressed = true;
        job.model.setCellText(row, column, text);
        commit.pageTableMessage(tablemsg::commitCell, row, column);
    }
    std::string recordText(int index) const
    {
        const PageRecord &p = job.chain[index];
        return std::string(reinterpret_cast<const char *>(p.text.data()), p.textLength);
    }
};

} // namespace

TEST_F(CellCommitTest, RowChosenMakesThePageCurrentAndShowsItsSettings)
{
    pages(3);
    PageRecord &p = job.chain[2];
    p.fontSize = 2;
    p.halfZoom = 1;
    p.frame = 'L';
    setAscii(p.direction, "13");
    commit.pageTableMessage(tablemsg::rowChosen, 2, ColPage);
    EXPECT_EQ(job.currentIndex, 2);
    EXPECT_EQ(job.currentPage, &p);
    EXPECT_EQ(job.model.cellText(2, ColCurrent), kCurrentStar);
    EXPECT_EQ(job.model.cellText(0, ColCurrent), "");
    EXPECT_EQ(op.listSelection(ControlId::FontSize), 2);
    EXPECT_EQ(op.listSelection(ControlId::Zoom), 1);
    EXPECT_EQ(op.listSelection(ControlId::Frame), 2);
    EXPECT_EQ(op.listSelection(ControlId::Direction), 1);

    // A row past the end changes nothing.
    commit.pageTableMessage(tablemsg::rowChosen, 3, ColPage);
    EXPECT_EQ(job.currentIndex, 2);
    // With "Auto Size" as the default the font list is left alone.
    job.settings.defaultAutoFontSize = 1;
    commit.rowChosen(0);
    EXPECT_EQ(op.listSelection(ControlId::FontSize), 2);
    EXPECT_EQ(op.listSelection(ControlId::Frame), 0);
}

TEST_F(CellCommitTest, SecondLineGuardRefusesBigFontsOnSingleLinePages)
{
    pages(1);
    PageRecord &p = *job.currentPage;
    EXPECT_EQ(commit.pageTableMessage(tablemsg::mayEditCell, 0, ColLine1), 1);
    EXPECT_EQ(commit.pageTableMessage(tablemsg::mayEditCell, 0, ColRepeat), 1);
    EXPECT_TRUE(op.messages.empty());

    EXPECT_EQ(p.fontSize, 4);
    EXPECT_EQ(commit.pageTableMessage(tablemsg::mayEditCell, 0, ColLine2), 0);
    EXPECT_EQ(op.messageTexts(), QStringList{kFontTooBig});

    op.messages.clear();
    p.fontSize = 3;
    EXPECT_EQ(commit.pageTableMessage(tablemsg::mayEditCell, 0, ColLine2), 1);
    p.fontSize = 6;
    p.twoLines = 1;
    EXPECT_EQ(commit.pageTableMessage(tablemsg::mayEditCell, 0, ColLine2), 1);
    p.twoLines = 0;
    p.autoFontSize = 1;
    EXPECT_EQ(commit.pageTableMessage(tablemsg::mayEditCell, 0, ColLine2), 1);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CellCommitTest, TextOverOneHundredCharactersIsRefusedButStaysInTheCell)
{
    pages(1);
    PageRecord &p = *job.currentPage;
    type(0, ColLine1, QString(60, 'a'));
    EXPECT_EQ(p.textLength, 60);
    EXPECT_EQ(p.twoLines, 0);

    // 60 + separator + 40 = 101.
    type(0, ColLine2, QString(40, 'b'));
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_EQ(job.model.cellText(0, ColLine2), QString(40, 'b'));
    EXPECT_EQ(p.textLength, 60);
    EXPECT_EQ(p.twoLines, 1); // set before the length check

    op.messages.clear();
    type(0, ColLine2, QString(39, 'b'));
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(p.textLength, 100);
    EXPECT_EQ(recordText(0), std::string(60, 'a') + '\x1a' + std::string(39, 'b'));
    EXPECT_EQ(p.text[100], 0);

    // Emptying the second line makes it a single-line page again.
    type(0, ColLine2, "");
    EXPECT_EQ(p.twoLines, 0);
    EXPECT_EQ(recordText(0), std::string(60, 'a'));
}

// A typed (or pasted) character the page cannot hold is refused and named;
// the cell keeps the text, the page keeps its last accepted one.
TEST_F(CellCommitTest, UnprintableCharacterIsRefusedAndNamed)
{
    pages(2);
    type(0, ColLine1, QStringLiteral("X1"));
    op.editedCells.clear();
    job.modified = false;

    type(0, ColLine1, QStringLiteral("X1\u00B2"), true);
    EXPECT_EQ(op.messageTexts(), QStringList{QStringLiteral("X1\u00B2: \"\u00B2\" (U+00B2) cannot be printed")});
    EXPECT_EQ(job.model.cellText(0, ColLine1), QStringLiteral("X1\u00B2"));
    EXPECT_EQ(recordText(0), "X1");
    EXPECT_TRUE(job.modified);
    EXPECT_FALSE(enterPressed);
    EXPECT_TRUE(op.editedCells.empty());
}

TEST_F(CellCommitTest, DoubleByteTextOverOneHundredBytesIsRefusedNotCut)
{
    pages(1);
    // 50 two-byte characters fill the page exactly.
    type(0, ColLine1, QString(50, QChar(0x4E2D)));
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(job.currentPage->textLength, 100);

    // 'A' and 50 two-byte characters: 101 bytes in 51 characters. Stored cut,
    // the page would print and save without its last character, unseen.
    type(0, ColLine1, "A" + QString(50, QChar(0x4E2D)), true);
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_EQ(job.model.cellText(0, ColLine1), "A" + QString(50, QChar(0x4E2D)));
    EXPECT_EQ(job.currentPage->textLength, 100);
    EXPECT_EQ(job.currentPage->text[0], 0xD6); // the page keeps its last accepted text
    EXPECT_FALSE(enterPressed);
    EXPECT_EQ(job.pageCount(), 1);

    // A mark on a full line of 99 characters is two bytes more: refused too.
    op.messages.clear();
    type(0, ColLine1, QString(99, 'a') + QChar(mark::superscript));
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
}

TEST_F(CellCommitTest, SpecifiedLengthWithAutomaticFontRefusesTextThatDoesNotFit)
{
    pages(1);
    PageRecord &p = *job.currentPage;
    p.autoLength = 0;
    p.autoFontSize = 1;
    p.fontSize = 4;
    setAscii(p.lengthCode, "30");
    p.lengthDots = p.adjustedLengthDots = 30 * kDotsPerMm;
    type(0, ColLine1, "AB");
    EXPECT_TRUE(op.messages.empty());

    type(0, ColLine1, QString(90, 'W'));
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    // The text stays in the page and in the cell.
    EXPECT_EQ(p.textLength, 90);
    EXPECT_EQ(job.model.cellText(0, ColLine1), QString(90, 'W'));
}

TEST_F(CellCommitTest, RepeatOutsideItsRangeIsRefusedAndPutBack)
{
    pages(2);
    PageRecord &p = *job.currentPage;
    type(0, ColRepeat, "25");
    EXPECT_EQ(p.repeat, 25);
    EXPECT_EQ(asciiView(p.repeatDigits), "0025");
    EXPECT_EQ(asciiView(p.repeatText), "25");

    for (const char *bad : {"0", "101", "", "99999999999999"}) {
        op.messages.clear();
        type(0, ColRepeat, bad, /*enter*/ true);
        EXPECT_EQ(op.messageTexts(), QStringList{"Repetition should be in [1-100] , setting  is  invalid!"}) << bad;
        EXPECT_EQ(job.model.cellText(0, ColRepeat), "25") << bad;
        EXPECT_EQ(p.repeat, 25);
        // A refused commit neither advances nor leaves Enter pending.
        EXPECT_FALSE(enterPressed);
        EXPECT_TRUE(op.editedCells.empty());
        EXPECT_EQ(job.currentIndex, 0);
    }

    // The editor lets '.' through; the leading digits count.
    op.messages.clear();
    type(0, ColRepeat, "12.5");
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(p.repeat, 12);
    type(0, ColRepeat, "100");
    EXPECT_EQ(p.repeat, 100);
}

TEST_F(CellCommitTest, EnterMovesTheEditorOnOrAddsAPage)
{
    pages(4);
    type(0, ColLine1, "A", true);
    EXPECT_FALSE(enterPressed);
    EXPECT_EQ(job.currentIndex, 1);
    ASSERT_EQ(op.editedCells.size(), 1u);
    EXPECT_EQ(op.editedCells.back(), std::make_pair(1, int(ColLine1)));

    type(1, ColRepeat, "3", true);
    EXPECT_EQ(op.editedCells.back(), std::make_pair(2, int(ColRepeat)));

    // From a 2nd line: pages with a big or automatic font are skipped.
    job.chain[1].fontSize = 5;
    job.chain[2].autoFontSize = 1;
    job.chain[2].fontSize = 2;
    job.chain[3].fontSize = 3;
    job.refreshPage(0);
    type(0, ColLine2, "x", true);
    EXPECT_EQ(job.currentIndex, 3);
    EXPECT_EQ(op.editedCells.back(), std::make_pair(3, int(ColLine2)));

    // No such page: the next row's 1st line.
    job.chain[3].fontSize = 4;
    job.refreshPage(0);
    type(0, ColLine2, "y", true);
    EXPECT_EQ(job.currentIndex, 1);
    EXPECT_EQ(op.editedCells.back(), std::make_pair(1, int(ColLine1)));

    // Enter in the last row adds a page and edits its 1st line.
    job.refreshPage(3);
    type(3, ColLine1, "D", true);
    EXPECT_EQ(job.pageCount(), 5);
    EXPECT_EQ(job.currentIndex, 4);
    EXPECT_EQ(op.editedCells.back(), std::make_pair(4, int(ColLine1)));

    // Without Enter nothing moves.
    const auto edits = op.editedCells.size();
    type(4, ColLine1, "E");
    EXPECT_EQ(op.editedCells.size(), edits);
    EXPECT_EQ(job.currentIndex, 4);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CellCommitTest, RefusedTextClearsEnterSoALaterCommitDoesNotAdvance)
{
    pages(3);
    type(0, ColLine1, QString(101, 'x'), true);
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_FALSE(enterPressed);
    type(0, ColLine1, "ok"); // ended by a click, not by Enter
    EXPECT_TRUE(op.editedCells.empty());
    EXPECT_EQ(job.currentIndex, 0);
}

TEST_F(CellCommitTest, CommitWritesTheRowsOwnPageAndTracksChanges)
{
    pages(3);
    job.modified = false;
    type(0, ColLine1, "");
    EXPECT_FALSE(job.modified); // nothing changed
    type(0, ColRepeat, "1");
    EXPECT_FALSE(job.modified);

    // A commit queued for row 0 arrives after row 2 was clicked.
    job.model.setCellText(0, ColLine1, "zero");
    commit.rowChosen(2);
    commit.commitCell(0, ColLine1);
    EXPECT_EQ(recordText(0), "zero");
    EXPECT_EQ(recordText(2), "");
    EXPECT_TRUE(job.modified);

    // A commit for a row that is gone is dropped.
    commit.commitCell(7, ColLine1);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CellCommitTest, EnterInTheLastRowFromEveryColumnAddsAPageAndEditsItsFirstLine)
{
    pages(2);
    job.chain[1].fontSize = 3;
    const struct {
        int column;
        const char *text;
    } edits[] = {{ColLine1, "A"}, {ColLine2, "b"}, {ColRepeat, "4"}};
    for (const auto &e : edits) {
        SCOPED_TRACE(e.column);
        const int last = job.pageCount() - 1;
        job.chain[last].fontSize = 3;
        job.refreshPage(last);
        type(last, e.column, e.text, true);
        EXPECT_TRUE(op.messages.empty());
        EXPECT_EQ(job.pageCount(), last + 2);
        EXPECT_EQ(job.currentIndex, last + 1);
        ASSERT_FALSE(op.editedCells.empty());
        EXPECT_EQ(op.editedCells.back(), std::make_pair(last + 1, int(ColLine1)));
    }

    // At 200 pages Enter in the last row adds nothing and opens no editor.
    while (job.pageCount() < kMaxPages)
        commands.add();
    op.messages.clear();
    op.editedCells.clear();
    job.refreshPage(kMaxPages - 1);
    type(kMaxPages - 1, ColLine1, "Z", true);
    EXPECT_EQ(op.messageTexts(), QStringList{"Get the MaxPage!"});
    EXPECT_EQ(job.pageCount(), kMaxPages);
    EXPECT_TRUE(op.editedCells.empty());
    EXPECT_FALSE(enterPressed);
}
