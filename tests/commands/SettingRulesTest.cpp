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

// At font 4 and spacing 1, 8 letters need 327 dots and 7 need 286; a length
// of 30 mm leaves 360 - 48 = 312 for the text.
struct SettingRulesTest : ::testing::Test {
    Job job;
    ScriptedOperator op;
    int lengthValue = 25, repeatValue = 1, copiesValue = 1;
    SettingRules rules{job, op, {lengthValue, repeatValue, copiesValue}};
    CellCommit commit{job, op};
    PageCommands commands{job, op, &commit};

    void SetUp() override
    {
        op.setEdit(ControlId::LengthEdit, 25);
        op.setEdit(ControlId::RepeatEdit, 1);
        op.setEdit(ControlId::CopiesEdit, 1);
        scope(true);
    }
    void scope(bool currentOnly)
    {
        op.setControlChecked(ControlId::CurrentPage, currentOnly);
        op.setControlChecked(ControlId::FollowingPage, !currentOnly);
    }
    // One page per text, committed as typed; `current` is the current page.
    void pages(const QStringList &texts, int current = 0)
    {
        while (job.pageCount() < texts.size())
            commands.add();
        for (int row = 0; row < texts.size(); ++row)
            type(row, ColLine1, texts[row]);
        job.refreshPage(current);
        op.messages.clear();
    }
    void type(int row, int column, const QString &text)
    {
        job.model.setCellText(row, column, text);
        commit.commitCell(row, column);
    }
    // A specified length as a file would bring it.
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

TEST_F(SettingRulesTest, RepeatSetFollowsTheScopeAndRefusesOutOfRange)
{
    pages({"A", "B", "C", "D"}, 1);
    op.setEdit(ControlId::RepeatEdit, 5);
    rules.repeatSetClicked();
    EXPECT_EQ(asciiView(job.chain[1].repeatDigits), "0005");
    EXPECT_EQ(job.settings.defaultRepeat, 5);

    // Following Page: from the current page on; pages above keep theirs.
    scope(false);
    job.refreshPage(2);
    op.setEdit(ControlId::RepeatEdit, 7);
    rules.repeatSetClicked();
    const QStringList expected{"1", "5", "7", "7"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(cell(row, ColRepeat), expected[row]) << row;
        EXPECT_EQ(QString::number(job.chain[row].repeat), expected[row]) << row;
    }
    EXPECT_TRUE(op.messages.empty());

    for (int bad : {0, 101}) {
        op.messages.clear();
        op.setEdit(ControlId::RepeatEdit, bad);
        rules.repeatSetClicked();
        EXPECT_EQ(op.messageTexts(), QStringList{"Repetition should be in (1-100)!"}) << bad;
        EXPECT_EQ(op.readEdit(ControlId::RepeatEdit), 1);
        EXPECT_EQ(repeatValue, 1);
        EXPECT_EQ(cell(3, ColRepeat), "7");
    }
    op.setEdit(ControlId::RepeatEdit, 100);
    rules.repeatSetClicked();
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
    rules.repeatSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{kNoInteger});
    EXPECT_EQ(op.focusedEdits, std::vector<ControlId>{ControlId::LengthEdit});
    EXPECT_EQ(job.chain[0].repeat, 3);

    // A later edit without an integer: the ones before it are taken.
    op.setEdit(ControlId::LengthEdit, 40);
    op.setEditText(ControlId::CopiesEdit, "");
    rules.repeatSetClicked();
    EXPECT_EQ(lengthValue, 40);
    EXPECT_EQ(job.chain[0].repeat, 9);

    // The length filter cuts at the first character that is no digit or point.
    rules.lengthTextChanged("12a5");
    EXPECT_EQ(op.editTexts.value(ControlId::LengthEdit), "12");
    op.editTexts.clear();
    rules.lengthTextChanged("7.5");
    EXPECT_TRUE(op.editTexts.isEmpty());
}

TEST_F(SettingRulesTest, LengthSetRefusesOutOfRangeAndPagesThatDoNotFit)
{
    pages({"ABCDEFGH", "ABCDEFG", "ABCDEFGH"});
    specify(0, 40);
    const std::int16_t automaticDots = job.chain[2].lengthDots;
    scope(false);

    for (int bad : {5, 151}) {
        op.messages.clear();
        op.setEdit(ControlId::LengthEdit, bad);
        rules.lengthSetClicked();
        EXPECT_EQ(op.messageTexts(), QStringList{"Segment Lenth should be in (6-150)!"}) << bad;
        EXPECT_EQ(op.readEdit(ControlId::LengthEdit), 25);
        EXPECT_EQ(job.chain[1].autoLength, 1);
    }

    op.messages.clear();
    op.setEdit(ControlId::LengthEdit, 30);
    rules.lengthSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 2 page exceeds the limits of length, Setting is invalid!"});
    // Eight characters of size 4 at spacing 1 take 8 x 41 dots, with the
    // 48-dot margin 16 (1.3 mm) more than the 360 of 30 mm.
    EXPECT_EQ(op.messages[0].details.toStdString(), "Page 1, 1st line: 1.3 mm too long for its length of 30.0 mm\n"
                                                    "Page 3, 1st line: 1.3 mm too long for its length of 30.0 mm");
    EXPECT_EQ(asciiView(job.chain[1].lengthCode), "30");
    EXPECT_EQ(job.chain[1].adjustedLengthDots, 360);
    // The refused pages keep exactly their former length, specified or automatic.
    EXPECT_EQ(asciiView(job.chain[0].lengthCode), "40");
    EXPECT_EQ(job.chain[0].lengthDots, 480);
    EXPECT_EQ(job.chain[2].autoLength, 1);
    EXPECT_EQ(job.chain[2].lengthDots, automaticDots);
    EXPECT_EQ(asciiView(job.settings.defaultLengthCode), "30");
    EXPECT_EQ(job.settings.defaultAutoLength, 0);

    // The current page alone: the count is 1.
    scope(true);
    op.messages.clear();
    rules.lengthSetClicked();
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 1 page exceeds the limits of length, Setting is invalid!"});

    // 6 is a length (too short for this page, but not out of range).
    op.setEdit(ControlId::LengthEdit, 6);
    rules.lengthSetClicked();
    EXPECT_EQ(job.settings.defaultLengthMm, 6);
}

TEST_F(SettingRulesTest, AutomaticLengthKeepsAutomaticFontPagesSpecified)
{
    pages({"A", "B", "C"});
    scope(false);
    specify(0, 40);
    specify(1, 40);
    job.chain[1].autoFontSize = 1;
    // Automatic already, with an automatic font (a page added after "Auto
    // Size"): it stays automatic rather than become "Au" millimetres long.
    job.chain[2].autoFontSize = 1;

    rules.automaticClicked();
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Have 1 page is automatic font size, can't set auto length, Setting is invalid!"});
    EXPECT_EQ(asciiView(job.chain[0].lengthCode), "Au");
    EXPECT_EQ(job.chain[0].autoLength, 1);
    EXPECT_EQ(asciiView(job.chain[1].lengthCode), "40");
    EXPECT_EQ(job.chain[1].autoLength, 0);
    EXPECT_EQ(job.chain[2].autoLength, 1);
    EXPECT_FALSE(op.enabled.value(ControlId::LengthSet));
}

TEST_F(SettingRulesTest, MaterialResetsEveryPageAndTubeSizesRefuseTwoLines)
{
    pages({"A", "B", "C"}, 2);
    type(1, ColLine2, "b");
    QSignalSpy widths(&rules, &SettingRules::tapeWidthChanged);

    rules.materialChanged(Tube);
    EXPECT_EQ(op.lists.value(ControlId::MaterialParameter), QStringList({"3.0", "4.0", "5.0", "6.0"}));
    EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 1);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(asciiView(job.chain[row].materialCode), "TUB") << row;
        EXPECT_EQ(asciiView(job.chain[row].sizeCode), "4") << row;
    }
    ASSERT_EQ(widths.size(), 1);
    EXPECT_EQ(widths.front().front().toDouble(), 6.5);

    // 3.0 with one two-line page: refused with its count, the list back on 4.0.
    rules.materialParameterChanged(0);
    EXPECT_EQ(op.messageTexts(),
              QStringList{QStringLiteral("The material not suitable for double-line, have 1  pages set double！")});
    EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 1);
    EXPECT_EQ(asciiView(job.chain[0].sizeCode), "4");
    rules.materialParameterChanged(3);
    EXPECT_EQ(asciiView(job.chain[2].sizeCode), "6");
    rules.materialParameterChanged(1);
    EXPECT_EQ(op.messages.size(), 2u);
    EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 3);

    // Heat-shrink tube refuses the same; without two-line pages 3.0 is taken.
    rules.materialChanged(HeatShrinkTube);
    EXPECT_EQ(asciiView(job.chain[0].materialCode), "STU");
    rules.materialParameterChanged(0);
    EXPECT_EQ(op.messages.size(), 3u);
    type(1, ColLine2, "");
    rules.materialParameterChanged(0);
    EXPECT_EQ(asciiView(job.chain[1].sizeCode), "3");

    // A label takes any size whatever the lines.
    type(1, ColLine2, "b");
    rules.materialChanged(Label);
    EXPECT_EQ(widths.back().front().toDouble(), 9.0);
    rules.materialParameterChanged(0);
    rules.materialParameterChanged(2);
    EXPECT_EQ(op.messages.size(), 3u);
    EXPECT_EQ(asciiView(job.chain[1].sizeCode), "12");

    // After Open chose the tube without its rule, a size still gives the
    // pages the tube's code, not the label's left in the settings.
    job.settings.materialIndex = Tube;
    type(1, ColLine2, "");
    rules.materialParameterChanged(2);
    EXPECT_EQ(asciiView(job.chain[0].materialCode), "TUB");
    EXPECT_EQ(asciiView(job.chain[0].sizeCode), "5");
}

TEST_F(SettingRulesTest, FontSizeRefusalsAreCountedAndKeepThePage)
{
    pages({"AB", "CD", "ABCDEFGH"});
    type(0, ColLine2, "x");
    job.chain[0].fontSize = 3;
    job.model.setCellText(0, ColFontSize, "3");
    specify(2, 30);

    rules.fontSizeChanged(5);
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 1 page's font size not suitable for the double lines ,please "
                                             "select other font size\r\n"});
    EXPECT_EQ(job.chain[0].fontSize, 3);
    rules.fontSizeChanged(3);
    rules.fontSizeChanged(4);
    EXPECT_EQ(op.messages.size(), 2u);
    EXPECT_EQ(cell(0, ColFontSize), "3");

    // Following Page with 6: one message, a line per refusal, in order.
    scope(false);
    op.messages.clear();
    rules.fontSizeChanged(6);
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Have 1 page's font size not suitable for the double lines ,please select other font size\r\n"
                          "Have 1 page exceeds the limits of length, select the other font size !\r\n"});
    EXPECT_EQ(cell(1, ColFontSize), "6");
    EXPECT_EQ(job.chain[2].fontSize, 4);
    EXPECT_EQ(cell(2, ColFontSize), "4");
    EXPECT_EQ(job.chain[2].line1Dots, 327); // measured at its own size again
}

TEST_F(SettingRulesTest, AutoSizeSearchesSpecifiedPagesAndRefusesAutomaticOnes)
{
    pages({"A", "ABCDEFGH", "ABCDEFGH"});
    specify(1, 30);
    specify(2, 6);
    scope(false);

    rules.fontSizeChanged(0);
    EXPECT_EQ(op.messageTexts(),
              QStringList{"Have 1 page set automatic length, can not set automatic font size! \r\n"
                          "Have 1 page exceeds the limits of length, select the other font size! \r\n"});
    EXPECT_EQ(job.chain[0].autoFontSize, 0);
    EXPECT_EQ(cell(0, ColFontSize), "4");
    // 30 mm: the largest size that fits is 3; the cell says "0".
    EXPECT_EQ(job.chain[1].autoFontSize, 1);
    EXPECT_EQ(job.chain[1].fontSize, 3);
    EXPECT_EQ(cell(1, ColFontSize), "0");
    // 6 mm: nothing fits, the page keeps its font.
    EXPECT_EQ(job.chain[2].autoFontSize, 0);
    EXPECT_EQ(job.chain[2].fontSize, 4);
}

TEST_F(SettingRulesTest, DirectionRefusedPutsTheOldDirectionsLengthsBack)
{
    // At 50 % and font 4, 11 letters need 274 dots across but 450 along.
    pages({"ABCDEFGHIJK", "ABC"});
    scope(false);
    for (int row = 0; row < 2; ++row) {
        job.chain[row].halfZoom = 1;
        specify(row, 30);
    }
    rules.directionChanged(1);
    EXPECT_EQ(op.messageTexts(), QStringList{"Have 1 page exceeds the limits of length.\r\n It is invalid to set the "
                                             "direction,\r\n please reset it."});
    // Measured along, as refused: 450 + 48 dots against 360.
    EXPECT_EQ(op.messages[0].details.toStdString(), "Page 1, 1st line: 11.5 mm too long for its length of 30.0 mm");
    EXPECT_EQ(asciiView(job.chain[0].direction), "04");
    EXPECT_EQ(job.chain[0].line1Dots, 274);
    EXPECT_EQ(cell(0, ColDirection), "Horizontal");
    EXPECT_EQ(cell(1, ColDirection), "Vertical");

    // The page build comes first: a text in the cell, not yet committed, counts.
    job.model.setCellText(1, ColLine1, "ABCDEFGHIJK");
    job.refreshPage(1);
    rules.directionChanged(0);
    rules.directionChanged(1);
    EXPECT_EQ(op.messages.size(), 2u);
    EXPECT_EQ(asciiView(job.chain[1].direction), "04");
}

TEST_F(SettingRulesTest, SimpleSettingsZoomFrameAndCopies)
{
    pages({"A", "B"});
    scope(false);
    rules.zoomChanged(1);
    rules.frameChanged(2);
    EXPECT_EQ(job.chain[1].halfZoom, 1);
    EXPECT_EQ(cell(1, ColZoom), "50%");
    EXPECT_EQ(job.chain[1].frame, 'L');
    EXPECT_EQ(cell(1, ColFrame), "Underline");
    EXPECT_EQ(job.settings.defaultFrame, 'L');

    EXPECT_EQ(job.settings.density, 9);
    rules.densityChanged(4);
    EXPECT_EQ(job.settings.density, 5);
    const char cuts[] = {'N', 'C', 'L'};
    for (int i = 0; i < 3; ++i) {
        rules.cutSettingChanged(i);
        EXPECT_EQ(job.settings.cutMode, cuts[i]) << i;
    }

    for (int bad : {0, 21}) {
        op.messages.clear();
        op.setEdit(ControlId::CopiesEdit, bad);
        rules.copiesChanged();
        EXPECT_EQ(op.messageTexts(), QStringList{"Copies should be in [1-20] , setting  is  invalid!"}) << bad;
        EXPECT_EQ(op.readEdit(ControlId::CopiesEdit), 1);
        EXPECT_EQ(job.settings.copies, 1);
    }
    op.messages.clear();
    for (int good : {20, 1}) {
        op.setEdit(ControlId::CopiesEdit, good);
        rules.copiesChanged();
        EXPECT_EQ(job.settings.copies, good);
    }
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(SettingRulesTest, MaterialAndSizeTablesForEveryEntry)
{
    pages({"A", "B"});
    QSignalSpy widths(&rules, &SettingRules::tapeWidthChanged);
    const QStringList tubeSizes{"3.0", "4.0", "5.0", "6.0"};
    const struct {
        int material;
        const char *code;
        QStringList entries;
        std::vector<const char *> sizeCodes;
        double width;
    } materials[] = {
        {Tube, "TUB", tubeSizes, {"3", "4", "5", "6"}, 6.5},
        {Label, "LAB", {"6 mm", "9 mm", "12mm"}, {"6", "9", "12"}, 9.0},
        {HeatShrinkTube, "STU", tubeSizes, {"3", "4", "5", "6"}, 6.5},
    };
    for (const auto &m : materials) {
        SCOPED_TRACE(m.code);
        rules.materialChanged(m.material);
        EXPECT_EQ(op.lists.value(ControlId::MaterialParameter), m.entries);
        EXPECT_EQ(op.listSelection(ControlId::MaterialParameter), 1);
        EXPECT_EQ(job.settings.materialIndex, m.material);
        EXPECT_EQ(job.settings.sizeIndex, 1);
        EXPECT_EQ(asciiView(job.settings.materialCode), std::string_view(m.code));
        EXPECT_EQ(asciiView(job.settings.sizeCode), std::string_view(m.sizeCodes[1]));
        EXPECT_EQ(widths.back().front().toDouble(), m.width);
        // Sizes down to the first: 3.0 and 4.0 are open to single-line jobs.
        for (int size = int(m.sizeCodes.size()) - 1; size >= 0; --size) {
            rules.materialParameterChanged(size);
            EXPECT_EQ(job.settings.sizeIndex, size);
            const std::string_view code = m.sizeCodes[std::size_t(size)];
            EXPECT_EQ(asciiView(job.settings.sizeCode), code) << size;
            for (int row = 0; row < 2; ++row) {
                EXPECT_EQ(asciiView(job.chain[row].materialCode), std::string_view(m.code));
                EXPECT_EQ(asciiView(job.chain[row].sizeCode), code) << size;
            }
        }
    }
    EXPECT_TRUE(op.messages.empty());

    // A two-line page refuses exactly the two smallest tube sizes.
    rules.materialChanged(Tube);
    type(0, ColLine2, "b");
    for (int size = 0; size < 4; ++size) {
        op.messages.clear();
        rules.materialParameterChanged(size);
        EXPECT_EQ(op.messages.size(), size < 2 ? 1u : 0u) << size;
    }
}

TEST_F(SettingRulesTest, FrameLettersAndTheEdgesOfLengthAndRepeat)
{
    pages({"A"});
    const struct {
        char letter;
        const char *text;
    } frames[] = {{'N', "None"}, {'F', "Frame"}, {'L', "Underline"}};
    for (int index : {1, 2, 0}) {
        rules.frameChanged(index);
        EXPECT_EQ(job.chain[0].frame, frames[index].letter) << index;
        EXPECT_EQ(job.settings.defaultFrame, frames[index].letter) << index;
        EXPECT_EQ(cell(0, ColFrame), frames[index].text) << index;
    }

    // The longest length and the smallest repeat are taken.
    op.setEdit(ControlId::LengthEdit, 150);
    rules.lengthSetClicked();
    EXPECT_EQ(job.chain[0].lengthDots, 1800);
    EXPECT_EQ(asciiView(job.chain[0].lengthCode), "150");
    op.setEdit(ControlId::RepeatEdit, 9);
    rules.repeatSetClicked();
    op.setEdit(ControlId::RepeatEdit, 1);
    rules.repeatSetClicked();
    EXPECT_EQ(job.chain[0].repeat, 1);
    EXPECT_EQ(cell(0, ColRepeat), "1");
    EXPECT_TRUE(op.messages.empty());
}
