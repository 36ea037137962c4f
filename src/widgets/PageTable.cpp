#include "widgets/PageTable.h"

#include "widgets/PageTextDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace vt {

namespace {
// Narrower columns are too small to type into.
constexpr int kMinEditWidth = 5;
// Where the editor sits inside its cell.
constexpr int kEditorLeftInset = 4;
constexpr int kEditorRightTrim = 3;
} // namespace

PageTable::PageTable(QWidget *parent) : QTableView(parent), headerCtrl_(new PageTableHeader(this))
{
    setObjectName(QStringLiteral("pageTable"));
    setAccessibleName(tr("Pages"));
    setHorizontalHeader(headerCtrl_);
    headerCtrl_->setAccessibleName(tr("Page columns"));
    headerCtrl_->setOwnerList(this);
    headerCtrl_->setSectionsMovable(false);
    headerCtrl_->setStretchLastSection(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Cells are edited only through our own editor, on a press.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    setItemDelegate(new PageTextDelegate(this));

    connect(headerCtrl_, &QHeaderView::sectionClicked, this, &PageTable::headerColumnClicked);
    // An editor left open would float over the wrong cell.
    connect(headerCtrl_, &QHeaderView::sectionResized, this, [this](int column) {
        commitEditor();
        if (!fitting_ && column == ColLine1)
            firstLineSizedByHand_ = true;
    });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, &PageTable::beforeScroll);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, &PageTable::beforeScroll);
}

PageTable::~PageTable()
{
    // Going down with the table is no commit.
    if (editor_) {
        disconnect(editor_, nullptr, this, nullptr);
        delete editor_;
    }
}

void PageTable::setPageModel(PageTableModel *model)
{
    commitEditor();
    QItemSelectionModel *oldSelection = selectionModel();
    setModel(model);
    if (oldSelection && oldSelection != selectionModel())
        oldSelection->deleteLater();
    for (const QMetaObject::Connection &c : modelConnections_)
        disconnect(c);
    modelConnections_.clear();
    pageModel_ = model;
    if (model) {
        for (auto signal : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted})
            modelConnections_.push_back(connect(model, signal, this, &PageTable::followEditedCell));
        modelConnections_.push_back(
            connect(model, &QAbstractItemModel::modelReset, this, &PageTable::followEditedCell));
    }
    applyColumnWidths();
}

void PageTable::followEditedCell()
{
    if (!editor_)
        return;
    if (editorCell_.isValid()) {
        // Rows came or went above: the editor moves with its page.
        editor_->move(editor_->x(), rowViewportPosition(editorCell_.row()));
        return;
    }
    // The edited page is gone (deleted, or the job was replaced): the editor
    // closes without a commit instead of floating over another page.
    QPointer<CellEditor> editor = editor_;
    editor_ = nullptr;
    disconnect(editor, nullptr, this, nullptr);
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    if (editor) {
        editor->hide();
        editor->deleteLater();
    }
}

void PageTable::applyColumnWidths()
{
    const QScopedValueRollback quiet(fitting_, true);
    const int n = std::min<int>(columnCount(), static_cast<int>(RequestedWidths.size()));
    for (int column = 0; column < n; ++column)
        setColumnWidth(column, RequestedWidths[static_cast<std::size_t>(column)]);
    firstLineSizedByHand_ = false;
    fitFirstLine();
}

void PageTable::fitFirstLine()
{
    constexpr int kLeastFirstLine = 120;
    if (firstLineSizedByHand_ || columnCount() != ColumnCount)
        return;
    const QScopedValueRollback quiet(fitting_, true);
    int others = 0;
    for (int column = 0; column < ColumnCount; ++column)
        if (column != ColLine1)
            others += headerCtrl_->sectionSize(column);
    const int requested = RequestedWidths[ColLine1] + 2 * headerCtrl_->getItemMargin();
    const int width = std::clamp(viewport()->width() - others, kLeastFirstLine, requested);
    if (headerCtrl_->sectionSize(ColLine1) != width)
        headerCtrl_->resizeSection(ColLine1, width);
}

void PageTable::updateGeometries()
{
    QTableView::updateGeometries();
    if (!fitting_)
        fitFirstLine();
}

void PageTable::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columnCount())
        return;
    headerCtrl_->resizeSection(column, std::max(0, width));
    const int applied = headerCtrl_->sectionSize(column);
    headerCtrl_->resizeSection(column, applied + 2 * headerCtrl_->getItemMargin());
}

int PageTable::columnCount() const
{
    return headerCtrl_->count();
}

int PageTable::send(unsigned message, int row, int column)
{
    return owner_ ? owner_->pageTableMessage(message, row, column) : 0;
}

int PageTable::getCurrentColumn() const
{
    return pageModel_ ? pageModel_->currentColumn() : currentColumn_;
}

void PageTable::setCurrentColumn(int column)
{
    currentColumn_ = column;
    if (pageModel_)
        pageModel_->setCurrentColumn(column);
}

bool PageTable::setCellText(int row, int column, const QString &text)
{
    if (!pageModel_ || row < 0 || row >= pageModel_->rowCount() || column < 0 || column >= columnCount())
        return false;
    pageModel_->setCellText(row, column, text);
    repaintCell(row, column);
    return pageModel_->cellText(row, column) == text;
}

void PageTable::repaintCell(int row, int column)
{
    if (!pageModel_)
        return;
    const QRect cell = visualRect(pageModel_->index(row, column));
    if (cell.isValid())
        viewport()->repaint(cell.adjusted(-2, -2, 2, 2));
}

void PageTable::focusRow(int row, int column)
{
    if (!pageModel_ || row < 0 || row >= pageModel_->rowCount())
        return;
    column = std::clamp(column, 0, std::max(0, columnCount() - 1));
    selectionModel()->setCurrentIndex(pageModel_->index(row, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void PageTable::selectRow(int row)
{
    selectRow(row, true);
}

void PageTable::selectRow(int row, bool ensureVisible)
{
    if (!pageModel_ || row < 0 || row >= pageModel_->rowCount())
        return;
    currentRow = row;
    focusRow(row, getCurrentColumn());
    if (ensureVisible)
        scrollRowIntoView(pageModel_->index(row, 0));
}

void PageTable::scrollRowIntoView(const QModelIndex &cell)
{
    // Vertically only: the columns do not move sideways.
    const int h = horizontalScrollBar()->value();
    scrollTo(cell, QAbstractItemView::EnsureVisible);
    horizontalScrollBar()->setValue(h);
}

int PageTable::cellFromPoint(const QPoint &point, int *column) const
{
    if (column)
        *column = 0;
    const int row = rowAt(point.y());
    if (row < 0)
        return -1;
    int left = -horizontalOffset();
    int total = 0;
    for (int c = 0; c < columnCount(); ++c)
        total += columnWidth(c);
    // The row's rectangle holds its left edge but not its right one.
    if (point.x() < left || point.x() >= left + total)
        return -1;
    for (int c = 0; c < columnCount(); ++c) {
        const int width = columnWidth(c);
        if (point.x() >= left && point.x() <= left + width) {
            if (column)
                *column = c;
            return row;
        }
        left += width;
    }
    return -1;
}

void PageTable::mousePressEvent(QMouseEvent *event)
{
    // Only the left button chooses a row. The view would carry the highlight
    // to a right- or middle-pressed row too, away from the current page that
    // Delete and the marks act on.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    if (!pageModel_)
        return;

    int column = 0;
    const int row = cellFromPoint(event->position().toPoint(), &column);
    currentRow = row;
    setCurrentColumn(column);
    if (row < 0)
        return;

    send(tablemsg::rowChosen, row, column);
    // The owner may have changed the table while it answered.
    if (!pageModel_ || row >= pageModel_->rowCount())
        return;
    if (column < ColLine1 || column > ColRepeat) {
        focusRow(row, column);
        return;
    }
    if (send(tablemsg::mayEditCell, row, column) == 0)
        return;
    if (!pageModel_ || row >= pageModel_->rowCount())
        return;
    if (currentIndex().row() == row && column > 0)
        editCell(row, column);
    else
        focusRow(row, column);
}

CellEditor *PageTable::editCell(int row, int column)
{
    // Only one editor at a time: the open one commits first.
    commitEditor();
    if (!pageModel_ || row < 0 || row >= pageModel_->rowCount())
        return nullptr;
    if (column < 0 || column >= columnCount() || columnWidth(column) < kMinEditWidth)
        return nullptr;

    const QModelIndex cell = pageModel_->index(row, column);
    scrollRowIntoView(cell);
    if (rowViewportPosition(row) + rowHeight(row) <= 0 || rowViewportPosition(row) >= viewport()->height())
        return nullptr;

    // A column left or right of the visible part is scrolled to the left edge.
    const int clientRight = viewport()->width();
    int cellLeft = columnViewportPosition(column);
    if (cellLeft < 0 || cellLeft > clientRight) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + cellLeft);
        cellLeft = columnViewportPosition(column);
    }

    const int left = cellLeft + kEditorLeftInset;
    const int right = std::min(left + columnWidth(column) - kEditorRightTrim, clientRight);
    const QRect rect(QPoint(left, rowViewportPosition(row)),
                     QPoint(std::max(left, right) - 1, rowViewportPosition(row) + rowHeight(row) - 1));

    const QVariant align = pageModel_->data(cell, Qt::TextAlignmentRole);
    const Qt::Alignment horizontal =
        align.isValid() ? (Qt::Alignment(align.toInt()) & Qt::AlignHorizontal_Mask) : Qt::AlignLeft;

    auto *editor = new CellEditor(row, column, pageModel_->cellText(row, column), viewport());
    // The table's own colours are not the editor's.
    editor->setPalette(QApplication::palette(editor));
    editor->setAlignment(horizontal | Qt::AlignVCenter);
    const QString title = pageModel_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    editor->setAccessibleName(title.isEmpty() ? tr("Cell") : title);
    editor->setGeometry(rect);
    setCurrentColumn(column);
    editor->setDigitsOnly(column == ColRepeat);
    const QPersistentModelIndex where(cell);
    connect(editor, &CellEditor::editEnded, this,
            [this, editor, where](int, int, const QString &text, bool cancelled) {
                endLabelEdit(editor, where, text, cancelled);
            });
    editor_ = editor;
    editorCell_ = where;
    editor->start();
    return editor;
}

void PageTable::endLabelEdit(CellEditor *editor, const QPersistentModelIndex &cell, const QString &text,
                               bool cancelled)
{
    if (editor_ == editor)
        editor_ = nullptr;
    if (cancelled)
        return;
    if (!cell.isValid()) {
        // The page went away while it was edited: nothing to commit, and no
        // Enter left behind to move a later edit on.
        enterPressed = false;
        return;
    }
    // Rows inserted or removed above meanwhile move the cell with its page.
    const int row = cell.row();
    const int column = cell.column();
    setCellText(row, column, text);
    send(tablemsg::commitCell, row, column);
}

void PageTable::commitEditor()
{
    if (!editor_)
        return;
    QPointer<CellEditor> editor = editor_;
    if (editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    // Without an active window no focus event arrives.
    if (editor)
        editor->finishEdit();
}

void PageTable::beforeScroll()
{
    if (!hasFocus() && !inWheel_)
        setFocus(Qt::OtherFocusReason);
    commitEditor();
}

void PageTable::wheelEvent(QWheelEvent *event)
{
    commitEditor();
    inWheel_ = true;
    QTableView::wheelEvent(event);
    inWheel_ = false;
}

void PageTable::mouseMoveEvent(QMouseEvent *event)
{
    // The selection stays on the pressed row (the current page) while the
    // button is held; dragging does not carry it to other rows.
    if (event->buttons() & Qt::LeftButton)
        return;
    QTableView::mouseMoveEvent(event);
}

void PageTable::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void PageTable::keyPressEvent(QKeyEvent *event)
{
    arrowPressed_ = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ? event->key() : 0;
    // Without a mouse (a screen reader's user) a cell opens with F2 or Enter:
    // the current cell when it is one of the edited columns, else the 1st line.
    const bool editKey = event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return ||
                         event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers chords = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (editKey && !(event->modifiers() & chords) && pageModel_ && !editor_) {
        const int count = pageModel_->rowCount();
        const int row = currentRow >= 0 && currentRow < count ? currentRow : currentIndex().row();
        if (row >= 0 && row < count) {
            int column = currentIndex().column();
            if (column < ColLine1 || column > ColRepeat)
                column = ColLine1;
            event->accept();
            editByKey(row, column);
            return;
        }
    }
    QTableView::keyPressEvent(event);
    // Page Up/Down, Ctrl+Home/End or typing a page's first letters carry the
    // highlight to another row: that row becomes the current page too, or
    // Delete and the marks would act on a page out of sight. Up and Down
    // choose their row on release.
    if (arrowPressed_ == 0 && pageModel_) {
        const int row = currentIndex().row();
        if (row >= 0 && row < pageModel_->rowCount() && row != currentRow) {
            currentRow = row;
            send(tablemsg::rowChosen, row, getCurrentColumn());
        }
    }
}

void PageTable::editByKey(int row, int column)
{
    // The same messages as a press on the cell.
    currentRow = row;
    setCurrentColumn(column);
    send(tablemsg::rowChosen, row, column);
    if (!pageModel_ || row >= pageModel_->rowCount())
        return;
    if (send(tablemsg::mayEditCell, row, column) == 0)
        return;
    if (pageModel_ && row < pageModel_->rowCount())
        editCell(row, column);
}

void PageTable::keyReleaseEvent(QKeyEvent *event)
{
    const bool upDown = (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) &&
                        event->key() == arrowPressed_ && !event->isAutoRepeat();
    if (upDown)
        arrowPressed_ = 0;
    if (upDown && hasFocus() && pageModel_) {
        const int count = pageModel_->rowCount();
        if (currentRow >= count)
            currentRow = count - 1;
        if (event->key() == Qt::Key_Up) {
            if (currentRow > 0)
                --currentRow;
        } else if (currentRow < count - 1) {
            ++currentRow;
        }
        // No row, nothing to choose: never send a row outside the table.
        if (currentRow >= 0) {
            const int row = currentRow;
            const int column = getCurrentColumn();
            send(tablemsg::rowChosen, row, column);
            focusRow(row, column);
        }
    }
    QTableView::keyReleaseEvent(event);
}

int PageTable::headerCheckState(int column) const
{
    if (column < 0 || column >= columnCount())
        return -1;
    return headerCtrl_->itemCheckState(column);
}

bool PageTable::setHeaderCheckState(int column, int state)
{
    if (column < 0 || column >= columnCount() || state < 0 || state > 2)
        return false;
    if (column == ColCheck && pageModel_) {
        pageModel_->setHeaderCheckState(state);
        headerCtrl_->viewport()->update();
        return true;
    }
    return headerCtrl_->setItemCheckState(column, state);
}

void PageTable::setColors(const QColor &background, const QColor &text)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
    headerCtrl_->setColors(background, text);
    headerCtrl_->viewport()->repaint();
}

} // namespace vt
