#pragma once

#include "commands/TableImport.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class QTimer;

namespace vt {

// Import Table: which sheet, whether the first row holds column names, what
// goes into the 1st line, the 2nd line and the repeat, with a preview of the
// pages this gives and of every row refused. The reading and the rules are
// those of TableImport; this is only their face.
class ImportTableDialog : public QDialog {
    Q_OBJECT
public:
    ImportTableDialog(const QString &path, const TableChoice &start, QWidget *parent = nullptr);

    TableChoice choice() const;
    // The sheet as read with the last choice shown.
    const TableContent &content() const { return content_; }
    // More rows than a job holds, and the operator chose to split them.
    bool split() const;

    QComboBox *sheetList() const { return sheet_; }
    QCheckBox *headerBox() const { return header_; }
    QComboBox *field(int index) const { return fields_[index]; }
    QTableWidget *preview() const { return preview_; }
    QLabel *summary() const { return summary_; }
    QCheckBox *splitBox() const { return split_; }

    // Reads the sheet again with the choice shown (also after a short pause
    // in typing).
    void refresh();

private:
    void fillColumns();
    QComboBox *makeField(const QString &text);

    QString path_;
    TableOptions options_;
    TableContent content_;
    QComboBox *sheet_ = nullptr;
    QCheckBox *header_ = nullptr;
    QComboBox *fields_[3] = {};
    QLabel *summary_ = nullptr;
    QTableWidget *preview_ = nullptr;
    QCheckBox *split_ = nullptr;
    QTimer *pause_ = nullptr;
};

} // namespace vt
