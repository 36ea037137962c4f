#include "app/WindowOperator.h"

#include "widgets/NumberDialog.h"
#include "widgets/PageTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>

namespace vt {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation:
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Answer WindowOperator::showMessage(const Message &message)
{
    if (sink_)
        return sink_->showMessage(message);
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (message.buttons) {
    case MessageButtons::Ok: buttons = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(boxIcon(message.icon), message.caption, shownText(message.text), buttons, window_);
    // A file name is never markup.
    box.setTextFormat(Qt::PlainText);
    if (!message.details.isEmpty())
        box.setDetailedText(message.details);
    const int result = box.exec();
    // Ended without a button (the program is ending, its event loops quit):
    // no answer, least of all a No or a Yes.
    if (!box.clickedButton())
        return message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    switch (result) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
    }
}

QString WindowOperator::askOpenFileName(const QString &initialName, const QString &filter)
{
    if (sink_)
        return sink_->askOpenFileName(initialName, filter);
    return QFileDialog::getOpenFileName(window_, QString(), initialName, filter);
}

QString WindowOperator::askSaveFileName(const QString &initialName, const QString &filter)
{
    if (sink_)
        return sink_->askSaveFileName(initialName, filter);
    // The caller asks before replacing a file of the completed name.
    return QFileDialog::getSaveFileName(window_, QString(), initialName, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void WindowOperator::fillList(ControlId list, const QStringList &entries)
{
    if (auto *combo = qobject_cast<QComboBox *>(control(list))) {
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItems(entries);
        combo->setCurrentIndex(-1);
    }
}

void WindowOperator::selectListEntry(ControlId list, int index)
{
    if (auto *combo = qobject_cast<QComboBox *>(control(list))) {
        // Selecting from code runs no rule.
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}

int WindowOperator::listSelection(ControlId list) const
{
    auto *combo = qobject_cast<QComboBox *>(control(list));
    return combo ? combo->currentIndex() : -1;
}

void WindowOperator::enableControl(ControlId id, bool enabled)
{
    if (QWidget *w = control(id))
        w->setEnabled(enabled);
}

bool WindowOperator::isControlChecked(ControlId id) const
{
    auto *button = qobject_cast<QAbstractButton *>(control(id));
    return button && button->isChecked();
}

void WindowOperator::setControlChecked(ControlId id, bool checked)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control(id))) {
        const QSignalBlocker quiet(button);
        button->setChecked(checked);
    }
}

std::optional<int> WindowOperator::readEdit(ControlId edit) const
{
    auto *line = qobject_cast<QLineEdit *>(control(edit));
    return line ? editInteger(line->text()) : std::nullopt;
}

void WindowOperator::setEdit(ControlId edit, int value)
{
    setEditText(edit, QString::number(value));
}

void WindowOperator::setEditText(ControlId edit, const QString &text)
{
    // Not blocked: the edits' own change rules see the new text.
    if (auto *line = qobject_cast<QLineEdit *>(control(edit)))
        line->setText(text);
}

void WindowOperator::focusEdit(ControlId edit)
{
    if (auto *line = qobject_cast<QLineEdit *>(control(edit))) {
        line->setFocus(Qt::OtherFocusReason);
        line->selectAll();
    }
}

std::optional<NumberChoice> WindowOperator::askNumbering(const NumberChoice &shown)
{
    // Always the real dialog; its own messages go where the window's go.
    NumberDialog dialog(*this, window_);
    dialog.setChoice(shown);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

QString WindowOperator::windowTitle() const
{
    return window_ ? window_->windowTitle() : QString();
}

void WindowOperator::setWindowTitle(const QString &title)
{
    if (window_)
        window_->setWindowTitle(title);
}

void WindowOperator::focusPageTable()
{
    if (!table_)
        return;
    // Focus only moves inside an active window; the editor must commit
    // before the caller reads any cell either way.
    if (table_->isEditing())
        table_->commitEditor();
    table_->setFocus(Qt::OtherFocusReason);
}

void WindowOperator::editPageCell(int row, int column)
{
    if (table_)
        table_->editCell(row, column);
}

} // namespace vt
