#include "widgets/CellEditor.h"

#include "commands/PageTableProtocol.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>

namespace vt {

namespace {
// QLineEdit keeps this much room between its frame and the text.
constexpr int kLineEditMargin = 2;

// Page text holds no control characters: 0x1A would split the lines,
// 0x12..0x1E are the printer's own codes and a NUL ends the text. Typed keys
// never bring one, but a pasted or dropped text can: its line breaks are
// dropped (the cell holds one line), any other control character becomes '?'.
class PageTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        QString kept;
        kept.reserve(input.size());
        int cursor = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const char16_t c = input.at(i).unicode();
            if (c == u'\r' || c == u'\n') {
                if (i < pos)
                    --cursor;
                continue;
            }
            kept.append(c < 0x20 || c == 0x7F ? QChar(u'?') : QChar(c));
        }
        input = kept;
        pos = cursor;
        return Acceptable;
    }
};

bool endsOrRoutesKey(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return true;
    default:
        return e->modifiers() & Qt::ControlModifier;
    }
}
} // namespace

CellEditor::CellEditor(int row, int column, const QString &initialText, QWidget *parent)
    : QLineEdit(parent), editRow(row), editColumn(column), initialText(initialText)
{
    setObjectName(QStringLiteral("inPlaceEdit"));
    setFrame(true);
    setValidator(new PageTextValidator(this));
}

CellEditor::~CellEditor() = default;

void CellEditor::setDigitsOnly(bool on)
{
    digitsOnly = on;
    // An input method would only offer characters that are dropped here.
    setAttribute(Qt::WA_InputMethodEnabled, !on);
}

void CellEditor::start()
{
    if (parentWidget())
        setFont(parentWidget()->font());
    setText(initialText);
    // Only what the operator types or pastes widens the editor.
    connect(this, &QLineEdit::textEdited, this, &CellEditor::widenToText);
    show();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

bool CellEditor::acceptsCharacter(QChar c) const
{
    if (!digitsOnly)
        return true;
    return (c >= u'0' && c <= u'9') || c == u'.';
}

int CellEditor::room() const
{
    // Typing over a selection replaces it, so the selection does not count.
    const qsizetype kept = text().size() - selectedText().size();
    return std::max<qsizetype>(0, MaxTypedLength - kept);
}

bool CellEditor::event(QEvent *event)
{
    // Enter, Escape, Delete and Ctrl combinations belong to the editor while
    // it is open: no default button, no closing of the window, no shortcut
    // of the window (Delete page, Ctrl+S) behind the operator's back.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (endsOrRoutesKey(key)) {
            key->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CellEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        endByKey(true);
        return;
    case Qt::Key_Escape:
        event->accept();
        endByKey(false);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Would otherwise reach the table and move its rows under the editor.
        event->accept();
        return;
    default:
        break;
    }

    // Characters are filtered; keys without printable text (Backspace,
    // arrows, Ctrl+C/V/X/Z) always go through. '&' and '(' are ordinary text.
    const QString typed = event->text();
    const Qt::KeyboardModifiers mods = event->modifiers();
    // Ctrl without Alt (Ctrl+Alt is AltGr on Windows) or Meta makes a command.
    const bool command = (mods & Qt::MetaModifier) || ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier));
    const bool printable = !command && !typed.isEmpty() &&
                           std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    if (printable) {
        const bool allowed = std::all_of(typed.begin(), typed.end(),
                                         [this](QChar c) { return acceptsCharacter(c); });
        if (!allowed || typed.size() > room()) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
    // Nothing typed into the editor travels on to the table.
    event->accept();
}

void CellEditor::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    event->accept();
}

void CellEditor::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    for (QChar c : commit)
        if (acceptsCharacter(c))
            kept.append(c);
    kept.truncate(room());
    if (kept == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void CellEditor::widenToText()
{
    QWidget *area = parentWidget();
    if (!area)
        return;
    const int needed = QFontMetrics(font()).horizontalAdvance(text()) + 5;
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const QMargins tm = textMargins();
    const QMargins cm = contentsMargins();
    const int contents = needed + 2 * kLineEditMargin + tm.left() + tm.right() + cm.left() + cm.right();
    const int full = style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(contents, height()), this).width();
    if (full <= width())
        return;
    QRect g = geometry();
    // Never past the table's edge, never shrinking, the left edge stays.
    const int right = std::min(g.left() + full, area->width());
    if (right <= g.left() + g.width())
        return;
    g.setWidth(right - g.left());
    setGeometry(g);
    update();
}

void CellEditor::endByKey(bool enter)
{
    // The flag is up before the commit runs.
    if (enter)
        enterPressed = true;
    else
        cancelled = true;
    QWidget *table = parentWidget();
    while (table && !qobject_cast<QAbstractItemView *>(table))
        table = table->parentWidget();
    if (table)
        table->setFocus(Qt::OtherFocusReason);
    // Without an active window no focus event arrives; end the edit anyway.
    finishEdit();
}

void CellEditor::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus only for a moment.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    finishEdit();
}

void CellEditor::finishEdit()
{
    if (ended)
        return;
    ended = true;
    emit editEnded(editRow, editColumn, text(), cancelled);
    hide();
    deleteLater();
}

} // namespace vt
