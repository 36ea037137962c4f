#include "app/TableClipboard.h"

#include "commands/ClipboardCommands.h"
#include "widgets/PageTable.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QMimeData>

#include <algorithm>

namespace vt {

TableClipboard::TableClipboard(PageTable *table, std::unique_ptr<ClipboardCommands> commands,
                               std::function<bool()> mayChangeJob)
    : QObject(table), table_(table), commands_(std::move(commands)), mayChangeJob_(std::move(mayChangeJob))
{
    table_->installEventFilter(this);
}

TableClipboard::~TableClipboard() = default;

bool TableClipboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != table_ || table_->isEditing())
        return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const bool isCopy = key->matches(QKeySequence::Copy);
    const bool isPaste = key->matches(QKeySequence::Paste);
    if (!isCopy && !isPaste)
        return false;
    // Ours, not a window shortcut's nor the view's own copy of one cell.
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        if (isCopy)
            copy();
        else
            paste();
    }
    return true;
}

void TableClipboard::copy()
{
    QList<int> rows;
    const QModelIndexList selected = table_->selectionModel() ? table_->selectionModel()->selectedRows() : QModelIndexList{};
    if (selected.size() > 1) {
        for (const QModelIndex &index : selected)
            rows << index.row();
    } else {
        for (int row = 0; row < table_->model()->rowCount(); ++row)
            if (table_->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                rows << row;
    }
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(commands_->copyText(rows));
}

void TableClipboard::paste()
{
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty() || !mayChangeJob_())
        return;
    commands_->paste(text);
}

} // namespace vt
