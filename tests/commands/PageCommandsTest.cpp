#include "commands/CellCommit.h"
#include "commands/PageCommands.h"
#include "common/ScriptedOperator.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

const QString kSup = QString(QChar(mark::superscript));
const QString kSub = QString(QChar(mark::subscript));

struct PageCommandsTest : ::testing::Test {
    Job job;
    ScriptedOperator op;
    CellCommit commit{job, op};
    PageCommands commands{job, op, &commit};

    void SetUp() override { ASSERT_TRUE(commands.add()); }

    // Pages with the given first lines, committed; the first page is current.
    void makePages(const QStringList &lines)
    {
        for (int i = job.pageCount(); i < lines.size(); ++i)
            commands.add();
        for (int i = 0; i < lines.size(); ++i) {
            job.model.setCellText(i, ColLine1, lines[i]);
            commit.commitCell(i, ColLine1);
        }
        job.refreshPage(0);
    }
    QString line1(int row) const { return job.model.cellText(row, ColLine1); }
    std::string recordText(int index) const
    {
        const PageRecord &p = job.chain[index];
        return std::string(reinterpret_cast<const char *>(p.text.data()), p.textLength);
    }
};

} // namespace

TEST_F(PageCommandsTest, AddFillsTheRowAndStopsAt200Pages)
{
    EXPECT_EQ(job.pageCount(), 1);
    EXPECT_TRUE(job.model.isChecked(0));
    EXPECT_EQ(job.model.cellText(0, ColCurrent), kCurrentStar);
    EXPECT_EQ(job.model.cellText(0, ColPage), "1");
    EXPECT_EQ(job.model.cellText(0, ColRepeat), "1");
    EXPECT_EQ(job.model.cellText(0, ColFontSize), "4");
    EXPECT_EQ(job.model.cellText(0, ColFrame), "None");
    EXPECT_EQ(job.model.cellText(0, ColDirection), "Horizontal");
    EXPECT_EQ(job.model.cellText(0, ColZoom), "100%");
    EXPECT_TRUE(job.modified);

    while (job.pageCount() < 199)
        ASSERT_TRUE(commands.add());
    EXPECT_TRUE(commands.add());
    EXPECT_EQ(job.pageCount(), 200);
    EXPECT_TRUE(op.messages.empty());

    const int current = job.currentIndex;
    EXPECT_FALSE(commands.add());
    EXPECT_EQ(op.messageTexts(), QStringList{"Get the MaxPage!"});
    EXPECT_EQ(op.messages[0].caption, "Prompt");
    EXPECT_EQ(job.pageCount(), 200);
    EXPECT_EQ(job.chain.size(), 200);
    EXPECT_EQ(job.currentIndex, current);
}

TEST_F(PageCommandsTest, AddInsertsAfterTheCurrentPageAndRenumbers)
{
    makePages({"A", "B", "C"});
    ASSERT_TRUE(commands.add());
    ASSERT_EQ(job.pageCount(), 4);
    EXPECT_EQ(job.currentIndex, 1);
    EXPECT_EQ(job.currentPage, &job.chain[1]);
    EXPECT_EQ(line1(0), "A");
    EXPECT_EQ(line1(1), "");
    EXPECT_EQ(line1(2), "B");
    EXPECT_EQ(recordText(2), "B");
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(job.model.cellText(row, ColPage), QString::number(row + 1));
        EXPECT_EQ(job.model.cellText(row, ColCurrent), row == 1 ? kCurrentStar : QString());
    }
    EXPECT_EQ(job.model.currentColumn(), ColPage);

    // With the last page current it appends.
    job.refreshPage(3);
    ASSERT_TRUE(commands.add());
    EXPECT_EQ(job.currentIndex, 4);
    EXPECT_EQ(line1(3), "C");
    EXPECT_EQ(job.chain.last(), job.currentPage);
}

TEST_F(PageCommandsTest, DeleteTheLastAMiddleAndTheOnlyPage)
{
    makePages({"A", "B", "C", "D"});
    job.refreshPage(3);
    commands.deletePage();
    ASSERT_EQ(job.pageCount(), 3);
    EXPECT_EQ(job.currentIndex, 2);
    EXPECT_EQ(job.currentPage, &job.chain[2]);
    EXPECT_EQ(recordText(2), "C");
    EXPECT_EQ(job.model.cellText(2, ColCurrent), kCurrentStar);

    job.refreshPage(1);
    commands.deletePage();
    ASSERT_EQ(job.pageCount(), 2);
    EXPECT_EQ(job.currentIndex, 1);
    EXPECT_EQ(line1(1), "C");
    EXPECT_EQ(recordText(1), "C");
    EXPECT_EQ(job.model.cellText(1, ColPage), "2");

    job.refreshPage(0);
    commands.deletePage();
    ASSERT_EQ(job.pageCount(), 1);
    EXPECT_EQ(line1(0), "C");
    EXPECT_EQ(job.pageHead(), job.currentPage);

    // The only page is emptied, its settings and check box stay.
    job.model.setCellText(0, ColLine2, "second");
    commit.commitCell(0, ColLine2);
    job.model.setChecked(0, false);
    job.currentPage->repeat = 7;
    job.modified = false;
    commands.deletePage();
    EXPECT_EQ(job.pageCount(), 1);
    EXPECT_EQ(line1(0), "");
    EXPECT_EQ(job.model.cellText(0, ColLine2), "");
    EXPECT_EQ(job.currentPage->textLength, 0);
    for (auto b : job.currentPage->text)
        ASSERT_EQ(b, 0);
    EXPECT_EQ(job.currentPage->twoLines, 0);
    EXPECT_EQ(job.currentPage->repeat, 7);
    EXPECT_FALSE(job.model.isChecked(0));
    EXPECT_EQ(job.model.cellText(0, ColRepeat), "1");
    EXPECT_TRUE(job.modified);
    EXPECT_GE(op.tableFocusCount, 4);
}

TEST_F(PageCommandsTest, MarksAppendOnceAndAreCommittedLater)
{
    // Right after Add the current column is 2: the mark goes to the 1st line.
    commands.supscript();
    EXPECT_EQ(line1(0), kSup);
    EXPECT_EQ(job.currentPage->superscriptCount, 1);
    EXPECT_EQ(job.currentPage->scriptCount, 1);
    // The commit is queued, not run inside the command.
    EXPECT_EQ(job.currentPage->textLength, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(job.currentPage->textLength, 2); // AA F2 in code page 936

    commands.supscript();
    EXPECT_EQ(line1(0), kSup);
    EXPECT_EQ(job.currentPage->superscriptCount, 1);

    // The end test compares with the same mark only.
    commands.subscript();
    EXPECT_EQ(line1(0), kSup + kSub);
    EXPECT_EQ(job.currentPage->subscriptCount, 1);
    EXPECT_EQ(job.currentPage->scriptCount, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(job.currentPage->textLength, 4);
    EXPECT_EQ(job.model.currentColumn(), ColPage);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(PageCommandsTest, MarksRespectThe100CharacterLimit)
{
    job.model.setCellText(0, ColLine1, QString(99, 'x'));
    commands.supscript();
    EXPECT_EQ(line1(0).size(), 100);
    EXPECT_TRUE(op.messages.empty());

    commands.subscript();
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_EQ(line1(0).size(), 100);
    EXPECT_EQ(job.currentPage->subscriptCount, 0);
    QCoreApplication::processEvents();
}

TEST_F(PageCommandsTest, MarkOnTheSecondLineNeedsASmallFont)
{
    job.model.setCellText(0, ColLine1, "A");
    job.model.setCurrentColumn(ColLine2);
    commands.supscript();
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Font size is too big, not suitable for double line, please choose 1-3 fonts!"});
    EXPECT_EQ(job.model.cellText(0, ColLine2), "");
    EXPECT_EQ(line1(0), "A");

    op.messages.clear();
    job.currentPage->fontSize = 3;
    commands.supscript();
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(job.model.cellText(0, ColLine2), kSup);
    QCoreApplication::processEvents();
    EXPECT_EQ(job.currentPage->twoLines, 1);
}

TEST_F(PageCommandsTest, HeaderCheckBoxTogglesEveryRow)
{
    makePages({"A", "B", "C"});
    job.model.setChecked(1, false);
    EXPECT_EQ(job.model.headerCheckState(), 2);
    commands.headerClicked(ColCheck);
    EXPECT_EQ(job.model.headerCheckState(), 1);
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(job.model.isChecked(row));
    commands.headerClicked(ColCheck);
    EXPECT_EQ(job.model.headerCheckState(), 2);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(job.model.isChecked(row));
    commands.headerClicked(ColPage);
    EXPECT_EQ(job.model.headerCheckState(), 2);
    EXPECT_TRUE(job.model.isChecked(0));
}
