#include "common/ScriptedOperator.h"
#include "widgets/FilteredEdit.h"
#include "widgets/NumberDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

struct NumberDialogTest : ::testing::Test {
    ScriptedOperator op;
    NumberDialog dialog{op};

    QPushButton *button(const QString &text)
    {
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
    QString typed(FilteredEdit *edit, const char *keys)
    {
        QTest::keyClicks(edit, keys);
        return edit->text();
    }
    void clickKind(NumberKind kind)
    {
        dialog.show();
        QTest::mouseClick(dialog.kindButton(kind), Qt::LeftButton);
    }
};

} // namespace

TEST_F(NumberDialogTest, KindsChooseTheInputAndAClickEmptiesBothEdits)
{
    EXPECT_EQ(dialog.windowTitle(), "Set Number");
    EXPECT_EQ(dialog.kindButton(NumberKind::Decimal)->text(), "Serial number:            0-999");
    EXPECT_EQ(dialog.kindButton(NumberKind::Padded)->text(), "Format serial number:000-999");
    EXPECT_EQ(dialog.kindButton(NumberKind::Upper)->text(), "Uppercase serial number: A-Z");
    EXPECT_EQ(dialog.kindButton(NumberKind::Lower)->text(), "Lowercase serial number: a-z");
    ASSERT_NE(button("OK(&O)"), nullptr);
    ASSERT_NE(button("Cancel(&C)"), nullptr);

    // A page without numbering: decimal, three digits.
    EXPECT_TRUE(dialog.kindButton(NumberKind::Decimal)->isChecked());
    EXPECT_EQ(typed(dialog.startEdit(), "1a2b34"), "123");

    dialog.endEdit()->setText("9");
    clickKind(NumberKind::Upper);
    EXPECT_EQ(dialog.startEdit()->text(), "");
    EXPECT_EQ(dialog.endEdit()->text(), "");
    EXPECT_EQ(typed(dialog.startEdit(), "7bc"), "B");
    EXPECT_EQ(typed(dialog.endEdit(), "z"), "Z");

    clickKind(NumberKind::Lower);
    EXPECT_EQ(dialog.startEdit()->text(), "");
    EXPECT_EQ(typed(dialog.startEdit(), "Q"), "q");

    clickKind(NumberKind::Padded);
    EXPECT_EQ(typed(dialog.endEdit(), "0x0y7z1"), "007");
}

TEST_F(NumberDialogTest, OkNeedsBothValuesAndKeepsThemAsTheKindWants)
{
    dialog.show();
    QPushButton *ok = button("OK(&O)");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(op.messageTexts(), QStringList{"Please input start number!"});
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClicks(dialog.startEdit(), "007");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(op.messageTexts().back(), "Please input end number!");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(asciiView(dialog.choice().serialStart), "7");
    EXPECT_EQ(asciiView(dialog.choice().serialEnd), "");

    QTest::keyClicks(dialog.endEdit(), "012");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    NumberChoice c = dialog.choice();
    EXPECT_EQ(c.kinds, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(asciiView(c.serialStart), "7");
    EXPECT_EQ(asciiView(c.serialEnd), "12");

    // Zero-padded keeps the digits as typed.
    dialog.show();
    clickKind(NumberKind::Padded);
    QTest::keyClicks(dialog.startEdit(), "007");
    QTest::keyClicks(dialog.endEdit(), "010");
    QTest::mouseClick(ok, Qt::LeftButton);
    c = dialog.choice();
    EXPECT_EQ(c.kinds, (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
    EXPECT_EQ(asciiView(c.serialStart), "007");
    EXPECT_EQ(asciiView(c.serialEnd), "010");
    EXPECT_EQ(op.messages.size(), 2u);
}

TEST_F(NumberDialogTest, ReopeningShowsThePagesKindAndRangeAndCancelTakesNothing)
{
    NumberChoice page;
    page.kinds = {0, 0, 0, 1};
    setAscii(page.serialStart, "b");
    setAscii(page.serialEnd, "f");
    dialog.setChoice(page);
    EXPECT_TRUE(dialog.kindButton(NumberKind::Lower)->isChecked());
    EXPECT_FALSE(dialog.kindButton(NumberKind::Decimal)->isChecked());
    EXPECT_EQ(dialog.startEdit()->text(), "b");
    EXPECT_EQ(dialog.endEdit()->text(), "f");
    EXPECT_EQ(dialog.startEdit()->mode(), FilteredEdit::Letters);
    EXPECT_EQ(dialog.startEdit()->caseMode(), FilteredEdit::Lower);
    EXPECT_EQ(dialog.endEdit()->maxLength(), 1);

    dialog.show();
    QTest::mouseClick(button("Cancel(&C)"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.choice(), page);
    EXPECT_TRUE(op.messages.empty());
}
