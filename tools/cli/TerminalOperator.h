#pragma once

#include "commands/Operator.h"

#include <QMap>

#include <cstdio>

namespace vt::cli {

// The operator on a terminal: messages go to stderr one per line, questions
// are answered No (a batch run never discards or overwrites on its own),
// file dialogs are cancelled (the commands take their files as arguments).
class TerminalOperator : public Operator {
public:
    explicit TerminalOperator(std::FILE *out = stderr) : out_(out) {}

    Answer showMessage(const Message &message) override;
    QString askOpenFileName(const QString &, const QString &) override { return {}; }
    QString askSaveFileName(const QString &, const QString &) override { return {}; }

    void fillList(ControlId list, const QStringList &entries) override;
    void selectListEntry(ControlId list, int index) override;
    int listSelection(ControlId list) const override { return selections_.value(list, -1); }
    void enableControl(ControlId, bool) override {}
    bool isControlChecked(ControlId control) const override { return checked_.value(control, false); }
    void setControlChecked(ControlId control, bool on) override { checked_[control] = on; }
    std::optional<int> readEdit(ControlId edit) const override { return edits_.value(edit, std::nullopt); }
    void setEdit(ControlId edit, int value) override { edits_[edit] = value; }
    QString windowTitle() const override { return title_; }
    void setWindowTitle(const QString &title) override { title_ = title; }
    void setEditText(ControlId edit, const QString &text) override { edits_[edit] = editInteger(text); }
    // No dialog on a terminal: numbering is left as it is.
    std::optional<NumberChoice> askNumbering(const NumberChoice &) override { return std::nullopt; }

private:
    std::FILE *out_;
    QMap<ControlId, QStringList> lists_;
    QMap<ControlId, int> selections_;
    QMap<ControlId, bool> checked_;
    QMap<ControlId, std::optional<int>> edits_;
    QString title_;
};

} // namespace vt::cli
