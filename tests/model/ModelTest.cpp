#include "model/Digits.h"
#include "model/Job.h"
#include "model/MarkText.h"
#include "model/PageChain.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace vt;

namespace {

std::string str(const AsciiField<5> &f) { return std::string(asciiView(f)); }

} // namespace

TEST(Digits, FormatDigitsPadsCutsAndSigns)
{
    EXPECT_EQ(str(formatDigits(7, 4)), "0007");
    EXPECT_EQ(str(formatDigits(12345, 4)), "2345");
    EXPECT_EQ(str(formatDigits(3, 1)), "3");
    EXPECT_EQ(str(formatDigits(-7, 4)), "-007");
    EXPECT_EQ(str(formatDigits(-1234, 4)), "-234");
    EXPECT_EQ(formatDigits(1, 4)[4], '\0');
    EXPECT_EQ(str(formatDigits(0, 4)), "0000");
    EXPECT_EQ(str(formatDigits(-5, 1)), "-") << "no room left for a digit";
    EXPECT_EQ(str(formatDigits(std::numeric_limits<int>::min(), 4)), "-648");
}

TEST(Digits, ParseDecimalTakesSignAndWrapsWithoutChecks)
{
    EXPECT_EQ(parseDecimal("25"), 25);
    EXPECT_EQ(parseDecimal("-12"), -12);
    EXPECT_EQ(parseDecimal(""), 0);
    EXPECT_EQ(parseDecimal("0007"), 7);
    // No digit check: 'A' counts as 17.
    EXPECT_EQ(parseDecimal("A"), 17);
    AsciiField<4> field{'1', '2', '\0', '\0'};
    EXPECT_EQ(parseDecimal(field), 12);
    AsciiField<4> full{'9', '9', '9', '9'};
    EXPECT_EQ(parseDecimal(full), 9999);
}

TEST(PageChain, NewRecordsFollowTheJobDefaults)
{
    JobSettings job;
    PageChain chain;
    PageRecord *first = chain.createFirstPage(job);
    EXPECT_EQ(first->autoLength, 1);
    EXPECT_EQ(first->fontSize, 4);
    EXPECT_EQ(first->lengthDots, 300);
    EXPECT_EQ(first->adjustedLengthDots, 300);
    EXPECT_EQ(asciiView(first->lengthCode), "Au");
    EXPECT_EQ(asciiView(first->materialCode), "LAB");
    EXPECT_EQ(asciiView(first->sizeCode), "9");
    EXPECT_EQ(asciiView(first->repeatDigits), "0001");
    EXPECT_EQ(asciiView(first->repeatText), "1");
    EXPECT_EQ(first->selected, 1);
    EXPECT_EQ(first->modeLetter, 'N');
    EXPECT_EQ(asciiView(first->direction), "04");

    job.defaultAutoFontSize = 1;
    job.defaultFontSize = 0;
    job.defaultAutoLength = 0;
    setAscii(job.defaultLengthCode, "40");
    job.defaultLengthMm = 40;
    job.defaultRepeat = 7;
    PageRecord *second = chain.insertPageAfter(first, job);
    EXPECT_EQ(second->autoFontSize, 1);
    EXPECT_EQ(second->fontSize, 0);
    EXPECT_EQ(second->autoLength, 0);
    EXPECT_EQ(asciiView(second->lengthCode), "40");
    EXPECT_EQ(second->lengthDots, 480);
    EXPECT_EQ(asciiView(second->repeatDigits), "0007");
    EXPECT_EQ(asciiView(second->repeatText), "7");
    EXPECT_EQ(second->repeat, 7);
}

TEST(PageChain, InsertWalkAndRemoveKeepOrder)
{
    JobSettings job;
    PageChain chain;
    PageRecord *a = chain.createFirstPage(job);
    PageRecord *c = chain.insertPageAfter(a, job);
    PageRecord *b = chain.insertPageAfter(a, job);
    ASSERT_EQ(chain.size(), 3);
    EXPECT_EQ(chain.pageAt(0), a);
    EXPECT_EQ(chain.pageAt(1), b);
    EXPECT_EQ(chain.pageAt(2), c);
    EXPECT_EQ(chain.pageAt(99), c) << "walking past the end stops at the last record";
    EXPECT_EQ(chain.next(a), b);
    EXPECT_EQ(chain.prev(a), nullptr);

    EXPECT_EQ(chain.removePage(b), c) << "a middle record gives its successor";
    EXPECT_EQ(chain.removePage(c), a) << "the last record gives its predecessor";
    EXPECT_EQ(chain.removePage(a), nullptr) << "the only record gives none";
    EXPECT_TRUE(chain.empty());
    EXPECT_EQ(chain.pageAt(0), nullptr);

    PageRecord *head = chain.createFirstPage(job);
    PageRecord *tail = chain.insertPageAfter(head, job);
    EXPECT_EQ(chain.removePage(head), tail);
    EXPECT_EQ(chain.head(), tail) << "removing the head makes its successor the head";
}

TEST(Job, RefreshPageMovesTheStarAndRenumbers)
{
    Job job;
    for (int i = 0; i < 3; ++i) {
        job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(i);
    }
    int selectedRow = -2;
    QObject::connect(&job, &Job::rowSelected, [&](int row) { selectedRow = row; });

    job.refreshPage(1);
    EXPECT_EQ(job.currentIndex, 1);
    EXPECT_EQ(job.currentPage, job.chain.pageAt(1));
    EXPECT_EQ(selectedRow, 1);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(job.model.cellText(row, ColPage), QString::number(row + 1));
        EXPECT_EQ(job.model.cellText(row, ColCurrent), row == 1 ? kCurrentStar : QString());
    }

    job.refreshPage(3);
    EXPECT_EQ(job.currentIndex, -1);
    EXPECT_EQ(job.model.cellText(1, ColCurrent), kCurrentStar) << "an invalid index changes nothing else";
}

TEST(PageTableModel, CheckBoxesAndHeaderState)
{
    PageTableModel model;
    EXPECT_EQ(model.currentColumn(), ColCheck) << "no cell is current before the first press";
    model.insertPageRow(0);
    model.insertPageRow(1);
    EXPECT_TRUE(model.isChecked(0));
    EXPECT_EQ(model.data(model.index(0, ColCheck), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(model.flags(model.index(0, ColCheck)) & Qt::ItemIsUserCheckable);

    model.setAllChecked(false);
    EXPECT_FALSE(model.isChecked(1));
    EXPECT_EQ(model.headerCheckState(), 2);
    model.setHeaderCheckState(1);
    EXPECT_EQ(model.headerData(ColCheck, Qt::Horizontal, PageTableModel::HeaderCheckRole).toInt(), 1);
    EXPECT_EQ(model.headerData(ColLine1, Qt::Horizontal, Qt::DisplayRole).toString(), "1st Line");

    model.setCellText(0, ColLine1, "X1");
    EXPECT_EQ(model.data(model.index(0, ColLine1), Qt::DisplayRole).toString(), "X1");
    model.setCellText(5, ColLine1, "nowhere"); // ignored, no crash
    EXPECT_EQ(model.rowCount(), 2);
}

TEST(MarkText, MarksAreNamedForTheEyeAndTheEar)
{
    const QString text = QString::fromUtf16(u"A\uE0512-\uE04E\uE006");
    EXPECT_EQ(visibleMarks(text), QString::fromUtf16(u"A\u00ABsup\u00BB2-\u00ABn:000-999\u00BB\u00ABsym:07\u00BB"));
    EXPECT_EQ(spokenMarks(text), "A superscript 2- serial number 000 to 999 symbol 7");
    EXPECT_TRUE(markName(QChar('x')).isEmpty());
    EXPECT_EQ(markName(QChar(mark::lastSymbol)), "sym:77");

    // Screen readers get the words; the cell keeps the marks themselves.
    PageTableModel model;
    model.insertPageRow(0);
    model.setCellText(0, ColLine1, text);
    EXPECT_EQ(model.data(model.index(0, ColLine1), Qt::AccessibleTextRole).toString(), spokenMarks(text));
    EXPECT_EQ(model.data(model.index(0, ColLine1), Qt::DisplayRole).toString(), text);
}
