#pragma once

#include "commands/NumberChoice.h"
#include "commands/Operator.h"

#include <QDialog>

#include <array>

class QRadioButton;

namespace vt {

class FilteredEdit;

// The Set Number dialog: the kind of serial number and its first and last
// value for one page. Its messages go through the operator.
class NumberDialog : public QDialog {
    Q_OBJECT
public:
    explicit NumberDialog(Operator &op, QWidget *parent = nullptr);

    // Shows a page's choice: its kind checked (decimal when it has none) and
    // its values in the edits.
    void setChoice(const NumberChoice &shown);
    // The kind and values taken by OK.
    NumberChoice choice() const { return choice_; }

    QRadioButton *kindButton(NumberKind kind) const { return kinds_[static_cast<std::size_t>(kind)]; }
    FilteredEdit *startEdit() const { return start_; }
    FilteredEdit *endEdit() const { return end_; }

    // OK: both values are needed; the dialog stays open without one.
    void accept() override;

private:
    void applyInputMode(NumberKind kind);
    void kindClicked(NumberKind kind);
    NumberKind checkedKind() const;

    Operator &op_;
    NumberChoice choice_;
    std::array<QRadioButton *, kNumberKinds> kinds_{};
    FilteredEdit *start_ = nullptr;
    FilteredEdit *end_ = nullptr;
};

} // namespace vt
