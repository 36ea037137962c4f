#include "widgets/ImportTableDialog.h"

#include "commands/Operator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace vt {

namespace {

// Lines of the preview: enough to see the pages and the refusals near them.
constexpr int kPreviewLines = 1000;
const QColor kRefused(176, 0, 32);

QString endName(WireEnd end)
{
    switch (end) {
    case WireEnd::Near: return ImportTableDialog::tr("near");
    case WireEnd::Far: return ImportTableDialog::tr("far");
    case WireEnd::Both: return ImportTableDialog::tr("both");
    case WireEnd::None: break;
    }
    return {};
}

} // namespace

ImportTableDialog::ImportTableDialog(const QString &path, const TableChoice &start, QWidget *parent)
    : QDialog(parent), path_(path), options_(start.options), startSheet_(std::max(0, start.sheet)),
      startSheetName_(start.sheetName)
{
    setWindowTitle(tr("Import Table - %1").arg(QFileInfo(path).fileName()));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    // A saved choice fills in everything below.
    profile_ = new QComboBox(this);
    auto *profileLabel = new QLabel(tr("Pro&file:"), this);
    profileLabel->setBuddy(profile_);
    auto *saveProfile = new QPushButton(tr("Sa&ve Profile..."), this);
    auto *profileRow = new QHBoxLayout;
    profileRow->addWidget(profile_, 1);
    profileRow->addWidget(saveProfile);
    form->addRow(profileLabel, profileRow);

    // The sheets are listed once the first read has opened the workbook.
    sheet_ = new QComboBox(this);
    auto *sheetLabel = new QLabel(tr("&Sheet:"), this);
    sheetLabel->setBuddy(sheet_);
    form->addRow(sheetLabel, sheet_);

    header_ = new QCheckBox(tr("&First row holds column names"), this);
    header_->setChecked(start.header);
    form->addRow(QString(), header_);

    const QString names[3] = {tr("&1st line:"), tr("&2nd line:"), tr("&Repeat:")};
    const QString texts[3] = {start.line1, start.line2, start.repeat};
    for (int i = 0; i < 3; ++i) {
        fields_[i] = makeField(texts[i]);
        auto *label = new QLabel(names[i], this);
        label->setBuddy(fields_[i]);
        form->addRow(label, fields_[i]);
    }
    auto *hint = new QLabel(tr("A column by its letter or name, or a template such as {Source}-{Pin}; "
                               "an empty repeat means 1."),
                            this);
    hint->setWordWrap(true);
    form->addRow(QString(), hint);

    // Both ends of every wire: the far end's fields, and how the pages are laid out.
    ends_ = new QComboBox(this);
    ends_->addItems({tr("one"), tr("one for each end")});
    auto *endsLabel = new QLabel(tr("&Marks per row:"), this);
    endsLabel->setBuddy(ends_);
    form->addRow(endsLabel, ends_);
    const QString farNames[3] = {tr("Far end 1s&t line:"), tr("Far end 2n&d line:"),
                                 tr("Far end r&epeat:")};
    const QString farTexts[3] = {start.farLine1, start.farLine2, start.farRepeat};
    for (int i = 0; i < 3; ++i) {
        farFields_[i] = makeField(farTexts[i]);
        auto *label = new QLabel(farNames[i], this);
        label->setBuddy(farFields_[i]);
        form->addRow(label, farFields_[i]);
    }
    order_ = new QComboBox(this);
    order_->addItems({tr("by wire"), tr("by end")});
    auto *orderLabel = new QLabel(tr("&Order:"), this);
    orderLabel->setBuddy(order_);
    form->addRow(orderLabel, order_);
    merge_ = new QCheckBox(tr("Mer&ge identical marks"), this);
    form->addRow(QString(), merge_);
    sort_ = new QComboBox(this);
    sort_->addItems({tr("as in the sheet"), tr("natural")});
    auto *sortLabel = new QLabel(tr("Sort mar&ks:"), this);
    sortLabel->setBuddy(sort_);
    form->addRow(sortLabel, sort_);

    summary_ = new QLabel(this);
    layout->addWidget(summary_);

    preview_ = new QTableWidget(0, 5, this);
    preview_->setHorizontalHeaderLabels({tr("Row"), tr("Page"), tr("1st Line"), tr("2nd Line"), tr("Repeat")});
    preview_->setAccessibleName(tr("Preview"));
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->verticalHeader()->hide();
    preview_->verticalHeader()->setDefaultSectionSize(preview_->fontMetrics().height() + 6);
    preview_->horizontalHeader()->setStretchLastSection(true);
    preview_->setMinimumSize(640, 300);
    layout->addWidget(preview_, 1);

    split_ = new QCheckBox(
        tr("Split the rows into jobs of at most %1 pages (NAME-1.vtd, NAME-2.vtd, ...)").arg(kMaxPages), this);
    layout->addWidget(split_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportTableDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    reader_ = new TablePreviewReader(path, this);
    connect(reader_, &TablePreviewReader::ready, this, &ImportTableDialog::showPreview);
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(300);
    connect(pause_, &QTimer::timeout, this, &ImportTableDialog::refresh);
    connect(sheet_, &QComboBox::currentIndexChanged, this, &ImportTableDialog::refresh);
    connect(header_, &QCheckBox::toggled, this, &ImportTableDialog::refresh);
    for (QComboBox *field : fields_)
        connect(field, &QComboBox::editTextChanged, this, &ImportTableDialog::choiceEdited);
    for (QComboBox *field : farFields_)
        connect(field, &QComboBox::editTextChanged, this, &ImportTableDialog::choiceEdited);
    connect(ends_, &QComboBox::currentIndexChanged, this, &ImportTableDialog::endsChanged);
    connect(order_, &QComboBox::currentIndexChanged, this, &ImportTableDialog::refresh);
    connect(merge_, &QCheckBox::toggled, this, &ImportTableDialog::refresh);
    connect(sort_, &QComboBox::currentIndexChanged, this, &ImportTableDialog::refresh);
    connect(profile_, &QComboBox::activated, this, &ImportTableDialog::profileChosen);
    connect(saveProfile, &QPushButton::clicked, this, &ImportTableDialog::askProfileName);
    askProfileText = [this](const QString &label) {
        bool ok = false;
        const QString name = QInputDialog::getText(this, tr("Save Profile"), label, QLineEdit::Normal,
                                                   profile_->currentIndex() > 0 ? profiles_[profile_->currentIndex() - 1].name
                                                                                : QString(),
                                                   &ok);
        return ok ? name : QString();
    };
    showChoice(start);
    fillProfiles();
    askSplit = [this](const QString &text) {
        return QMessageBox::question(this, promptCaption(), text,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    refresh();
}

bool ImportTableDialog::isReady() const { return !reader_->busy() && !pause_->isActive(); }

void ImportTableDialog::setOkEnabled(bool enabled)
{
    if (QPushButton *okButton = findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok))
        okButton->setEnabled(enabled);
}

void ImportTableDialog::choiceEdited()
{
    // From the first keystroke the preview no longer shows the choice: OK
    // waits for the new one instead of importing the old.
    setOkEnabled(false);
    pause_->start();
}

void ImportTableDialog::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && !isReady()) {
        acceptWhenReady_ = true;
        if (pause_->isActive())
            refresh();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ImportTableDialog::accept()
{
    if (!isReady()) {
        acceptWhenReady_ = true;
        if (pause_->isActive())
            refresh();
        return;
    }
    if (!content_.problem.isEmpty() || content_.pages.empty())
        return;
    if (content_.beyondLimit > 0 && !split_->isChecked()) {
        const qint64 jobs = (content_.usable + kMaxPages - 1) / kMaxPages;
        const QString text = tr("The rows give %1 pages; a job holds %2.\nSplit them into %3 jobs of at most %2 pages "
                                "(No imports the first %2)?")
                                 .arg(content_.usable)
                                 .arg(kMaxPages)
                                 .arg(jobs);
        switch (askSplit(text)) {
        case QMessageBox::Yes: split_->setChecked(true); break;
        case QMessageBox::No: break;
        default: return;
        }
    }
    QDialog::accept();
}

QComboBox *ImportTableDialog::makeField(const QString &text)
{
    auto *field = new QComboBox(this);
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setMinimumContentsLength(24);
    field->setEditText(text);
    return field;
}

ImportTableDialog::~ImportTableDialog() = default;

TableChoice ImportTableDialog::choice() const
{
    TableChoice c;
    c.sheet = sheet_->count() > 0 ? std::max(0, sheet_->currentIndex()) : startSheet_;
    // By name: a remembered sheet number means another sheet in another workbook.
    c.sheetName = sheet_->count() > 0 ? sheet_->currentText() : startSheetName_;
    c.sheetNameOrFirst = true;
    c.header = header_->isChecked();
    c.line1 = fields_[0]->currentText();
    c.line2 = fields_[1]->currentText();
    c.repeat = fields_[2]->currentText();
    c.options = options_;
    c.ends = ends_->currentIndex() == 1 ? TableChoice::Ends::Each : TableChoice::Ends::One;
    c.farLine1 = farFields_[0]->currentText();
    c.farLine2 = farFields_[1]->currentText();
    c.farRepeat = farFields_[2]->currentText();
    c.order = order_->currentIndex() == 1 ? TableChoice::Order::ByEnd : TableChoice::Order::ByWire;
    c.merge = merge_->isChecked();
    c.sort = sort_->currentIndex() == 1 ? TableChoice::Sort::Natural : TableChoice::Sort::AsInSheet;
    c.split = split_->isChecked();
    return c;
}

void ImportTableDialog::showChoice(const TableChoice &c)
{
    // One read for the whole choice, not one for each control set.
    const QSignalBlocker quietEnds(ends_), quietOrder(order_), quietMerge(merge_), quietSort(sort_),
        quietHeader(header_), quietSheet(sheet_);
    header_->setChecked(c.header);
    const QString texts[6] = {c.line1, c.line2, c.repeat, c.farLine1, c.farLine2, c.farRepeat};
    for (int i = 0; i < 6; ++i) {
        QComboBox *field = i < 3 ? fields_[i] : farFields_[i - 3];
        const QSignalBlocker quiet(field);
        field->setEditText(texts[i]);
    }
    ends_->setCurrentIndex(c.ends == TableChoice::Ends::Each ? 1 : 0);
    order_->setCurrentIndex(c.order == TableChoice::Order::ByEnd ? 1 : 0);
    merge_->setChecked(c.merge);
    sort_->setCurrentIndex(c.sort == TableChoice::Sort::Natural ? 1 : 0);
    split_->setChecked(c.split);
    if (!c.sheetName.isEmpty()) {
        startSheetName_ = c.sheetName;
        if (const int at = sheet_->findText(c.sheetName); at >= 0)
            sheet_->setCurrentIndex(at);
    }
    const bool each = c.ends == TableChoice::Ends::Each;
    for (QComboBox *field : farFields_)
        field->setEnabled(each);
    order_->setEnabled(each);
}

void ImportTableDialog::endsChanged()
{
    const bool each = ends_->currentIndex() == 1;
    for (QComboBox *field : farFields_)
        field->setEnabled(each);
    order_->setEnabled(each);
    refresh();
}

void ImportTableDialog::fillProfiles()
{
    QString problem;
    profiles_ = ImportProfiles::load(&problem);
    const int current = profile_->currentIndex();
    const QSignalBlocker quiet(profile_);
    profile_->clear();
    profile_->addItem(problem.isEmpty() ? tr("(none)") : tr("(none: %1)").arg(problem));
    for (const ImportProfile &p : profiles_) {
        // A profile made for another wire list says what this one lacks.
        const QStringList missing = content_.columnCount > 0
                                        ? missingColumns(p.choice, content_.headers, content_.columnCount)
                                        : QStringList();
        profile_->addItem(missing.isEmpty() ? p.name
                                            : tr("%1 (missing: %2)").arg(p.name, missing.join(QStringLiteral(", "))));
    }
    profile_->setCurrentIndex(current >= 0 && current < profile_->count() ? current : 0);
}

void ImportTableDialog::profileChosen(int index)
{
    if (index <= 0 || index > static_cast<int>(profiles_.size()))
        return;
    showChoice(profiles_[static_cast<std::size_t>(index - 1)].choice);
    refresh();
}

void ImportTableDialog::askProfileName()
{
    const QString name = askProfileText(tr("Keep this choice under the name:")).trimmed();
    if (!name.isEmpty())
        saveProfile(name);
}

bool ImportTableDialog::saveProfile(const QString &name)
{
    QString problem;
    if (!ImportProfiles::save(ImportProfile{name, choice()}, &problem)) {
        QMessageBox::warning(this, tr("Save Profile"), tr("The profile cannot be saved: %1").arg(problem));
        return false;
    }
    fillProfiles();
    for (std::size_t i = 0; i < profiles_.size(); ++i)
        if (profiles_[i].name == name)
            profile_->setCurrentIndex(static_cast<int>(i) + 1);
    return true;
}

bool ImportTableDialog::split() const { return split_->isEnabled() && split_->isChecked(); }

void ImportTableDialog::fillColumns()
{
    QStringList entries;
    for (int i = 0; i < content_.columnCount; ++i) {
        const QString name = i < content_.headers.size() ? content_.headers[i] : QString();
        entries << (name.isEmpty() ? columnLetters(i) : name);
    }
    for (QComboBox *field : fields_) {
        const QString text = field->currentText();
        const QSignalBlocker quiet(field);
        field->clear();
        field->addItems(entries);
        field->setEditText(text);
    }
}

void ImportTableDialog::refresh()
{
    pause_->stop();
    summary_->setText(tr("Reading %1 ...").arg(QFileInfo(path_).fileName()));
    summary_->setAccessibleName(summary_->text());
    summary_->setPalette(QPalette());
    preview_->setRowCount(0);
    split_->setEnabled(false);
    setOkEnabled(false);
    reader_->read(choice());
}

void ImportTableDialog::fillSheets()
{
    QStringList listed;
    for (int i = 0; i < sheet_->count(); ++i)
        listed << sheet_->itemText(i);
    if (listed == content_.sheets) {
        const QSignalBlocker quiet(sheet_);
        sheet_->setCurrentIndex(content_.sheet);
        return;
    }
    const QSignalBlocker quiet(sheet_);
    sheet_->clear();
    sheet_->addItems(content_.sheets);
    sheet_->setCurrentIndex(content_.sheet < sheet_->count() ? content_.sheet : 0);
}

void ImportTableDialog::showPreview(const TablePreview &preview)
{
    content_ = preview.content;
    fillSheets();
    fillColumns();

    const bool ok = content_.problem.isEmpty();
    summary_->setText(ok ? previewSummary(content_) : content_.problem);
    // A screen reader says what the preview found, not only that there is a summary.
    summary_->setAccessibleName(summary_->text());
    QPalette palette = summary_->palette();
    palette.setColor(QPalette::WindowText, ok ? palette.color(QPalette::Text) : kRefused);
    summary_->setPalette(palette);

    const std::vector<PreviewRow> lines = ok ? previewRows(content_, kPreviewLines) : std::vector<PreviewRow>{};
    // Ends and merged rows have columns of their own when the choice makes them.
    const bool arranged = content_.arranged;
    preview_->setColumnCount(arranged ? 7 : 5);
    if (arranged) {
        preview_->setHorizontalHeaderItem(5, new QTableWidgetItem(tr("End")));
        preview_->setHorizontalHeaderItem(6, new QTableWidgetItem(tr("From Rows")));
    }
    preview_->setRowCount(static_cast<int>(lines.size()));
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const PreviewRow &line = lines[static_cast<std::size_t>(i)];
        QStringList texts =
            line.page > 0 ? QStringList{QString::number(line.row), QString::number(line.page), line.content.line1,
                                        line.content.line2, QString::number(line.content.repeat)}
                          : QStringList{QString::number(line.row), tr("refused"), line.refusal,
                                        QString(), QString()};
        QString rowList;
        if (arranged) {
            texts << endName(line.origin.end);
            const std::size_t from = line.origin.rows.size();
            texts << (from > 1 ? tr("%1 rows").arg(from) : QString());
            QStringList numbers;
            for (std::size_t r = 0; r < std::min<std::size_t>(from, 100); ++r)
                numbers << QString::number(line.origin.rows[r]);
            if (from > 100)
                numbers << tr("... %1 more").arg(from - 100);
            if (from > 1)
                rowList = tr("Rows %1").arg(numbers.join(QStringLiteral(", ")));
        }
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (line.page == 0)
                item->setForeground(kRefused);
            if (column == 6 && !rowList.isEmpty())
                item->setToolTip(rowList);
            preview_->setItem(i, column, item);
        }
    }
    preview_->resizeColumnsToContents();
    fillProfiles();

    split_->setEnabled(ok && content_.beyondLimit > 0);
    setOkEnabled(ok && !content_.pages.empty());
    emit previewReady();
    if (std::exchange(acceptWhenReady_, false) && ok && !content_.pages.empty())
        accept();
}

} // namespace vt
