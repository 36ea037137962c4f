#include "widgets/FilteredEdit.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vt::test {

namespace {
QString typed(FilteredEdit &edit, const char *keys)
{
    edit.clear();
    QTest::keyClicks(&edit, keys);
    return edit.text();
}
} // namespace

TEST(FilteredEditTest, FiltersFoldsAndLimitsTypedCharacters)
{
    FilteredEdit edit;
    edit.setLetters(1, 2);
    EXPECT_EQ(edit.caseMode(), 2);
    EXPECT_EQ(typed(edit, "7a"), "A");   // digits dropped, a folded, one letter only
    edit.setLetters(0, 1);
    EXPECT_EQ(edit.maxLength(), 1);      // 0 keeps the earlier limit
    EXPECT_EQ(typed(edit, "Q"), "q");
    edit.setLetters(3, 5);
    EXPECT_EQ(edit.caseMode(), 0);
    EXPECT_EQ(typed(edit, "aB-"), "aB");

    edit.setNumeric(3);
    EXPECT_EQ(edit.mode(), 1);
    EXPECT_EQ(typed(edit, "1a.2 34"), "123");
    edit.setNumeric(0);
    EXPECT_EQ(edit.maxLength(), 3);

    // Folding holds in every mode, free text included.
    edit.setLetters(0, 2);
    edit.setFreeText(0);
    EXPECT_GT(edit.maxLength(), 1000);
    EXPECT_EQ(typed(edit, "ab-1 ("), "AB-1 (");

    // One character per backspace, whatever the mode.
    edit.setFreeText(10);
    edit.setText("abcd");
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "abc");
    edit.setNumeric(3);
    edit.setText("12");
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1");
}

TEST(FilteredEditTest, NumbersInAndOut)
{
    FilteredEdit edit;
    edit.setNumber(12.5);
    EXPECT_EQ(edit.getText(), "12.5");
    edit.setNumber(0.00001);
    EXPECT_EQ(edit.getText(), "1E-05");
    edit.setNumber(7);
    EXPECT_EQ(edit.getNumber(), 7.0);

    edit.setText("  -3.5e1x");
    EXPECT_EQ(edit.getNumber(), -35.0);
    for (const char *none : {"", "abc", "-", ".", "+-2"}) {
        edit.setText(QString::fromLatin1(none));
        EXPECT_EQ(edit.getNumber(), 0.0) << none;
    }
    edit.setText("042");
    EXPECT_EQ(edit.getNumber(), 42.0);
}

} // namespace vt::test
