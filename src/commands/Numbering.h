#pragma once

#include "commands/NumberChoice.h"
#include "commands/Operator.h"
#include "model/Job.h"

#include <QString>

#include <optional>

namespace vt {

// The page-table character that marks where a kind's number goes.
char16_t numberMark(NumberKind kind);

// The first kind whose flag is set, in the dialog's order; none without one.
std::optional<NumberKind> chosenKind(const NumberChoice &choice);

NumberChoice numberChoiceOf(const PageRecord &page);

// A typed Start or End value as it is kept: the decimal kind keeps the value
// of the leading number (007 becomes 7); the other kinds keep what was typed.
QString serialValueText(NumberKind kind, const QString &typed);

// `text` carrying exactly one mark of `kind`: the first mark of each other
// kind becomes the chosen mark, and one is appended when there is none.
QString withNumberMark(const QString &text, NumberKind kind);

// The Set Number button: asks for the kind and range of the current page and
// puts the chosen mark into its current text cell (the 1st line unless the
// 2nd is current).
void setNumberCommand(Job &job, Operator &op);

} // namespace vt
