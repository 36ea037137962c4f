#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace vt {

// Columns of the page table.
enum Column {
    ColCheck = 0,
    ColCurrent = 1,
    ColPage = 2,
    ColLine1 = 3,
    ColLine2 = 4,
    ColRepeat = 5,
    ColFontSize = 6,
    ColFrame = 7,
    ColDirection = 8,
    ColZoom = 9,
    ColumnCount = 10
};

inline const QString kCurrentStar = QStringLiteral("\u2605");

// The cells of the page table: what the operator sees and types. Row i is
// page i of the job. Column 0 holds the row's check box, the other columns
// text. The header of column 0 carries a check box of its own, state 1
// (empty) or 2 (ticked).
class PageTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int HeaderCheckRole = Qt::UserRole + 1;

    explicit PageTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Inserts an empty, checked row before `row` (appends when row >= count).
    void insertPageRow(int row);
    void removePageRow(int row);
    void clearRows();

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);

    int headerCheckState() const { return headerCheckState_; }
    void setHeaderCheckState(int state);

    // The table's current column, shared by the view and the job logic.
    int currentColumn() const { return currentColumn_; }
    void setCurrentColumn(int column) { currentColumn_ = column; }

    static QStringList columnTitles();

private:
    struct Row {
        bool checked = true;
        std::array<QString, ColumnCount> cells;
    };
    bool validRow(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }

    std::vector<Row> rows_;
    int headerCheckState_ = 2;
    int currentColumn_ = 0;
};

} // namespace vt
