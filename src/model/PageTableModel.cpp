#include "model/PageTableModel.h"

#include "model/MarkText.h"

#include <QCoreApplication>

namespace vt {

namespace {

// The frame and direction cells hold these English words, which the files,
// the clipboard and vt350-cli keep; the table shows them translated.
const char *const kSettingWords[] = {
    QT_TRANSLATE_NOOP("vt::PageTableModel", "None"),      QT_TRANSLATE_NOOP("vt::PageTableModel", "Frame"),
    QT_TRANSLATE_NOOP("vt::PageTableModel", "Underline"), QT_TRANSLATE_NOOP("vt::PageTableModel", "Horizontal"),
    QT_TRANSLATE_NOOP("vt::PageTableModel", "Vertical"),
};

QString shownSetting(const QString &word)
{
    for (const char *known : kSettingWords)
        if (word == QLatin1String(known))
            return QCoreApplication::translate("vt::PageTableModel", known);
    return word;
}

} // namespace

PageTableModel::PageTableModel(QObject *parent) : QAbstractTableModel(parent) {}

QStringList PageTableModel::columnTitles()
{
    return {QString(),
            QString(),
            QCoreApplication::translate("vt::PageTableModel", "Page"),
            QCoreApplication::translate("vt::PageTableModel", "1st Line"),
            QCoreApplication::translate("vt::PageTableModel", "2nd Line"),
            QCoreApplication::translate("vt::PageTableModel", "Repeat"),
            QCoreApplication::translate("vt::PageTableModel", "Font Size"),
            QCoreApplication::translate("vt::PageTableModel", "Frame"),
            QCoreApplication::translate("vt::PageTableModel", "Direction"),
            QCoreApplication::translate("vt::PageTableModel", "Zoom")};
}

int PageTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PageTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PageTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validRow(index.row()))
        return {};
    const Row &row = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::CheckStateRole:
        if (column == ColCheck)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        if (column == ColCheck)
            return role == Qt::AccessibleTextRole
                ? QVariant(row.checked ? QCoreApplication::translate("vt::PageTableModel", "printed")
                                       : QCoreApplication::translate("vt::PageTableModel", "not printed"))
                : QVariant();
        if (column == ColCurrent && role == Qt::AccessibleTextRole)
            return row.cells[ColCurrent].isEmpty() ? QString()
                                                   : QCoreApplication::translate("vt::PageTableModel", "current page");
        if ((column == ColLine1 || column == ColLine2) && role == Qt::AccessibleTextRole)
            return spokenMarks(row.cells[static_cast<std::size_t>(column)]);
        if ((column == ColFrame || column == ColDirection) && role != Qt::EditRole)
            return shownSetting(row.cells[static_cast<std::size_t>(column)]);
        return row.cells[static_cast<std::size_t>(column)];
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

bool PageTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !validRow(index.row()))
        return false;
    if (role == Qt::CheckStateRole && index.column() == ColCheck) {
        setChecked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    if (role == Qt::EditRole && index.column() != ColCheck) {
        setCellText(index.row(), index.column(), value.toString());
        return true;
    }
    return false;
}

QVariant PageTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return columnTitles().at(section);
    if (role == HeaderCheckRole && section == ColCheck)
        return headerCheckState_;
    if (role == Qt::AccessibleTextRole && section == ColCheck)
        return QCoreApplication::translate("vt::PageTableModel", "Print all");
    if (role == Qt::AccessibleTextRole && section == ColCurrent)
        return QCoreApplication::translate("vt::PageTableModel", "Current");
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags PageTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ColCheck)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void PageTableModel::insertPageRow(int row)
{
    row = std::clamp(row, 0, rowCount());
    beginInsertRows({}, row, row);
    rows_.insert(rows_.begin() + row, Row{});
    endInsertRows();
}

void PageTableModel::removePageRow(int row)
{
    if (!validRow(row))
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void PageTableModel::clearRows()
{
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QString PageTableModel::cellText(int row, int column) const
{
    if (!validRow(row) || column < 0 || column >= ColumnCount)
        return {};
    return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void PageTableModel::setCellText(int row, int column, const QString &text)
{
    if (!validRow(row) || column <= ColCheck || column >= ColumnCount)
        return;
    QString &cell = rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
    if (cell == text)
        return;
    cell = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
}

bool PageTableModel::isChecked(int row) const
{
    return validRow(row) && rows_[static_cast<std::size_t>(row)].checked;
}

void PageTableModel::setChecked(int row, bool checked)
{
    if (!validRow(row) || rows_[static_cast<std::size_t>(row)].checked == checked)
        return;
    rows_[static_cast<std::size_t>(row)].checked = checked;
    const QModelIndex at = index(row, ColCheck);
    emit dataChanged(at, at, {Qt::CheckStateRole});
}

void PageTableModel::setAllChecked(bool checked)
{
    for (int row = 0; row < rowCount(); ++row)
        setChecked(row, checked);
}

void PageTableModel::setHeaderCheckState(int state)
{
    if (headerCheckState_ == state)
        return;
    headerCheckState_ = state;
    emit headerDataChanged(Qt::Horizontal, ColCheck, ColCheck);
}

} // namespace vt
