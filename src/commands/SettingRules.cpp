#include "commands/SettingRules.h"

#include "commands/PageCommands.h"
#include "commands/RefusalDetails.h"
#include "layout/FontMetrics.h"
#include "layout/PageLayout.h"
#include "model/Digits.h"

#include <algorithm>

namespace vt {

QString lengthEditText(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!(c >= u'0' && c <= u'9') && c != u'.')
            return text.left(i);
    }
    return text;
}

double tapeWidthFor(int materialIndex)
{
    return materialIndex == Label ? 9.0 : 6.5;
}

namespace {

const QString kIntegerRefused = QStringLiteral("请键入一个整数。");

bool isTubeSizeWithoutTwoLines(int sizeIndex) { return sizeIndex == 0 || sizeIndex == 1; }

} // namespace

SettingRules::SettingRules(Job &job, Operator &op, BoundValues values, QObject *parent)
    : QObject(parent), job_(job), op_(op), values_(values)
{
}

bool SettingRules::readBoundEdits()
{
    const std::pair<ControlId, int *> bound[] = {
        {ControlId::LengthEdit, &values_.lengthValue},
        {ControlId::RepeatEdit, &values_.repeatValue},
        {ControlId::CopiesEdit, &values_.copiesValue},
    };
    for (const auto &[id, value] : bound) {
        const std::optional<int> read = op_.readEdit(id);
        if (!read) {
            op_.prompt(kIntegerRefused);
            op_.focusEdit(id);
            return false;
        }
        *value = *read;
    }
    return true;
}

void SettingRules::rewriteBoundEdits()
{
    // Copied first: a text-change rule run by one of the writes may change them.
    const int length = values_.lengthValue;
    const int repeat = values_.repeatValue;
    const int copies = values_.copiesValue;
    op_.setEdit(ControlId::LengthEdit, length);
    op_.setEdit(ControlId::RepeatEdit, repeat);
    op_.setEdit(ControlId::CopiesEdit, copies);
}

template <typename Apply>
void SettingRules::forEachPageInScope(Apply apply)
{
    if (!job_.currentPage || job_.currentIndex < 0)
        return;
    const bool currentOnly = op_.isControlChecked(ControlId::CurrentPage);
    int row = job_.currentIndex;
    job_.pageCursor = job_.currentPage;
    for (;;) {
        apply(*job_.pageCursor, row);
        PageRecord *next = job_.chain.next(job_.pageCursor);
        if (currentOnly || !next)
            break;
        job_.pageCursor = next;
        ++row;
    }
}

void SettingRules::setCodesOnEveryPage()
{
    const JobSettings &s = job_.settings;
    for (PageRecord *page = job_.pageHead(); page; page = job_.chain.next(page)) {
        page->materialCode = s.materialCode;
        page->sizeCode = s.sizeCode;
    }
    job_.modified = true;
}

// ---- Job-wide settings ----

void SettingRules::materialChanged(int index)
{
    if (index < Tube || index > HeatShrinkTube)
        return;
    op_.fillList(ControlId::MaterialParameter, sizeEntriesFor(index));
    op_.selectListEntry(ControlId::MaterialParameter, 1);

    JobSettings &s = job_.settings;
    s.materialIndex = index;
    setAscii(s.materialCode, materialCodeFor(index));
    s.sizeIndex = 1;
    setAscii(s.sizeCode, sizeCodeFor(index, 1));

    tapeWidthMm_ = tapeWidthFor(index);
    emit tapeWidthChanged(tapeWidthMm_);

    // Two-line pages and lengths are not examined here.
    setCodesOnEveryPage();
}

void SettingRules::materialParameterChanged(int index)
{
    JobSettings &s = job_.settings;
    if (index < 0 || index >= sizeEntriesFor(s.materialIndex).size())
        return;
    if (s.materialIndex != Label && isTubeSizeWithoutTwoLines(index)) {
        int twoLinePages = 0;
        RefusalDetails details;
        int row = 0;
        for (const PageRecord *page = job_.pageHead(); page; page = job_.chain.next(page), ++row)
            if (page->twoLines) {
                ++twoLinePages;
                details.refused(row, tr("two lines"));
            }
        if (twoLinePages > 0) {
            tell(QString::asprintf(
                     qUtf8Printable(tr("The material not suitable for double-line, have %d  pages set double！")),
                     twoLinePages),
                 details);
            // The size chosen before, which every page still has.
            op_.selectListEntry(ControlId::MaterialParameter, s.sizeIndex);
            return;
        }
    }
    s.sizeIndex = index;
    setAscii(s.sizeCode, sizeCodeFor(s.materialIndex, index));
    // Open selects the material without running its rule; the code the
    // pages get must still be that of the material shown.
    setAscii(s.materialCode, materialCodeFor(s.materialIndex));
    setCodesOnEveryPage();
}

void SettingRules::cutSettingChanged(int index)
{
    if (index < 0)
        return;
    job_.settings.cutMode = index == 0 ? 'N' : index == 2 ? 'L' : 'C';
    job_.modified = true;
}

void SettingRules::spacingChanged(int index)
{
    if (index < 0)
        return;
    job_.settings.spacing = index;
    job_.modified = true;
}

void SettingRules::arrangeChanged(int index)
{
    if (index < 0)
        return;
    job_.settings.alignment = static_cast<std::uint8_t>(index);
    job_.modified = true;
}

void SettingRules::densityChanged(int index)
{
    if (index < 0)
        return;
    job_.settings.density = static_cast<std::uint8_t>(index + 1);
    job_.modified = true;
}

void SettingRules::copiesChanged()
{
    readBoundEdits();
    if (values_.copiesValue < kMinCopies || values_.copiesValue > kMaxCopies) {
        op_.prompt(
            QString::asprintf(qUtf8Printable(tr("Copies should be in [1-%d] , setting  is  invalid!")), kMaxCopies));
        values_.copiesValue = 1;
        // The rewritten edit runs this rule again with 1; say so here too,
        // for operators whose edits raise no rules.
        job_.settings.copies = 1;
        rewriteBoundEdits();
        return;
    }
    job_.settings.copies = values_.copiesValue;
}

// ---- Length ----

void SettingRules::automaticClicked()
{
    JobSettings &s = job_.settings;
    s.defaultAutoLength = 1;
    setAscii(s.defaultLengthCode, "Au");

    int refused = 0;
    RefusalDetails details;
    forEachPageInScope([&](PageRecord &page, int row) {
        if (page.autoFontSize == 1) {
            // The font search needs a length to fit into. A page that is
            // already automatic stays so: a specified length of "Au" mm
            // would be nonsense.
            if (page.autoLength == 0) {
                ++refused;
                details.refused(row, tr("automatic font size"));
            }
            return;
        }
        setAscii(page.lengthCode, "Au");
        page.autoLength = 1;
    });
    job_.modified = true;
    if (refused > 0)
        tell(QString::asprintf(
                 qUtf8Printable(tr("Have %d page is automatic font size, can't set auto length, Setting is invalid!")),
                 refused),
             details);
    op_.enableControl(ControlId::LengthEdit, false);
    op_.enableControl(ControlId::LengthSet, false);
}

void SettingRules::specifyClicked()
{
    op_.enableControl(ControlId::LengthEdit, true);
    op_.enableControl(ControlId::LengthSet, true);
}

void SettingRules::lengthTextChanged(const QString &text)
{
    const QString kept = lengthEditText(text);
    if (kept != text)
        op_.setEditText(ControlId::LengthEdit, kept);
}

void SettingRules::lengthSetClicked()
{
    readBoundEdits();
    const int mm = values_.lengthValue;
    if (mm < kMinLengthMm || mm > kMaxLengthMm) {
        op_.prompt(QString::asprintf(qUtf8Printable(tr("Segment Lenth should be in (6-%d)!")), kMaxLengthMm));
        values_.lengthValue = 25;
        rewriteBoundEdits();
        return;
    }
    JobSettings &s = job_.settings;
    const AsciiField<5> digits = decimalText(mm);
    setAscii(s.defaultLengthCode, asciiView(digits));
    s.defaultAutoLength = 0;
    s.defaultLengthMm = static_cast<std::int16_t>(mm);

    int refused = 0;
    RefusalDetails details;
    forEachPageInScope([&](PageRecord &page, int row) {
        const PageRecord before = page;
        page.lengthCode = s.defaultLengthCode;
        page.autoLength = 0;
        page.lengthDots = static_cast<std::int16_t>(mm * kDotsPerMm);
        if (pageTooLong(page, s)) {
            ++refused;
            details.tooLong(row, page);
            // Exactly the former length, automatic or specified.
            page.lengthCode = before.lengthCode;
            page.autoLength = before.autoLength;
            page.lengthDots = before.lengthDots;
            measurePage(page, s);
        }
        page.adjustedLengthDots = static_cast<std::uint16_t>(
            page.lengthDots + metrics::materialLengthOffset[std::clamp(s.materialIndex, 0, 2)]);
    });
    job_.modified = true;
    if (refused > 0)
        tell(QString::asprintf(qUtf8Printable(tr("Have %d page exceeds the limits of length, Setting is invalid!")),
                               refused),
             details);
}

// ---- Repeat, font, zoom, frame, direction ----

void SettingRules::repeatSetClicked()
{
    readBoundEdits();
    const int repeat = values_.repeatValue;
    if (repeat < kMinRepeat || repeat > kMaxRepeat) {
        op_.prompt(QString::asprintf(qUtf8Printable(tr("Repetition should be in (1-%d)!")), kMaxRepeat));
        values_.repeatValue = 1;
        rewriteBoundEdits();
        return;
    }
    forEachPageInScope([&](PageRecord &page, int row) {
        setPageRepeat(page, repeat);
        job_.model.setCellText(row, ColRepeat, QString::number(repeat));
    });
    job_.settings.defaultRepeat = static_cast<std::int16_t>(repeat);
    job_.modified = true;
}

void SettingRules::fontSizeChanged(int index)
{
    if (index < 0 || index > kMaxFontSize)
        return;
    JobSettings &s = job_.settings;
    s.defaultAutoFontSize = index == 0 ? 1 : 0;
    s.defaultFontSize = static_cast<std::uint8_t>(index);
    const int limit = metrics::maxFontSize[std::clamp(s.materialIndex, 0, 2)][std::clamp(s.sizeIndex, 0, 3)];

    int automaticLength = 0, tooLong = 0, overMaximum = 0, twoLine = 0;
    RefusalDetails details;
    forEachPageInScope([&](PageRecord &page, int row) {
        if (index == 0 && page.autoLength == 1) {
            ++automaticLength;
            details.refused(row, tr("automatic length"));
            return;
        }
        if (index > limit) {
            op_.selectListEntry(ControlId::FontSize, limit);
            ++overMaximum;
            details.refused(row, tr("font size above %1 for this medium").arg(limit));
            return;
        }
        if (index >= 4 && page.twoLines == 1) {
            ++twoLine;
            details.refused(row, tr("two lines"));
            return;
        }
        const std::uint8_t autoFontSize = page.autoFontSize;
        const std::uint8_t fontSize = page.fontSize;
        page.autoFontSize = s.defaultAutoFontSize;
        page.fontSize = s.defaultFontSize;
        if (page.autoLength == 0 && page.autoFontSize == 1)
            fitFontSize(page, s);
        if (pageTooLong(page, s)) {
            details.tooLong(row, page);
            page.autoFontSize = autoFontSize;
            page.fontSize = fontSize;
            measurePage(page, s);
            ++tooLong;
            return;
        }
        job_.model.setCellText(row, ColFontSize, QString::number(s.defaultFontSize));
    });
    job_.modified = true;

    QString message;
    const auto line = [&message](int count, const char *format) {
        if (count > 0)
            message += QString::asprintf(qUtf8Printable(tr(format)), count);
    };
    if (index == 0) {
        line(automaticLength, QT_TR_NOOP("Have %d page set automatic length, can not set automatic font size! \r\n"));
        line(tooLong, QT_TR_NOOP("Have %d page exceeds the limits of length, select the other font size! \r\n"));
    } else {
        line(
            overMaximum,
            QT_TR_NOOP(
                "Have %d page's font size exceeds the limits of selected medium size, please select other font size!\r\n"));
        line(twoLine,
             QT_TR_NOOP(
                 "Have %d page's font size not suitable for the double lines ,please select other font size\r\n"));
        line(tooLong, QT_TR_NOOP("Have %d page exceeds the limits of length, select the other font size !\r\n"));
    }
    if (!message.isEmpty())
        tell(message, details);
}

void SettingRules::zoomChanged(int index)
{
    if (index < 0)
        return;
    forEachPageInScope([&](PageRecord &page, int row) {
        page.halfZoom = index == 1 ? 1 : 0;
        job_.model.setCellText(row, ColZoom, zoomText(page.halfZoom != 0));
    });
    job_.modified = true;
}

void SettingRules::frameChanged(int index)
{
    if (index < 0)
        return;
    const char frame = index == 1 ? 'F' : index == 2 ? 'L' : 'N';
    job_.settings.defaultFrame = frame;
    forEachPageInScope([&](PageRecord &page, int row) {
        page.frame = frame;
        job_.model.setCellText(row, ColFrame, frameText(frame));
    });
    job_.modified = true;
}

void SettingRules::directionChanged(int index)
{
    if (index < 0)
        return;
    JobSettings &s = job_.settings;
    setAscii(s.defaultDirection, index == 1 ? "13" : "04");
    // Every page's text and counts must be current before lengths are compared.
    buildPrintRecords(job_, false);

    int refused = 0;
    RefusalDetails details;
    forEachPageInScope([&](PageRecord &page, int row) {
        const AsciiField<2> direction = page.direction;
        page.direction = s.defaultDirection;
        if (page.autoLength == 0 && page.autoFontSize == 1)
            fitFontSize(page, s);
        if (pageTooLong(page, s)) {
            ++refused;
            details.tooLong(row, page);
            page.direction = direction;
            // The old direction's lengths back.
            pageTooLong(page, s);
            return;
        }
        job_.model.setCellText(row, ColDirection, directionText(page.direction));
    });
    job_.modified = true;
    if (refused > 0)
        tell(
            QString::asprintf(
                qUtf8Printable(tr(
                    "Have %d page exceeds the limits of length.\r\n It is invalid to set the direction,\r\n please reset it.")),
                refused),
            details);
}

void SettingRules::tell(const QString &text, const RefusalDetails &details)
{
    Message message{text};
    message.details = details.text();
    op_.showMessage(message);
}

void SettingRules::localFontClicked() { op_.enableControl(ControlId::FontList, false); }
void SettingRules::computerFontClicked() { op_.enableControl(ControlId::FontList, true); }

} // namespace vt
