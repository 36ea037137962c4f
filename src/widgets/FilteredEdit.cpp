#include "widgets/FilteredEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vt {

namespace {
// QLineEdit's own default, the widest it takes.
constexpr int kWidestLimit = 32767;

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
} // namespace

double leadingDouble(const QString &text)
{
    const QByteArray latin = text.toLatin1();
    const char *begin = latin.constData();
    const char *end = begin + latin.size();
    while (begin < end && (*begin == ' ' || (*begin >= '\t' && *begin <= '\r')))
        ++begin;
    bool negative = false;
    if (begin < end && (*begin == '+' || *begin == '-'))
        negative = *begin++ == '-';
    // from_chars takes no sign of its own after ours.
    if (begin < end && (*begin == '+' || *begin == '-'))
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return 0.0;
    if (result.ec == std::errc::result_out_of_range)
        value = std::abs(value) < 1.0 ? 0.0 : HUGE_VAL;
    return negative ? -value : value;
}

FilteredEdit::FilteredEdit(QWidget *parent) : QLineEdit(parent) {}

FilteredEdit::~FilteredEdit() = default;

void FilteredEdit::setFreeText(int limit)
{
    inputMode = AnyText;
    setMaxLength(limit > 0 ? limit : kWidestLimit);
}

void FilteredEdit::setNumeric(int limit)
{
    inputMode = Digits;
    if (limit > 0)
        setMaxLength(limit);
}

void FilteredEdit::setLetters(int limit, int caseMode)
{
    inputMode = Letters;
    if (limit > 0)
        setMaxLength(limit);
    letterCase = caseMode >= AsTyped && caseMode <= Upper ? caseMode : AsTyped;
}

void FilteredEdit::setNumber(double value)
{
    setText(QString::asprintf("%G", value));
}

double FilteredEdit::getNumber() const
{
    return leadingDouble(text());
}

QChar FilteredEdit::folded(QChar c) const
{
    // Folding comes first and applies in every mode.
    if (!isAsciiLetter(c))
        return c;
    if (letterCase == Lower)
        return c.toLower();
    if (letterCase == Upper)
        return c.toUpper();
    return c;
}

bool FilteredEdit::accepts(QChar c) const
{
    switch (inputMode) {
    case AnyText: return true;
    case Digits: return c >= u'0' && c <= u'9';
    case Letters: return isAsciiLetter(c);
    default: return false;
    }
}

QString FilteredEdit::filtered(const QString &typed) const
{
    QString kept;
    for (QChar c : typed) {
        c = folded(c);
        if (accepts(c))
            kept.append(c);
    }
    return kept;
}

void FilteredEdit::keyPressEvent(QKeyEvent *event)
{
    // Keys without printable text (Backspace, arrows, Ctrl combinations)
    // are the edit's own: Backspace erases one character in every mode.
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const bool printable = !command && !typed.isEmpty() &&
                           std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    if (!printable) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString kept = filtered(typed);
    if (kept.isEmpty()) {
        event->accept();
        return;
    }
    if (kept == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

void FilteredEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString kept = filtered(commit);
    if (kept == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent changed(event->preeditString(), event->attributes());
    changed.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&changed);
}

} // namespace vt
