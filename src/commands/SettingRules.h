#pragma once

#include "commands/Operator.h"
#include "model/Job.h"

#include <QObject>
#include <QString>

namespace vt {

class RefusalDetails;

// The three integers the window keeps for its bound edits (length 1019,
// repeat 1020, copies 1032). The rules read the edits into them and write
// them back.
struct BoundValues {
    int &lengthValue;
    int &repeatValue;
    int &copiesValue;
};

// The rules behind the settings controls: each writes the new value into the
// job settings and the pages in its scope, keeps the page table in step, and
// refuses what the printer cannot print, putting the refused pages back as
// they were and saying how many there were.
class SettingRules : public QObject {
    Q_OBJECT
public:
    SettingRules(Job &job, Operator &op, BoundValues values, QObject *parent = nullptr);

    // Reads the bound edits in the order length, repeat, copies. An edit that
    // holds no integer is refused with the platform's words; the edits after
    // it are not read and their values stay. False after a refusal.
    bool readBoundEdits();
    // Sets the three edits from the values; their text-change rules run again.
    void rewriteBoundEdits();

    // Job-wide settings.
    void materialChanged(int index);
    void materialParameterChanged(int index);
    void cutSettingChanged(int index);
    void spacingChanged(int index);
    void arrangeChanged(int index);
    void densityChanged(int index);
    void copiesChanged();

    // Page settings, for the current page or from it to the last.
    void automaticClicked();
    void specifyClicked();
    void lengthTextChanged(const QString &text);
    void lengthSetClicked();
    void repeatSetClicked();
    void fontSizeChanged(int index);
    void zoomChanged(int index);
    void frameChanged(int index);
    void directionChanged(int index);

    // The font source controls only enable the font list.
    void localFontClicked();
    void computerFontClicked();

    // Width of the medium the label strip should draw, in millimetres.
    double tapeWidthMm() const { return tapeWidthMm_; }

signals:
    // The material changed the width of the medium.
    void tapeWidthChanged(double millimetres);

private:
    // Runs `apply` on the current page, and with "Following Page" on every
    // page after it, with the page's row.
    template <typename Apply>
    void forEachPageInScope(Apply apply);
    void setCodesOnEveryPage();
    // A refusal's message, with the refused pages as its details.
    void tell(const QString &text, const RefusalDetails &details);

    Job &job_;
    Operator &op_;
    BoundValues values_;
    double tapeWidthMm_ = 9.0;
};

// The length edit keeps the text up to its first character that is neither a
// digit nor a point.
QString lengthEditText(const QString &text);

// Width of the medium of a material, in millimetres.
double tapeWidthFor(int materialIndex);

} // namespace vt
