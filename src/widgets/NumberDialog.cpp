#include "widgets/NumberDialog.h"

#include "commands/Numbering.h"
#include "model/CodePage.h"
#include "render/Colors.h"
#include "widgets/FilteredEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vt {

namespace {

// The value as the page keeps it: code page bytes, at most three, then NUL.
AsciiField<4> storedValue(const QString &text)
{
    AsciiField<4> field{};
    const QByteArray bytes = toAnsi(text);
    setAscii(field, std::string_view(bytes.constData(), static_cast<std::size_t>(std::min<qsizetype>(bytes.size(), 3))));
    return field;
}

QString shownValue(const AsciiField<4> &field)
{
    const std::string_view v = asciiView(field);
    return toWide(QByteArrayView(v.data(), static_cast<qsizetype>(v.size())));
}

} // namespace

NumberDialog::NumberDialog(Operator &op, QWidget *parent) : QDialog(parent), op_(op)
{
    setWindowTitle(tr("Set Number"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, backgroundColor());
    setPalette(pal);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    auto *types = new QGroupBox(tr("Select Numbering Types"));
    auto *typeLayout = new QVBoxLayout(types);
    const char *const texts[kNumberKinds] = {
        QT_TR_NOOP("Serial number:            0-999"),
        QT_TR_NOOP("Format serial number:000-999"),
        QT_TR_NOOP("Uppercase serial number: A-Z"),
        QT_TR_NOOP("Lowercase serial number: a-z"),
    };
    for (int k = 0; k < kNumberKinds; ++k) {
        auto *radio = new QRadioButton(tr(texts[k]));
        kinds_[static_cast<std::size_t>(k)] = radio;
        typeLayout->addWidget(radio);
        connect(radio, &QRadioButton::clicked, this, [this, k] { kindClicked(static_cast<NumberKind>(k)); });
    }
    layout->addWidget(types);

    auto *number = new QGroupBox(tr("Number"));
    auto *form = new QFormLayout(number);
    start_ = new FilteredEdit;
    end_ = new FilteredEdit;
    form->addRow(QStringLiteral("Start:"), start_);
    form->addRow(QStringLiteral("End:"), end_);
    layout->addWidget(number);

    auto *buttons = new QDialogButtonBox;
    QPushButton *ok = buttons->addButton(tr("OK(&O)"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(tr("Cancel(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &NumberDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NumberDialog::reject);
    layout->addWidget(buttons);

    setChoice(NumberChoice{});
}

void NumberDialog::applyInputMode(NumberKind kind)
{
    for (FilteredEdit *edit : {start_, end_}) {
        switch (kind) {
        case NumberKind::Decimal:
        case NumberKind::Padded: edit->setNumeric(3); break;
        case NumberKind::Upper: edit->setLetters(1, FilteredEdit::Upper); break;
        case NumberKind::Lower: edit->setLetters(1, FilteredEdit::Lower); break;
        }
    }
}

void NumberDialog::setChoice(const NumberChoice &shown)
{
    choice_ = shown;
    bool any = false;
    for (int k = 0; k < kNumberKinds; ++k) {
        if (!shown.kinds[static_cast<std::size_t>(k)])
            continue;
        kinds_[static_cast<std::size_t>(k)]->setChecked(true);
        applyInputMode(static_cast<NumberKind>(k));
        any = true;
    }
    if (!any) {
        kinds_[0]->setChecked(true);
        applyInputMode(NumberKind::Decimal);
    }
    start_->setText(shownValue(shown.serialStart));
    end_->setText(shownValue(shown.serialEnd));
}

void NumberDialog::kindClicked(NumberKind kind)
{
    applyInputMode(kind);
    start_->clear();
    end_->clear();
}

NumberKind NumberDialog::checkedKind() const
{
    for (int k = 0; k < kNumberKinds; ++k)
        if (kinds_[static_cast<std::size_t>(k)]->isChecked())
            return static_cast<NumberKind>(k);
    return NumberKind::Decimal;
}

void NumberDialog::accept()
{
    const NumberKind kind = checkedKind();
    choice_.kinds.fill(0);
    choice_.kinds[static_cast<std::size_t>(kind)] = 1;

    const QString start = start_->text();
    if (start.isEmpty()) {
        op_.prompt(tr("Please input start number!"));
        return;
    }
    choice_.serialEnd = {};
    choice_.serialStart = storedValue(serialValueText(kind, start));

    const QString end = end_->text();
    if (end.isEmpty()) {
        op_.prompt(tr("Please input end number!"));
        return;
    }
    choice_.serialEnd = storedValue(serialValueText(kind, end));
    QDialog::accept();
}

} // namespace vt
