#include "app/WindowFixture.h"
#include "widgets/FilteredEdit.h"
#include "widgets/LabelStripView.h"
#include "widgets/PreviewPane.h"
#include "widgets/NumberDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using namespace vt;

namespace {

struct SettingControlsTest : vt::test::WindowFixture {
    QLineEdit *edit(ControlId id) { return qobject_cast<QLineEdit *>(window->control(id)); }
    QComboBox *list(ControlId id) { return qobject_cast<QComboBox *>(window->control(id)); }
    void click(ControlId id) { QTest::mouseClick(window->control(id), Qt::LeftButton); }
    // The operator picks an entry from the list's popup.
    void choose(ControlId id, int index)
    {
        list(id)->setCurrentIndex(index);
        emit list(id)->activated(index);
    }
    void retype(ControlId id, const char *text)
    {
        edit(id)->selectAll();
        QTest::keyClicks(edit(id), text);
    }
};

} // namespace

TEST_F(SettingControlsTest, RepeatSetWithFollowingPageAndARefusalPutBack)
{
    showActive();
    window->addPage();
    window->addPage();
    clickCell(1, ColPage);
    ASSERT_EQ(window->job().currentIndex, 1);
    click(ControlId::FollowingPage);

    retype(ControlId::RepeatEdit, "5");
    click(ControlId::RepeatSet);
    EXPECT_EQ(cell(0, ColRepeat), "1");
    EXPECT_EQ(cell(1, ColRepeat), "5");
    EXPECT_EQ(cell(2, ColRepeat), "5");
    EXPECT_EQ(window->job().chain[2].repeat, 5);
    EXPECT_TRUE(script.messages.empty());

    retype(ControlId::RepeatEdit, "101");
    click(ControlId::RepeatSet);
    EXPECT_EQ(script.messageTexts(), QStringList{"Repetition should be in (1-100)!"});
    EXPECT_EQ(edit(ControlId::RepeatEdit)->text(), "1");
    EXPECT_EQ(cell(2, ColRepeat), "5");
}

TEST_F(SettingControlsTest, LengthEditFiltersAndItsSetFollowsTheLengthRadios)
{
    showActive();
    EXPECT_FALSE(edit(ControlId::LengthEdit)->isEnabled());
    click(ControlId::Specify);
    EXPECT_TRUE(edit(ControlId::LengthEdit)->isEnabled());
    EXPECT_TRUE(window->control(ControlId::LengthSet)->isEnabled());

    // A paste of 12a5 leaves 12.
    edit(ControlId::LengthEdit)->clear();
    edit(ControlId::LengthEdit)->insert("12a5");
    EXPECT_EQ(edit(ControlId::LengthEdit)->text(), "12");
    click(ControlId::LengthSet);
    const PageRecord &page = window->job().chain[0];
    EXPECT_EQ(asciiView(page.lengthCode), "12");
    EXPECT_EQ(page.autoLength, 0);
    EXPECT_EQ(page.lengthDots, 144);
    EXPECT_EQ(window->lengthValue, 12);

    // Out of range: 25 comes back into the edit.
    retype(ControlId::LengthEdit, "151");
    click(ControlId::LengthSet);
    EXPECT_EQ(script.messageTexts(), QStringList{"Segment Lenth should be in (6-150)!"});
    EXPECT_EQ(edit(ControlId::LengthEdit)->text(), "25");
    EXPECT_EQ(asciiView(page.lengthCode), "12");

    click(ControlId::Automatic);
    EXPECT_FALSE(edit(ControlId::LengthEdit)->isEnabled());
    EXPECT_EQ(asciiView(page.lengthCode), "Au");
    EXPECT_EQ(page.autoLength, 1);
}

TEST_F(SettingControlsTest, MaterialRefillsTheSizesAndCopiesRunsOnEveryChange)
{
    showActive();
    QSignalSpy widths(&window->settingRules(), &SettingRules::tapeWidthChanged);
    choose(ControlId::Material, Tube);
    EXPECT_EQ(list(ControlId::MaterialParameter)->currentText(), "4.0");
    EXPECT_EQ(asciiView(window->job().chain[0].materialCode), "TUB");
    EXPECT_EQ(widths.size(), 1);
    EXPECT_EQ(window->previewPane()->findChild<LabelStripView *>()->strip().tapeWidthMm(), 6.5);

    // 2 is taken, 21 refused; the edit rewritten to 1 runs the rule again.
    retype(ControlId::CopiesEdit, "21");
    EXPECT_EQ(script.messageTexts(), QStringList{"Copies should be in [1-20] , setting  is  invalid!"});
    EXPECT_EQ(edit(ControlId::CopiesEdit)->text(), "1");
    EXPECT_EQ(window->copiesValue, 1);
    retype(ControlId::CopiesEdit, "20");
    EXPECT_EQ(window->job().settings.copies, 20);
    EXPECT_EQ(script.messages.size(), 1u);
}

TEST_F(SettingControlsTest, ChoosingTheEntryShownStillRunsTheRule)
{
    showActive();
    // At start the list shows density 3 while the job holds 9.
    ASSERT_EQ(window->job().settings.density, 9);
    choose(ControlId::Density, 2);
    EXPECT_EQ(window->job().settings.density, 3);

    // Following Page passes the current page's font size on by choosing it again.
    window->addPage();
    window->addPage();
    for (int row : {1, 2}) {
        clickCell(row, ColPage);
        choose(ControlId::FontSize, 2);
    }
    clickCell(0, ColPage);
    ASSERT_EQ(list(ControlId::FontSize)->currentIndex(), 4);
    click(ControlId::FollowingPage);
    choose(ControlId::FontSize, 4);
    EXPECT_EQ(window->job().chain[2].fontSize, 4);
    EXPECT_EQ(cell(2, ColFontSize), "4");
}

TEST_F(SettingControlsTest, SetNumberRunsTheDialogAndMarksTheCell)
{
    showActive();
    window->job().model.setCellText(0, ColLine1, "W-");
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<NumberDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        QTest::mouseClick(dialog->kindButton(NumberKind::Padded), Qt::LeftButton);
        QTest::keyClicks(dialog->startEdit(), "8");
        QTest::keyClicks(dialog->endEdit(), "11");
        dialog->accept();
        answered = true;
    });
    click(ControlId::SetNumber);
    EXPECT_TRUE(answered);
    EXPECT_EQ(cell(0, ColLine1), QString("W-") + QChar(mark::numberPadded));
    const PageRecord &page = window->job().chain[0];
    EXPECT_EQ(page.numberPadded, 1);
    EXPECT_EQ(asciiView(page.serialStart), "8");
    EXPECT_EQ(asciiView(page.serialEnd), "11");
    EXPECT_EQ(page.printCount, 4);
    EXPECT_TRUE(window->job().modified);
}
