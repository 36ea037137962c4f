#include "widgets/ImportTableDialog.h"

#include "commands/Operator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QHeaderView>
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

} // namespace

ImportTableDialog::ImportTableDialog(const QString &path, const TableChoice &start, QWidget *parent)
    : QDialog(parent), path_(path), options_(start.options), startSheet_(std::max(0, start.sheet)),
      startSheetName_(start.sheetName)
{
    setWindowTitle(tr("Import Table - %1").arg(QFileInfo(path).fileName()));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);

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
    return c;
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
    preview_->setRowCount(static_cast<int>(lines.size()));
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const PreviewRow &line = lines[static_cast<std::size_t>(i)];
        const QStringList texts = line.page > 0
            ? QStringList{QString::number(line.row), QString::number(line.page), line.content.line1, line.content.line2,
                          QString::number(line.content.repeat)}
            : QStringList{QString::number(line.row), tr("refused"), line.refusal, QString(), QString()};
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (line.page == 0)
                item->setForeground(kRefused);
            preview_->setItem(i, column, item);
        }
    }
    preview_->resizeColumnsToContents();

    split_->setEnabled(ok && content_.beyondLimit > 0);
    setOkEnabled(ok && !content_.pages.empty());
    emit previewReady();
    if (std::exchange(acceptWhenReady_, false) && ok && !content_.pages.empty())
        accept();
}

} // namespace vt
