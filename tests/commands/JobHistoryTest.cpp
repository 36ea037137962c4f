#include "commands/CellCommit.h"
#include "commands/DocumentCommands.h"
#include "commands/JobHistory.h"
#include "commands/PageCommands.h"
#include "common/Files.h"
#include "common/ScriptedOperator.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

struct JobHistoryTest : ::testing::Test {
    Job job;
    ScriptedOperator op;
    CellCommit commit{job, op};
    PageCommands pages{job, op, &commit};
    DocumentCommands documents{job, op, pages};
    std::unique_ptr<JobHistory> history;

    void SetUp() override
    {
        pages.add();
        history = std::make_unique<JobHistory>(job);
    }
    void type(int row, const QString &text)
    {
        job.model.setCellText(row, ColLine1, text);
        commit.commitCell(row, ColLine1);
        history->record();
    }
    QString line1(int row) const { return job.model.cellText(row, ColLine1); }
    QByteArray recordText(int index) const
    {
        const PageRecord &p = job.chain[index];
        return QByteArray(reinterpret_cast<const char *>(p.text.data()), p.textLength);
    }
};

} // namespace

TEST_F(JobHistoryTest, TypedCellsAndDeletesGoBackAndForthAndTheSavedStateComesBack)
{
    EXPECT_FALSE(job.modified);
    type(0, "K1");
    pages.add();
    history->record();
    type(1, "K2");
    history->markSaved(); // as after Save
    EXPECT_FALSE(job.modified);

    // Choosing another page is no step and no change.
    job.refreshPage(0);
    history->record();
    EXPECT_FALSE(job.modified);

    pages.deletePage(); // deletes K1, the current page
    history->record();
    ASSERT_EQ(job.pageCount(), 1);
    EXPECT_TRUE(job.modified);

    ASSERT_TRUE(history->undo());
    ASSERT_EQ(job.pageCount(), 2);
    EXPECT_EQ(line1(0), "K1");
    EXPECT_EQ(recordText(0), "K1");
    EXPECT_EQ(line1(1), "K2");
    EXPECT_EQ(job.chain.size(), 2);
    EXPECT_EQ(job.model.cellText(0, ColCurrent), kCurrentStar);
    EXPECT_EQ(job.currentPage, &job.chain[0]);
    EXPECT_FALSE(job.modified) << "back at the saved state";

    ASSERT_TRUE(history->undo()); // the typed K2
    EXPECT_EQ(line1(1), "");
    EXPECT_EQ(recordText(1), "");
    EXPECT_TRUE(job.modified);

    ASSERT_TRUE(history->redo());
    ASSERT_TRUE(history->redo());
    EXPECT_EQ(job.pageCount(), 1);
    EXPECT_EQ(line1(0), "K2");
    EXPECT_FALSE(history->canRedo());

    // A new change after an undo drops what could be redone.
    ASSERT_TRUE(history->undo());
    type(0, "K9");
    EXPECT_FALSE(history->canRedo());
    EXPECT_EQ(line1(0), "K9");
}

TEST_F(JobHistoryTest, AnImportAndASettingAreOneStepEach)
{
    type(0, "before");
    QTemporaryDir dir;
    const QString csv = dir.filePath("in.csv");
    vt::test::writeAll(csv, "A1;B1;2\nA2\nA3\n");
    ASSERT_TRUE(documents.importPath(csv));
    history->record();
    ASSERT_EQ(job.pageCount(), 3);

    job.settings.materialIndex = Tube;
    job.settings.copies = 5;
    history->record();

    ASSERT_TRUE(history->undo());
    EXPECT_EQ(job.settings.materialIndex, Label);
    EXPECT_EQ(job.settings.copies, 1);
    EXPECT_EQ(job.pageCount(), 3);

    ASSERT_TRUE(history->undo());
    ASSERT_EQ(job.pageCount(), 1);
    EXPECT_EQ(line1(0), "before");
    EXPECT_EQ(recordText(0), "before");
    EXPECT_TRUE(job.modified);

    ASSERT_TRUE(history->undo());
    EXPECT_EQ(line1(0), "");
    EXPECT_FALSE(job.modified) << "the job as it started";
    EXPECT_FALSE(history->canUndo());
}

TEST(JobSettingsShown, CutLettersAndMaterialsSelectTheirEntries)
{
    ScriptedOperator op;
    op.fillList(ControlId::CutSetting, {"Nil", "Half-cut", "Cutting Line"});
    op.fillList(ControlId::Material, {"Tube", "Label", "Heat Shrink Tube"});
    op.fillList(ControlId::Density, {"1", "2", "3", "4", "5", "6"});
    const struct {
        char cut;
        int entry;
    } cuts[] = {{'N', 0}, {'C', 1}, {'L', 2}, {'X', 2}};
    JobSettings s;
    for (const auto &c : cuts) {
        s.cutMode = c.cut;
        showJobSettings(op, s);
        EXPECT_EQ(op.listSelection(ControlId::CutSetting), c.entry) << c.cut << " (another letter keeps the entry)";
    }
    const QStringList tube{"3.0", "4.0", "5.0", "6.0"};
    const QStringList sizes[] = {tube, {"6 mm", "9 mm", "12mm"}, tube};
    for (int material = 0; material < 3; ++material) {
        s.materialIndex = material;
        s.sizeIndex = material + 1;
        showJobSettings(op, s);
        EXPECT_EQ(op.lists.value(ControlId::MaterialParameter), sizes[material]) << material;
        EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), material + 1) << material;
    }
}
