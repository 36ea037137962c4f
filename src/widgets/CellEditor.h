#pragma once

#include <QLineEdit>

namespace vt {

// The short-lived editor the page table opens over one cell. Enter, Escape
// or the loss of the keyboard focus end the edit: editEnded is emitted (the
// table stores the text and commits it), then the editor deletes itself.
class CellEditor : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int MaxTypedLength = 100;

    // `parent` is the table's viewport: the editor widens up to its edge.
    CellEditor(int row, int column, const QString &initialText, QWidget *parent);
    ~CellEditor() override;

    void setDigitsOnly(bool on);
    bool isDigitsOnly() const { return digitsOnly; }
    bool isCancelled() const { return cancelled; }
    bool hasEnded() const { return ended; }
    int row() const { return editRow; }
    int column() const { return editColumn; }

    // Shows the initial text all selected and takes the keyboard focus.
    void start();
    // Ends the edit as the loss of focus does (Escape only if pressed before).
    void finishEdit();

signals:
    // Emitted once, synchronously; `cancelled` is true after Escape.
    void editEnded(int row, int column, const QString &text, bool cancelled);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool acceptsCharacter(QChar c) const;
    int room() const;
    void widenToText();
    void endByKey(bool enter);

    int editRow;
    int editColumn;
    QString initialText;
    bool digitsOnly = false;
    bool cancelled = false;
    bool ended = false;
};

} // namespace vt
