#pragma once

#include "commands/PageTableProtocol.h"
#include "model/PageTableModel.h"
#include "widgets/CellEditor.h"
#include "widgets/PageTableHeader.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

#include <array>
#include <vector>

namespace vt {

// The page table: a view of the job's PageTableModel with a current cell,
// click-to-edit of the text and repeat columns and the message protocol to
// its owner (row chosen, may edit, commit).
class PageTable : public QTableView {
    Q_OBJECT
public:
    // Widths the main window asks for; each column gets twice the header's
    // item margin on top.
    static constexpr std::array<int, ColumnCount> RequestedWidths = {16, 16, 40, 260, 90, 45, 55, 75, 95, 45};

    explicit PageTable(QWidget *parent = nullptr);
    ~PageTable() override;

    // The view never owns the model.
    void setPageModel(PageTableModel *model);
    PageTableModel *pageModel() const { return pageModel_; }
    void setOwner(PageTableOwner *owner) { owner_ = owner; }

    PageTableHeader *headerCtrl() const { return headerCtrl_; }

    // Writes the cell and puts it on screen before returning; false for a
    // row or column outside the table.
    bool setCellText(int row, int column, const QString &text);
    void repaintCell(int row, int column);

    // Selects and focuses the row, makes it the current row and scrolls it
    // wholly into view (vertically only).
    void selectRow(int row);
    void selectRow(int row, bool ensureVisible);

    // Opens the in-place editor over the cell, text selected. Returns null
    // when the cell cannot be edited. The editor deletes itself; do not keep it.
    CellEditor *editCell(int row, int column);

    // Sets the width and adds twice the header's item margin.
    void setColumnWidth(int column, int width);
    int columnCount() const;

    // Row at a viewport point, with its column; -1 (column 0) when no row
    // is hit. A point on the boundary of two columns belongs to the left one.
    int cellFromPoint(const QPoint &point, int *column) const;

    int getCurrentRow() const { return currentRow; }
    int getCurrentColumn() const;
    void setCurrentColumn(int column);

    // Column 0's header check box: 1 empty, 2 ticked (kept in the model).
    int headerCheckState() const { return headerCheckState(ColCheck); }
    void setHeaderCheckState(int state) { setHeaderCheckState(ColCheck, state); }
    // Any column: 0 no box, 1 empty, 2 ticked; -1 / false out of range.
    int headerCheckState(int column) const;
    bool setHeaderCheckState(int column, int state);

    void setColors(const QColor &background, const QColor &text);

    bool isEditing() const { return editor_ != nullptr; }
    CellEditor *currentEditor() const { return editor_; }
    // Ends an open edit as the loss of focus does: commit, no Enter.
    void commitEditor();

signals:
    void headerColumnClicked(int column);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void updateGeometries() override;

private:
    int send(unsigned message, int row, int column);
    void focusRow(int row, int column);
    void editByKey(int row, int column);
    void applyColumnWidths();
    // On a narrow screen the 1st Line column gives up the width the others
    // need, so every column stays in view without scrolling sideways.
    void fitFirstLine();
    void endLabelEdit(CellEditor *editor, const QPersistentModelIndex &cell, const QString &text,
                      bool cancelled);
    void beforeScroll();
    void scrollRowIntoView(const QModelIndex &cell);
    void followEditedCell();

    PageTableHeader *headerCtrl_;
    QPointer<PageTableModel> pageModel_;
    PageTableOwner *owner_ = nullptr;
    QPointer<CellEditor> editor_;
    QPersistentModelIndex editorCell_;
    std::vector<QMetaObject::Connection> modelConnections_;
    int currentRow = 0;
    int currentColumn_ = 0;   // used only while no model is set
    bool inWheel_ = false;
    bool fitting_ = false;
    bool firstLineSizedByHand_ = false;
    // The Up or Down press the table itself saw; a press taken by a
    // shortcut (Alt+Up, Alt+Down) must not move the row on its release.
    int arrowPressed_ = 0;
};

} // namespace vt
