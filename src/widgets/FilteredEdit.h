#pragma once

#include <QLineEdit>

namespace vt {

// An edit box that filters what is typed: any text, digits only, or letters
// only (optionally folded to one case), with a length limit. The Set Number
// dialog uses two of them for its start and end values.
class FilteredEdit : public QLineEdit {
    Q_OBJECT
public:
    enum InputMode { AnyText = 0, Digits = 1, Letters = 2 };
    enum LetterCase { AsTyped = 0, Lower = 1, Upper = 2 };

    explicit FilteredEdit(QWidget *parent = nullptr);
    ~FilteredEdit() override;

    // `limit` 0 gives the widest limit the edit allows.
    void setFreeText(int limit);
    // The limit changes only when `limit` is not 0.
    void setNumeric(int limit);
    // A case outside 0..2 keeps letters as typed.
    void setLetters(int limit, int letterCase);

    void setNumber(double value);
    // The leading number of the text; 0 without one.
    double getNumber() const;
    QString getText() const { return text(); }
    // setText is QLineEdit's own: replaces the whole text, unfiltered.

    int mode() const { return inputMode; }
    int caseMode() const { return letterCase; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    QChar folded(QChar c) const;
    bool accepts(QChar c) const;
    // The typed text after folding and filtering.
    QString filtered(const QString &typed) const;

    int inputMode = AnyText;
    int letterCase = AsTyped;
};

// The leading decimal number of `text` as strtod reads it (blanks, sign,
// digits, point, exponent), but always with a '.' whatever the system
// locale; 0 when there is none.
double leadingDouble(const QString &text);

} // namespace vt
