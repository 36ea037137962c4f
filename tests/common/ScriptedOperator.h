#pragma once

#include "commands/Operator.h"

#include <QMap>

#include <deque>
#include <functional>
#include <vector>

namespace vt::test {

// An operator that records every message and gives scripted answers. Lists,
// checks and edits are kept in maps, so the logic can be run without widgets.
class ScriptedOperator : public Operator {
public:
    std::vector<Message> messages;
    std::deque<Answer> answers;          // next answers to questions; Ok/Yes when empty
    std::deque<QString> fileNames;       // next file names; empty string = cancel
    QMap<ControlId, QStringList> lists;
    QMap<ControlId, int> selections;
    QMap<ControlId, bool> enabled;
    QMap<ControlId, bool> checked;
    QMap<ControlId, std::optional<int>> edits;
    std::vector<std::pair<int, int>> editedCells;  // (row, column) of each editor opened
    QMap<ControlId, QString> editTexts;            // texts put into edits by setEditText
    std::vector<ControlId> focusedEdits;
    std::deque<std::optional<NumberChoice>> numberAnswers;  // Set Number answers; cancelled when empty
    std::vector<NumberChoice> numberingShown;      // what each Set Number dialog showed
    int tableFocusCount = 0;
    QString title;
    // Called as each message appears, to look at the screen then.
    std::function<void(const Message &)> onMessage;

    Answer showMessage(const Message &message) override
    {
        messages.push_back(message);
        if (onMessage)
            onMessage(message);
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return message.buttons == MessageButtons::YesNo || message.buttons == MessageButtons::YesNoCancel
                   ? Answer::Yes
                   : Answer::Ok;
    }
    QString askOpenFileName(const QString &, const QString &) override { return nextFileName(); }
    QString askSaveFileName(const QString &, const QString &) override { return nextFileName(); }

    void fillList(ControlId list, const QStringList &entries) override
    {
        lists[list] = entries;
        selections[list] = -1;
    }
    void selectListEntry(ControlId list, int index) override
    {
        selections[list] = index >= 0 && index < lists.value(list).size() ? index : -1;
    }
    int listSelection(ControlId list) const override { return selections.value(list, -1); }
    void enableControl(ControlId control, bool on) override { enabled[control] = on; }
    bool isControlChecked(ControlId control) const override { return checked.value(control, false); }
    void setControlChecked(ControlId control, bool on) override { checked[control] = on; }
    std::optional<int> readEdit(ControlId edit) const override { return edits.value(edit, std::nullopt); }
    void setEdit(ControlId edit, int value) override { edits[edit] = value; }
    QString windowTitle() const override { return title; }
    void setWindowTitle(const QString &text) override { title = text; }
    void setEditText(ControlId edit, const QString &text) override
    {
        editTexts[edit] = text;
        edits[edit] = editInteger(text);
    }
    void focusEdit(ControlId edit) override { focusedEdits.push_back(edit); }
    std::optional<NumberChoice> askNumbering(const NumberChoice &shown) override
    {
        numberingShown.push_back(shown);
        if (numberAnswers.empty())
            return std::nullopt;
        std::optional<NumberChoice> answer = numberAnswers.front();
        numberAnswers.pop_front();
        return answer;
    }
    void focusPageTable() override { ++tableFocusCount; }
    void editPageCell(int row, int column) override { editedCells.emplace_back(row, column); }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const Message &m : messages)
            out << m.text;
        return out;
    }

private:
    QString nextFileName()
    {
        if (fileNames.empty())
            return {};
        QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

} // namespace vt::test
