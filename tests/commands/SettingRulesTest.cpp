#include "commands/CellCommit.h"
#include "commands/PageCommands.h"
#include "commands/SettingRules.h"
#include "common/ScriptedOperator.h"
#include "layout/FontMetrics.h"
#include "model/Digits.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

const QString kNoInteger = QStringLiteral("请键入一个整数。");

struct SettingRulesTest : ::testing::Test {
    Job job;
    ScriptedOperator op;
    int lengthValue = 25, repeatValue = 1, copiesValue = 1;
    SettingRules rules{job, op, {lengthValue, repeatValue, copiesValue}};
    CellCommit commit{job, op};
    PageCommands commands{job, op, &commit};

    void SetUp() override
    {
        enterPressed = false;
        op.fillList(ControlId::FontSize, {"Auto Size", "1", "2", "3", "4", "5", "6"});
        op.fillList(ControlId::Material, {"Tube", "Label", "Heat Shrink Tube"});
        op.fillList(ControlId::MaterialParameter, sizeEntriesFor(Label));
        op.selectListEntry(ControlId::MaterialParameter, 1);
        op.setEdit(ControlId::LengthEdit, 25);
        op.setEdit(ControlId::RepeatEdit, 1);
        op.setEdit(ControlId::CopiesEdit, 1);
        currentPageOnly(true);
    }

    void currentPageOnly(bool on)
    {
        op.setControlChecked(ControlId::CurrentPage, on);
        op.setControlChecked(ControlId::FollowingPage, !on);
    }
    // `texts` pages, each with its first line committed as typed; page
    // `current` is the current one.
    void pages(const QStringList &texts, int current = 0)
    {
        while (job.pageCount() < texts.size())
            commands.add();
        for (int row = 0; row < texts.size(); ++row) {
            job.model.setCellText(row, ColLine1, texts[row]);
            commit.commitCell(row, ColLine1);
        }
        job.refreshPage(current);
        op.messages.clear();
    }
    void secondLine(int row, const QString &text)
    {
        job.model.setCellText(row, ColLine2, text);
        commit.commitCell(row, ColLine2);
    }
    // A specified length set directly, as a file would bring it.
    void specify(int row, int mm)
    {
        PageRecord &p = job.chain[row];
        p.autoLength = 0;
        setAscii(p.lengthCode, asciiView(decimalText(mm)));
        p.lengthDots = static_cast<std::int16_t>(mm * kDotsPerMm);
        measurePage(p, job.settings);
    }
    QString cell(int row, int column) const { return job.model.cellText(row, column); }
};

} // namespace

TEST_F(SettingRulesTest, RepeatSetChangesTheScopeAndRefusesOutOfRange)
{
    pages({"A", "B", "C", "D"}, 1);
    op.setEdit(ControlId::RepeatEdit, 5);
    rules.repeatSetClicked();
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(repeatValue, 5);
    EXPECT_EQ(cell(1, ColRepeat), "5");
    EXPECT_EQ(job.chain[1].repeat, 5);
    EXPECT_EQ(asciiView(job.chain[1].repeatDigits), "0005");
    EXPECT_EQ(asciiView(job.chain[1].repeatText), "5");
    for (int row : {0, 2, 3}) {
        EXPECT_EQ(cell(row, ColRepeat), "1") << row;
        EXPECT_EQ(job.chain[row].repeat, 1) << row;
    }
    EXPECT_EQ(job.settings.defaultRepeat, 5);

    // Following Page: from the current page to the last; pages above keep theirs.
    currentPageOnly(false);
    job.refreshPage(2);
    op.setEdit(ControlId::RepeatEdit, 7);
    rules.repeatSetClicked();
    const QStringList expected{"1", "5", "7", "7"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(cell(row, ColRepeat), expected[row]) << row;
        EXPECT_EQ(QString::number(job.chain[row].repeat), expected[row]) << row;
    }
    EXPECT_EQ(job.pageCursor, &job.chain[3]);

    // Out of range: the value and the edit become 1, no page changes.
    for (int bad : {0, 101}) {
        op.messages.clear();
        op.setEdit(ControlId::RepeatEdit, bad);
        rules.repeatSetClicked();
        EXPECT_EQ(op.messageTexts(), QStringList{"Repetition should be in (1-100)!"}) << bad;
        EXPECT_EQ(repeatValue, 1);
        EXPECT_EQ(op.readEdit(ControlId::RepeatEdit), 1);
        EXPECT_EQ(cell(3, ColRepeat), "7");
        EXPECT_EQ(job.settings.defaultRepeat, 7);
    }
    op.messages.clear();
    op.setEdit(ControlId::RepeatEdit, 100);
    rules.repeatSetClicked();
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(cell(3, ColRepeat), "100");
}

TEST_F(SettingRulesTest, BoundEditsAreReadInOrderAndStopAtTheFirstNonInteger)
{
    pages({"A"});
    repeatValue = 3;
    // The length edit is read first: its refusal stops the exchange, so the
    // repeat edit's 9 is never read and the rule goes on with 3.
    op.setEditText(ControlId::LengthEdit, "7.5");
    op.setEdit(ControlId::RepeatEdit, 9);
    op.setEdit(ControlId::CopiesEdit, 4);
    rules.repeatSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{kNoInteger});
    EXPECT_EQ(op.focusedEdits, std::vector<ControlId>{ControlId::LengthEdit});
    EXPECT_EQ(job.chain[0].repeat, 3);
    EXPECT_EQ(copiesValue, 1);

    // A later edit without an integer: the ones before it are taken.
    op.messages.clear();
    op.setEdit(ControlId::LengthEdit, 40);
    op.setEditText(ControlId::CopiesEdit, "");
    rules.repeatSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{kNoInteger});
    EXPECT_EQ(lengthValue, 40);
    EXPECT_EQ(job.chain[0].repeat, 9);

    EXPECT_EQ(editInteger(" -12 "), -12);
    EXPECT_EQ(editInteger("12a"), std::nullopt);
    EXPECT_EQ(editInteger(""), std::nullopt);
}

TEST_F(SettingRulesTest, LengthSetRefusesOutOfRangeAndPagesThatDoNotFit)
{
    // At font 4 and spacing 1, 8 letters need 327 dots, 7 need 286; 30 mm
    // leave 360 - 48 = 312.
    pages({"ABCDEFGH", "ABCDEFG", "ABCDEFGH"});
    specify(0, 40);
    currentPageOnly(false);

    for (int bad : {5, 151}) {
        op.messages.clear();
        op.setEdit(ControlId::LengthEdit, bad);
        rules.lengthSetClicked();
        EXPECT_EQ(op.messageTexts(), QStringList{"Segment Lenth should be in (6-150)!"}) << bad;
        EXPECT_EQ(lengthValue, 25);
        EXPECT_EQ(op.readEdit(ControlId::LengthEdit), 25);
        EXPECT_EQ(asciiView(job.chain[0].lengthCode), "40");
        EXPECT_EQ(job.chain[1].autoLength, 1);
        EXPECT_EQ(job.settings.defaultAutoLength, 1);
    }

    const PageRecord automaticBefore = job.chain[2];
    op.messages.clear();
    op.setEdit(ControlId::LengthEdit, 30);
    rules.lengthSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 2 page exceeds the limits of length, Setting is invalid!"});
    // The page that fits takes the length.
    EXPECT_EQ(asciiView(job.chain[1].lengthCode), "30");
    EXPECT_EQ(job.chain[1].autoLength, 0);
    EXPECT_EQ(job.chain[1].lengthDots, 360);
    EXPECT_EQ(job.chain[1].adjustedLengthDots, 360);
    // The refused pages keep exactly what they had, specified or automatic.
    EXPECT_EQ(asciiView(job.chain[0].lengthCode), "40");
    EXPECT_EQ(job.chain[0].lengthDots, 480);
    EXPECT_EQ(job.chain[0].adjustedLengthDots, 480);
    EXPECT_EQ(asciiView(job.chain[2].lengthCode), "Au");
    EXPECT_EQ(job.chain[2].autoLength, 1);
    EXPECT_EQ(job.chain[2].lengthDots, automaticBefore.lengthDots);
    EXPECT_EQ(job.settings.defaultAutoLength, 0);
    EXPECT_EQ(asciiView(job.settings.defaultLengthCode), "30");
    EXPECT_EQ(job.settings.defaultLengthMm, 30);

    // The current page alone: one page refused, the count says 1.
    currentPageOnly(true);
    op.messages.clear();
    rules.lengthSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 1 page exceeds the limits of length, Setting is invalid!"});

    // The ends of the range are lengths.
    for (int good : {6, 150}) {
        op.messages.clear();
        job.refreshPage(1);
        op.setEdit(ControlId::LengthEdit, good);
        rules.lengthSetClicked();
        EXPECT_EQ(lengthValue, good);
        EXPECT_EQ(job.settings.defaultLengthMm, good);
    }
    EXPECT_EQ(asciiView(job.chain[1].lengthCode), "150");
}

TEST_F(SettingRulesTest, LengthEditKeepsDigitsAndPointsOnly)
{
    EXPECT_EQ(lengthEditText("12a5"), "12");
    EXPECT_EQ(lengthEditText("7.5"), "7.5");
    EXPECT_EQ(lengthEditText("x9"), "");
    rules.lengthTextChanged("12a5");
    EXPECT_EQ(op.editTexts.value(ControlId::LengthEdit), "12");
    op.editTexts.clear();
    rules.lengthTextChanged("7.5");
    EXPECT_TRUE(op.editTexts.isEmpty());

    // "Set" reads no integer from 7.5 and goes on with the former value.
    pages({"A"});
    lengthValue = 40;
    op.setEditText(ControlId::LengthEdit, "7.5");
    rules.lengthSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{kNoInteger});
    EXPECT_EQ(asciiView(job.chain[0].lengthCode), "40");
}

TEST_F(SettingRulesTest, AutomaticLengthKeepsAutomaticFontPagesSpecified)
{
    pages({"A", "B", "C"});
    currentPageOnly(false);
    specify(0, 40);
    specify(1, 40);
    job.chain[1].autoFontSize = 1;
    // Already automatic with an automatic font (a new page after "Auto Size").
    job.chain[2].autoFontSize = 1;
    op.enableControl(ControlId::LengthEdit, true);
    op.enableControl(ControlId::LengthSet, true);
    job.settings.defaultAutoLength = 0;

    rules.automaticClicked();
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Have 1 page is automatic font size, can't set auto length, Setting is invalid!"});
    EXPECT_EQ(asciiView(job.chain[0].lengthCode), "Au");
    EXPECT_EQ(job.chain[0].autoLength, 1);
    EXPECT_EQ(asciiView(job.chain[1].lengthCode), "40");
    EXPECT_EQ(job.chain[1].autoLength, 0);
    EXPECT_EQ(asciiView(job.chain[2].lengthCode), "Au");
    EXPECT_EQ(job.chain[2].autoLength, 1);
    EXPECT_EQ(job.settings.defaultAutoLength, 1);
    EXPECT_EQ(asciiView(job.settings.defaultLengthCode), "Au");
    EXPECT_FALSE(op.enabled.value(ControlId::LengthEdit));
    EXPECT_FALSE(op.enabled.value(ControlId::LengthSet));

    rules.specifyClicked();
    EXPECT_TRUE(op.enabled.value(ControlId::LengthEdit));
    EXPECT_TRUE(op.enabled.value(ControlId::LengthSet));
}

TEST_F(SettingRulesTest, MaterialResetsEveryPageAndTubeSizesRefuseTwoLines)
{
    pages({"A", "B", "C"}, 2);
    secondLine(1, "b");
    ASSERT_EQ(job.chain[1].twoLines, 1);
    QSignalSpy widths(&rules, &SettingRules::tapeWidthChanged);

    rules.materialChanged(Tube);
    EXPECT_EQ(op.lists.value(ControlId::MaterialParameter), QStringList({"3.0", "4.0", "5.0", "6.0"}));
    EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 1);
    EXPECT_EQ(job.settings.materialIndex, Tube);
    EXPECT_EQ(job.settings.sizeIndex, 1);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(asciiView(job.chain[row].materialCode), "TUB") << row;
        EXPECT_EQ(asciiView(job.chain[row].sizeCode), "4") << row;
    }
    ASSERT_EQ(widths.size(), 1);
    EXPECT_EQ(widths.front().front().toDouble(), 6.5);
    EXPECT_TRUE(op.messages.empty());

    // 3.0 with one two-line page: refused with its count, list back on 4.0.
    op.selectListEntry(ControlId::MaterialParameter, 0);
    rules.materialParameterChanged(0);
    EXPECT_EQ(op.messageTexts(),
              QStringList{QStringLiteral("The material not suitable for double-line, have 1  pages set double！")});
    EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 1);
    EXPECT_EQ(asciiView(job.chain[0].sizeCode), "4");
    EXPECT_EQ(job.settings.sizeIndex, 1);

    rules.materialParameterChanged(3);
    EXPECT_EQ(asciiView(job.chain[2].sizeCode), "6");
    EXPECT_EQ(job.settings.sizeIndex, 3);
    // 4.0 is refused as well, and the list goes back to 6.0.
    op.messages.clear();
    rules.materialParameterChanged(1);
    EXPECT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 3);
    EXPECT_EQ(asciiView(job.settings.sizeCode), "6");

    // Heat-shrink tube refuses the same; without two-line pages 3.0 is taken.
    rules.materialChanged(HeatShrinkTube);
    EXPECT_EQ(asciiView(job.chain[0].materialCode), "STU");
    op.messages.clear();
    rules.materialParameterChanged(0);
    EXPECT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(asciiView(job.chain[1].sizeCode), "4");
    secondLine(1, "");
    op.messages.clear();
    rules.materialParameterChanged(0);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(asciiView(job.chain[1].sizeCode), "3");

    // A label takes any size whatever the lines.
    secondLine(1, "b");
    rules.materialChanged(Label);
    EXPECT_EQ(op.lists.value(ControlId::MaterialParameter), QStringList({"6 mm", "9 mm", "12mm"}));
    EXPECT_EQ(asciiView(job.chain[2].materialCode), "LAB");
    EXPECT_EQ(asciiView(job.chain[2].sizeCode), "9");
    EXPECT_EQ(widths.back().front().toDouble(), 9.0);
    EXPECT_EQ(rules.tapeWidthMm(), 9.0);
    rules.materialParameterChanged(0);
    rules.materialParameterChanged(2);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(asciiView(job.chain[1].sizeCode), "12");
}

TEST_F(SettingRulesTest, FontSizeRefusalsAreCountedAndKeepThePage)
{
    pages({"AB", "CD", "ABCDEFGH"});
    secondLine(0, "x");
    job.chain[0].fontSize = 3;
    job.model.setCellText(0, ColFontSize, "3");
    specify(2, 30);

    rules.fontSizeChanged(5);
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 1 page's font size not suitable for the double lines ,please "
                                             "select other font size\r\n"});
    EXPECT_EQ(job.chain[0].fontSize, 3);
    EXPECT_EQ(cell(0, ColFontSize), "3");
    EXPECT_EQ(job.settings.defaultFontSize, 5);

    op.messages.clear();
    rules.fontSizeChanged(3);
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(job.chain[0].fontSize, 3);
    EXPECT_EQ(cell(0, ColFontSize), "3");
    rules.fontSizeChanged(4);
    EXPECT_EQ(op.messages.size(), 1u);

    // Following Page with 6: one two-line page and one too long; one message
    // with a line for each, in order.
    currentPageOnly(false);
    op.messages.clear();
    rules.fontSizeChanged(6);
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Have 1 page's font size not suitable for the double lines ,please select other font size\r\n"
                          "Have 1 page exceeds the limits of length, select the other font size !\r\n"});
    EXPECT_EQ(job.chain[1].fontSize, 6);
    EXPECT_EQ(cell(1, ColFontSize), "6");
    EXPECT_EQ(job.chain[2].fontSize, 4);
    EXPECT_EQ(cell(2, ColFontSize), "4");
    // The refused page's lengths are those of its own size again.
    EXPECT_EQ(job.chain[2].line1Dots, 327);
}

TEST_F(SettingRulesTest, AutoSizeSearchesSpecifiedPagesAndRefusesAutomaticOnes)
{
    pages({"A", "ABCDEFGH", "ABCDEFGH"});
    specify(1, 30);
    specify(2, 6);
    currentPageOnly(false);

    rules.fontSizeChanged(0);
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Have 1 page set automatic length, can not set automatic font size! \r\n"
                          "Have 1 page exceeds the limits of length, select the other font size! \r\n"});
    EXPECT_EQ(job.settings.defaultAutoFontSize, 1);
    EXPECT_EQ(job.settings.defaultFontSize, 0);
    // Automatic length: left alone.
    EXPECT_EQ(job.chain[0].autoFontSize, 0);
    EXPECT_EQ(cell(0, ColFontSize), "4");
    // 30 mm: the largest size that fits, 3; the cell says "0".
    EXPECT_EQ(job.chain[1].autoFontSize, 1);
    EXPECT_EQ(job.chain[1].fontSize, 3);
    EXPECT_EQ(cell(1, ColFontSize), "0");
    // 6 mm: nothing fits, the page keeps its font.
    EXPECT_EQ(job.chain[2].autoFontSize, 0);
    EXPECT_EQ(job.chain[2].fontSize, 4);
    EXPECT_EQ(cell(2, ColFontSize), "4");
}

TEST_F(SettingRulesTest, DirectionRefusedPutsTheOldDirectionsLengthsBack)
{
    // At 50 % and font 4, 11 letters need 274 dots across and 450 along.
    pages({"ABCDEFGHIJK", "ABC"});
    currentPageOnly(false);
    for (int row = 0; row < 2; ++row) {
        job.chain[row].halfZoom = 1;
        specify(row, 30);
    }
    ASSERT_EQ(job.chain[0].line1Dots, 274);

    rules.directionChanged(1);
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 1 page exceeds the limits of length.\r\n It is invalid to set the "
                                             "direction,\r\n please reset it."});
    EXPECT_EQ(asciiView(job.chain[0].direction), "04");
    EXPECT_EQ(job.chain[0].line1Dots, 274);
    EXPECT_EQ(cell(0, ColDirection), "Horizontal");
    EXPECT_EQ(asciiView(job.chain[1].direction), "13");
    EXPECT_EQ(cell(1, ColDirection), "Vertical");
    EXPECT_EQ(asciiView(job.settings.defaultDirection), "13");

    // The page build runs first: a text typed into the cell but not yet in
    // the page counts.
    op.messages.clear();
    job.model.setCellText(1, ColLine1, "ABCDEFGHIJK");
    job.refreshPage(1);
    rules.directionChanged(0);
    rules.directionChanged(1);
    EXPECT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(asciiView(job.chain[1].direction), "04");
}

TEST_F(SettingRulesTest, SimpleSettingsCopiesZoomAndFrame)
{
    pages({"A", "B"});
    EXPECT_EQ(job.settings.density, 9);
    rules.densityChanged(4);
    EXPECT_EQ(job.settings.density, 5);
    rules.densityChanged(0);
    EXPECT_EQ(job.settings.density, 1);
    const char cuts[] = {'N', 'C', 'L'};
    for (int i = 0; i < 3; ++i) {
        rules.cutSettingChanged(i);
        EXPECT_EQ(job.settings.cutMode, cuts[i]) << i;
    }
    rules.spacingChanged(20);
    EXPECT_EQ(job.settings.spacing, 20);
    rules.arrangeChanged(1);
    EXPECT_EQ(job.settings.alignment, 1);

    for (int bad : {0, 21}) {
        op.messages.clear();
        op.setEdit(ControlId::CopiesEdit, bad);
        rules.copiesChanged();
        EXPECT_EQ(op.messageTexts(), QStringList{"Copies should be in [1-20] , setting  is  invalid!"}) << bad;
        EXPECT_EQ(copiesValue, 1);
        EXPECT_EQ(op.readEdit(ControlId::CopiesEdit), 1);
        EXPECT_EQ(job.settings.copies, 1);
    }
    op.messages.clear();
    for (int good : {20, 1, 7}) {
        op.setEdit(ControlId::CopiesEdit, good);
        rules.copiesChanged();
        EXPECT_EQ(job.settings.copies, good);
    }
    EXPECT_TRUE(op.messages.empty());

    currentPageOnly(false);
    rules.zoomChanged(1);
    rules.frameChanged(2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(job.chain[row].halfZoom, 1);
        EXPECT_EQ(cell(row, ColZoom), "50%");
        EXPECT_EQ(job.chain[row].frame, 'L');
        EXPECT_EQ(cell(row, ColFrame), "Underline");
    }
    EXPECT_EQ(job.settings.defaultFrame, 'L');
    currentPageOnly(true);
    job.refreshPage(1);
    rules.frameChanged(1);
    EXPECT_EQ(cell(0, ColFrame), "Underline");
    EXPECT_EQ(cell(1, ColFrame), "Frame");

    rules.computerFontClicked();
    EXPECT_TRUE(op.enabled.value(ControlId::FontList));
    rules.localFontClicked();
    EXPECT_FALSE(op.enabled.value(ControlId::FontList));
}
