#pragma once

#include "app/MainWindow.h"
#include "common/ScriptedOperator.h"
#include "widgets/PageTable.h"

#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace vt::test {

// The real main window with its messages going to a script, and the clicks
// an operator makes on it.
struct WindowFixture : ::testing::Test {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    ScriptedOperator script;

    void SetUp() override
    {
        enterPressed = false;
        window->setMessageSink(&script);
    }
    void TearDown() override
    {
        if (window)
            window->job().modified = false;
        window.reset();
        enterPressed = false;
    }
    void showActive()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    PageTable &table() { return *window->pageTable(); }
    QString cell(int row, int column) { return window->job().model.cellText(row, column); }
    void clickCell(int row, int column)
    {
        const QRect r = table().visualRect(window->job().model.index(row, column));
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, r.center());
    }
    void clickHeader(int column)
    {
        QHeaderView *header = table().horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    CellEditor *editor() { return table().currentEditor(); }
};

} // namespace vt::test
