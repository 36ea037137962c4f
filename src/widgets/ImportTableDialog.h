#pragma once

#include "commands/ImportProfiles.h"
#include "commands/TablePreviewReader.h"

#include <QDialog>
#include <QMessageBox>

#include <functional>


class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class QTimer;

namespace vt {

// Import Table: which sheet, whether the first row holds column names, what
// goes into the 1st line, the 2nd line and the repeat, with a preview of the
// pages this gives and of every row refused. The reading and the rules are
// those of TableImport, the worker threads those of TablePreviewReader; this
// is only their face: the window keeps answering while a large sheet is read.
class ImportTableDialog : public QDialog {
    Q_OBJECT
public:
    ImportTableDialog(const QString &path, const TableChoice &start, QWidget *parent = nullptr);
    ~ImportTableDialog() override;

    TableChoice choice() const;
    // The sheet as read with the last choice shown.
    const TableContent &content() const { return content_; }
    // More rows than a job holds, and the operator chose to split them.
    bool split() const;

    QComboBox *sheetList() const { return sheet_; }
    QCheckBox *headerBox() const { return header_; }
    QComboBox *field(int index) const { return fields_[index]; }
    // The far end's 1st line, 2nd line and repeat.
    QComboBox *farField(int index) const { return farFields_[index]; }
    QComboBox *endsList() const { return ends_; }
    QComboBox *orderList() const { return order_; }
    QCheckBox *mergeBox() const { return merge_; }
    QComboBox *sortList() const { return sort_; }
    QComboBox *profileList() const { return profile_; }
    // Keeps the choice shown under `name` (replacing a profile of that name).
    bool saveProfile(const QString &name);
    QTableWidget *preview() const { return preview_; }
    QLabel *summary() const { return summary_; }
    QCheckBox *splitBox() const { return split_; }

    // Reads the sheet again with the choice shown (also after a short pause
    // in typing); previewReady() follows when the preview is in.
    void refresh();
    // No read under way and no edit waiting for one: the preview shows the choice.
    bool isReady() const;
    // Asked when OK is pressed while the sheet gives more pages than a job
    // holds and the split is not ticked: Yes splits, No keeps the first
    // pages, Cancel stays in the dialog. A message box unless replaced (tests).
    std::function<QMessageBox::StandardButton(const QString &)> askSplit;
    // Asks the name for Save Profile; empty when the operator cancels. An
    // input dialog unless replaced (tests).
    std::function<QString(const QString &label)> askProfileText;

    void accept() override;

signals:
    void previewReady();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choiceEdited();
    void setOkEnabled(bool enabled);
    void showPreview(const TablePreview &preview);
    void fillSheets();
    void fillColumns();
    QComboBox *makeField(const QString &text);
    void showChoice(const TableChoice &choice);
    void fillProfiles();
    void profileChosen(int index);
    void askProfileName();
    void endsChanged();

    QString path_;
    TableOptions options_;
    TableContent content_;
    QComboBox *sheet_ = nullptr;
    QCheckBox *header_ = nullptr;
    QComboBox *fields_[3] = {};
    QComboBox *farFields_[3] = {};
    QComboBox *ends_ = nullptr;
    QComboBox *order_ = nullptr;
    QCheckBox *merge_ = nullptr;
    QComboBox *sort_ = nullptr;
    QComboBox *profile_ = nullptr;
    std::vector<ImportProfile> profiles_;
    QLabel *summary_ = nullptr;
    QTableWidget *preview_ = nullptr;
    QCheckBox *split_ = nullptr;
    QTimer *pause_ = nullptr;
    int startSheet_ = 0;
    QString startSheetName_;
    // OK or Enter came while the preview was not in: taken once it is.
    bool acceptWhenReady_ = false;
    TablePreviewReader *reader_ = nullptr;
};

} // namespace vt
