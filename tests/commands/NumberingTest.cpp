#include "commands/CellCommit.h"
#include "commands/DocumentCommands.h"
#include "commands/Numbering.h"
#include "commands/PageCommands.h"
#include "commands/TextLimit.h"
#include "common/ScriptedOperator.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

const QChar kDecimal(mark::numberDecimal);
const QChar kPadded(mark::numberPadded);
const QChar kUpper(mark::numberUpper);
const QChar kLower(mark::numberLower);

NumberChoice choose(NumberKind kind, const char *start, const char *end)
{
    NumberChoice c;
    c.kinds[static_cast<std::size_t>(kind)] = 1;
    setAscii(c.serialStart, start);
    setAscii(c.serialEnd, end);
    return c;
}

struct NumberingTest : ::testing::Test {
    Job job;
    ScriptedOperator op;
    CellCommit commit{job, op};
    PageCommands commands{job, op, &commit};

    void SetUp() override
    {
        enterPressed = false;
        commands.add();
        commands.add();
        job.refreshPage(0);
        op.messages.clear();
    }
    void type(int row, int column, const QString &text)
    {
        job.model.setCellText(row, column, text);
        commit.commitCell(row, column);
    }
    QString cell(int row, int column) const { return job.model.cellText(row, column); }
};

} // namespace

TEST_F(NumberingTest, TheChosenKindsMarkReplacesAnotherAndIsAddedOnce)
{
    EXPECT_EQ(withNumberMark("W-", NumberKind::Padded), QString("W-") + kPadded);
    EXPECT_EQ(withNumberMark(QString("W") + kDecimal + "-", NumberKind::Padded), QString("W") + kPadded + "-");
    EXPECT_EQ(withNumberMark(QString("A") + kLower, NumberKind::Upper), QString("A") + kUpper);
    EXPECT_EQ(withNumberMark(QString("A") + kUpper, NumberKind::Lower), QString("A") + kLower);
    EXPECT_EQ(withNumberMark(QString("A") + kPadded, NumberKind::Decimal), QString("A") + kDecimal);
    EXPECT_EQ(withNumberMark(QString(kLower) + "B", NumberKind::Lower), QString(kLower) + "B");
}

TEST_F(NumberingTest, SetNumberStoresTheChoiceAndMarksTheCurrentCell)
{
    type(0, ColLine1, "W-");
    type(0, ColLine2, "X");
    job.model.setCurrentColumn(ColLine2);

    // Cancel: nothing changes.
    op.numberAnswers.push_back(std::nullopt);
    setNumberCommand(job, op);
    EXPECT_EQ(cell(0, ColLine2), "X");
    EXPECT_EQ(job.chain[0].numbered, 0);

    op.numberAnswers.push_back(choose(NumberKind::Decimal, "8", "11"));
    setNumberCommand(job, op);
    EXPECT_EQ(cell(0, ColLine1), "W-");
    EXPECT_EQ(cell(0, ColLine2), QString("X") + kDecimal);
    PageRecord &p = job.chain[0];
    EXPECT_EQ(p.numbered, 1);
    EXPECT_EQ(p.numberDecimal, 1);
    EXPECT_EQ(asciiView(p.serialStart), "8");
    EXPECT_EQ(asciiView(p.serialEnd), "11");
    // The page follows its cell: the mark is its one-byte code, the run counted.
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(p.text.data()), p.textLength), "W-\x1aX\x12");
    EXPECT_EQ(p.serialCount, 4);
    EXPECT_EQ(p.printCount, 4);

    // Reopening shows the page's kind and range; another kind replaces the mark.
    op.numberAnswers.push_back(choose(NumberKind::Padded, "007", "012"));
    setNumberCommand(job, op);
    ASSERT_EQ(op.numberingShown.size(), 3u);
    EXPECT_EQ(op.numberingShown[2], choose(NumberKind::Decimal, "8", "11"));
    EXPECT_EQ(cell(0, ColLine2), QString("X") + kPadded);
    EXPECT_EQ(p.numberDecimal, 0);
    EXPECT_EQ(p.numberPadded, 1);
    EXPECT_EQ(asciiView(p.serialStart), "007");

    // Any column but the 2nd line means the 1st line.
    job.refreshPage(1);
    job.model.setCurrentColumn(ColRepeat);
    op.numberAnswers.push_back(choose(NumberKind::Upper, "A", "C"));
    setNumberCommand(job, op);
    EXPECT_EQ(cell(1, ColLine1), QString(kUpper));
    EXPECT_EQ(job.chain[1].numberUpper, 1);
    EXPECT_EQ(job.chain[0].numberPadded, 1);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(NumberingTest, SetNumberRefusesOnlyWhatWouldNotFit)
{
    // 99 characters and the mark, stored as one byte, make 100: they fit.
    type(0, ColLine1, QString(99, 'a'));
    job.model.setCurrentColumn(ColLine1);
    op.numberAnswers.push_back(choose(NumberKind::Decimal, "1", "5"));
    setNumberCommand(job, op);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(cell(0, ColLine1), QString(99, 'a') + kDecimal);
    EXPECT_EQ(job.chain[0].textLength, 100);

    // With a second line the page no longer fits; nothing is stored.
    type(1, ColLine1, QString(60, 'a'));
    type(1, ColLine2, QString(39, 'b'));
    job.refreshPage(1);
    op.numberAnswers.push_back(choose(NumberKind::Decimal, "1", "5"));
    setNumberCommand(job, op);
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_EQ(cell(1, ColLine1), QString(60, 'a'));
    EXPECT_EQ(job.chain[1].numbered, 0);
    EXPECT_EQ(asciiView(job.chain[1].serialStart), "");
}

TEST_F(NumberingTest, CommitCountsTheSerialMarkAsTheOneByteItIsStoredAs)
{
    type(0, ColLine1, QString(99, 'a') + kPadded);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(job.chain[0].textLength, 100);
    EXPECT_EQ(job.chain[0].text[99], ctl::numberPadded);
    EXPECT_EQ(job.chain[0].numberPadded, 1);

    // One more character does not fit and is refused, not cut.
    type(0, ColLine1, QString(100, 'a') + kPadded);
    EXPECT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_EQ(job.chain[0].text[99], ctl::numberPadded);
}

TEST_F(NumberingTest, SaveNamesPagesWhoseTextWouldBeCutAndAsksFirst)
{
    QTemporaryDir dir;
    DocumentCommands documents(job, op, commands);
    type(0, ColLine1, "short");
    type(1, ColLine1, QString(101, 'x'));
    ASSERT_EQ(op.messageTexts(), QStringList{"Input is over length!"});
    EXPECT_EQ(overlongRows(job, false, false), QList<int>{1});

    op.messages.clear();
    const QString path = dir.filePath("job.vtd");
    op.answers.push_back(Answer::No);
    EXPECT_FALSE(documents.saveTo(path));
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "The text of page 2 is longer than 100 bytes: only its first 100 bytes would be "
                                   "saved.\nSave anyway?");
    EXPECT_EQ(op.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(cell(1, ColLine1), QString(101, 'x'));

    op.answers.push_back(Answer::Yes);
    EXPECT_TRUE(documents.saveTo(path));
    EXPECT_TRUE(QFile::exists(path));

    // Print counts only checked pages, and its shorter form of the marks.
    EXPECT_EQ(overlongRows(job, true, true), QList<int>{1});
    job.model.setChecked(1, false);
    EXPECT_TRUE(overlongRows(job, true, true).isEmpty());
    op.messages.clear();
    EXPECT_TRUE(mayCutOverlongPages(job, op, TextUse::Print));
    EXPECT_TRUE(op.messages.empty());
    job.model.setCellText(0, ColLine1, QString(99, 'a') + QChar(mark::superscript));
    EXPECT_EQ(overlongRows(job, false, false), QList<int>({0, 1}));
    EXPECT_TRUE(overlongRows(job, true, false).contains(1));
    EXPECT_FALSE(overlongRows(job, true, false).contains(0));

    // A text refused for a character the printer lacks asks the same way.
    job.model.setCellText(0, ColLine1, QStringLiteral("X1\u00b2"));
    job.model.setCellText(1, ColLine1, QStringLiteral("A\u2713B"));
    op.messages.clear();
    op.answers.push_back(Answer::No);
    EXPECT_FALSE(mayCutOverlongPages(job, op, TextUse::Save));
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, QStringLiteral("Pages 1, 2 hold characters that cannot be printed: \"\u00b2\" "
                                                  "(U+00B2), \"\u2713\" (U+2713). They would be saved as \"?\".\n"
                                                  "Save anyway?"));
    op.messages.clear();
    EXPECT_TRUE(mayCutOverlongPages(job, op, TextUse::Print)) << "page 2 is not checked";
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_TRUE(op.messages[0].text.startsWith("Page 1 holds characters that cannot be printed"));
}
