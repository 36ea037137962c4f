#pragma once

#include "widgets/PageTable.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace vt::test {

// Records the table's messages and answers "may edit" as scripted.
struct FakeOwner : PageTableOwner {
    struct Call {
        unsigned message;
        int row;
        int column;
        bool operator==(const Call &) const = default;
    };
    std::vector<Call> calls;
    int mayEdit = 1;
    std::function<void(const Call &)> onMessage;

    int pageTableMessage(unsigned message, int row, int column) override
    {
        calls.push_back({message, row, column});
        if (onMessage)
            onMessage(calls.back());
        return message == tablemsg::mayEditCell ? mayEdit : 0;
    }
};

inline std::ostream &operator<<(std::ostream &os, const FakeOwner::Call &c)
{
    return os << std::hex << "0x" << c.message << std::dec << "(" << c.row << "," << c.column << ")";
}

// A shown, active window holding a page table over `rows` pages.
class TableFixture : public ::testing::Test {
protected:
    void makeTable(int rows, QSize size = {1100, 300})
    {
        enterPressed = false;
        for (int row = 0; row < rows; ++row) {
            model.insertPageRow(row);
            model.setCellText(row, ColPage, QString::number(row + 1));
            model.setCellText(row, ColLine1, QStringLiteral("line%1").arg(row));
            model.setCellText(row, ColRepeat, QStringLiteral("1"));
        }
        window = std::make_unique<QWidget>();
        window->resize(size);
        table = new PageTable(window.get());
        table->setGeometry(QRect(QPoint(0, 0), size));
        table->setPageModel(&model);
        table->setOwner(&owner);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QPoint cellCenter(int row, int column) const { return table->visualRect(model.index(row, column)).center(); }
    void press(int row, int column) { pressAt(cellCenter(row, column)); }
    void pressAt(QPoint at) { QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at); }
    // Editors delete themselves later; let that happen.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::vector<FakeOwner::Call> takeCalls()
    {
        auto calls = std::move(owner.calls);
        owner.calls.clear();
        return calls;
    }

    PageTableModel model;
    FakeOwner owner;
    std::unique_ptr<QWidget> window;
    PageTable *table = nullptr;
};

using Call = FakeOwner::Call;
constexpr unsigned kRowChosen = tablemsg::rowChosen;
constexpr unsigned kMayEdit = tablemsg::mayEditCell;
constexpr unsigned kCommit = tablemsg::commitCell;

} // namespace vt::test
