#pragma once

#include "commands/Operator.h"
#include "widgets/PageTable.h"

#include <QHash>
#include <QPointer>

class QWidget;

namespace vt {


// The operator as the main window shows it: message boxes, file dialogs and
// the window's own controls. Messages and file names can be handed to a
// replacement sink (the tests script their answers that way).
class WindowOperator : public Operator {
public:
    explicit WindowOperator(QWidget *window) : window_(window) {}

    void addControl(ControlId id, QWidget *control) { controls_.insert(id, control); }
    QWidget *control(ControlId id) const { return controls_.value(id); }
    void setPageTable(PageTable *table) { table_ = table; }
    // Null restores the real message boxes and file dialogs.
    void setMessageSink(Operator *sink) { sink_ = sink; }

    Answer showMessage(const Message &message) override;
    QString askOpenFileName(const QString &initialName, const QString &filter) override;
    QString askSaveFileName(const QString &initialName, const QString &filter) override;
    void fillList(ControlId list, const QStringList &entries) override;
    void selectListEntry(ControlId list, int index) override;
    int listSelection(ControlId list) const override;
    void enableControl(ControlId control, bool enabled) override;
    bool isControlChecked(ControlId control) const override;
    void setControlChecked(ControlId control, bool checked) override;
    std::optional<int> readEdit(ControlId edit) const override;
    void setEdit(ControlId edit, int value) override;
    QString windowTitle() const override;
    void setWindowTitle(const QString &title) override;
    void setEditText(ControlId edit, const QString &text) override;
    void focusEdit(ControlId edit) override;
    std::optional<NumberChoice> askNumbering(const NumberChoice &shown) override;
    void focusPageTable() override;
    void editPageCell(int row, int column) override;

private:
    QWidget *window_;
    QHash<ControlId, QPointer<QWidget>> controls_;
    QPointer<PageTable> table_;
    Operator *sink_ = nullptr;
};

} // namespace vt
