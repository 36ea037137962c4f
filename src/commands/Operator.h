#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "commands/NumberChoice.h"

#include <optional>

namespace vt {

// Ids of the main window's controls, as the handlers name them.
enum class ControlId {
    Material = 1004,
    MaterialParameter = 1005,
    Frame = 1006,
    Spacing = 1007,
    CutSetting = 1016,
    FontSize = 1010,
    Zoom = 1011,
    PageTable = 1017,
    LengthEdit = 1019,
    RepeatEdit = 1020,
    ComputerFont = 1021,
    LocalFont = 1022,
    FontList = 1023,
    Arrange = 1024,
    Direction = 1025,
    Density = 1026,
    Automatic = 1027,
    Specify = 1028,
    LengthSet = 1030,
    RepeatSet = 1031,
    CopiesEdit = 1032,
    SetNumber = 1033,
    CurrentPage = 1039,
    FollowingPage = 1040,
};

enum class MessageIcon { None, Information, Exclamation, Warning, Question, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// The caption of the program's messages.
inline QString promptCaption()
{
    return QCoreApplication::translate("vt::Message", "Prompt");
}

struct Message {
    QString text;
    QString caption = promptCaption();
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // Offered on request beside the text (the window's "Show Details...").
    QString details = {};
};

// The program's texts break lines with a lone "\r"; a screen wants "\n".
inline QString shownText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Everything the job logic needs from the person at the screen. The main
// window implements it with widgets and message boxes, the command-line tool
// on the terminal, and the tests with a script.
class Operator {
public:
    virtual ~Operator() = default;

    // Shows a message and waits for the answer.
    virtual Answer showMessage(const Message &message) = 0;
    Answer prompt(const QString &text) { return showMessage(Message{text}); }

    // File names; an empty result means the operator cancelled.
    virtual QString askOpenFileName(const QString &initialName, const QString &filter) = 0;
    virtual QString askSaveFileName(const QString &initialName, const QString &filter) = 0;

    // Drop-down lists. Selecting from code never runs the list's change rule.
    // An index outside the list leaves it without a selection.
    virtual void fillList(ControlId list, const QStringList &entries) = 0;
    virtual void selectListEntry(ControlId list, int index) = 0;
    virtual int listSelection(ControlId list) const = 0;

    // Buttons, radio buttons and edits.
    virtual void enableControl(ControlId control, bool enabled) = 0;
    virtual bool isControlChecked(ControlId control) const = 0;
    virtual void setControlChecked(ControlId control, bool checked) = 0;
    // The integer in a bound edit; nothing when it does not hold one.
    virtual std::optional<int> readEdit(ControlId edit) const = 0;
    virtual void setEdit(ControlId edit, int value) = 0;
    // Replaces an edit's text; its text-change rule sees the new text.
    virtual void setEditText(ControlId edit, const QString &text) = 0;
    // Gives an edit the focus with its text selected, after it was refused.
    virtual void focusEdit(ControlId edit) { (void)edit; }

    // Runs the Set Number dialog showing `shown`; nothing when cancelled.
    virtual std::optional<NumberChoice> askNumbering(const NumberChoice &shown) = 0;

    // The window's title; Print appends the printer's firmware version to it.
    virtual QString windowTitle() const { return {}; }
    virtual void setWindowTitle(const QString &title) { (void)title; }

    // Moves the keyboard focus to the page table; an open cell editor
    // commits and closes before this returns.
    virtual void focusPageTable() {}
    // Opens the page table's in-place editor on a cell.
    virtual void editPageCell(int row, int column) { (void)row; (void)column; }
};

// The integer a bound edit holds, as the platform's data exchange reads it:
// blanks around an optional sign and digits; nothing for anything else.
inline std::optional<int> editInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace vt
