#include "commands/DocumentCommands.h"

#include "commands/JobHistory.h"
#include "commands/ProgressView.h"
#include "commands/TextLimit.h"
#include "files/AtomicWrite.h"
#include "files/CsvImport.h"
#include "files/DocumentFile.h"
#include "layout/PageLayout.h"
#include "model/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <future>

namespace vt {

namespace {

const QString kDocumentFilter = QStringLiteral("VTD(*.vtd)");
QString csvFilter()
{
    return QCoreApplication::translate("vt::DocumentCommands", "Excel file(*.csv)");
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// The two cell texts of a stored page: control bytes back to their marks,
// split at the line separator.
std::pair<QString, QString> cellTexts(const PageRecord &page)
{
    int length = 0;
    while (length < page.textLength && length < kMaxTextBytes && page.text[static_cast<std::size_t>(length)] != 0)
        ++length;
    QString text = toWide(QByteArrayView(reinterpret_cast<const char *>(page.text.data()), length));
    static const std::pair<char16_t, char16_t> marks[] = {
        {ctl::numberDecimal, mark::numberDecimal}, {ctl::numberPadded, mark::numberPadded},
        {ctl::numberUpper, mark::numberUpper},     {ctl::numberLower, mark::numberLower},
        {ctl::superscript, mark::superscript},     {ctl::subscript, mark::subscript},
    };
    for (const auto &[code, character] : marks)
        text.replace(QChar(code), QChar(character));
    const qsizetype separator = text.indexOf(QChar(ctl::lineSeparator));
    if (separator < 0)
        return {text, QString()};
    return {text.left(separator), text.mid(separator + 1)};
}

} // namespace

DocumentCommands::DocumentCommands(Job &job, Operator &op, PageCommands &pages, ProgressView *progress)
    : job_(job), op_(op), pages_(pages), progress_(progress)
{
}

QString DocumentCommands::completedDocumentName(const QString &chosenPath)
{
    if (chosenPath.endsWith(QStringLiteral(".vtd"), Qt::CaseInsensitive))
        return chosenPath;
    return chosenPath + QStringLiteral(".vtd");
}

// ---- Save ----

void DocumentCommands::saveDocument()
{
    const QString path = op_.askSaveFileName(QStringLiteral(".vtd"), kDocumentFilter);
    if (!path.isEmpty())
        save(path, true);
}

bool DocumentCommands::saveTo(const QString &chosenPath)
{
    return save(chosenPath, false);
}

bool DocumentCommands::save(const QString &chosenPath, bool askAboutChosenName)
{
    op_.focusPageTable();
    if (!mayCutOverlongPages(job_, op_, TextUse::Save))
        return false;
    buildPrintRecords(job_, false);

    const QString path = completedDocumentName(chosenPath);
    // A completed name was never seen by whoever chose the name: always ours to ask about.
    if ((askAboutChosenName || path != chosenPath) && QFileInfo::exists(path)) {
        const Message question{tr("%1 already exists.\nDo you want to replace it?").arg(shown(path)), promptCaption(),
                               MessageIcon::None, MessageButtons::YesNo};
        if (op_.showMessage(question) != Answer::Yes)
            return false;
    }

    const QByteArray bytes = encodeDocument(job_.settings, job_.chain, job_.pageCount());
    // Written beside the target and moved over it only when complete, so a
    // failed save leaves the earlier file as it was.
    QString reason;
    if (!writeFileAtomically(path, bytes, &reason)) {
        op_.prompt(
            tr("Can not save file %1:\n%2\nAn earlier file of this name is unchanged.").arg(shown(path), reason));
        return false;
    }
    job_.modified = false;
    if (onFile)
        onFile(FileEvent::Saved, path);
    return true;
}

// ---- Open ----

void DocumentCommands::openDocument()
{
    const QString path = op_.askOpenFileName(QStringLiteral(".vtd"), kDocumentFilter);
    if (!path.isEmpty())
        openPath(path);
}

bool DocumentCommands::jobHasContent() const
{
    if (job_.pageCount() > 1)
        return true;
    if (job_.pageCount() == 0)
        return false;
    const PageRecord *head = job_.pageHead();
    return (head && head->textLength != 0) || !job_.model.cellText(0, ColLine1).isEmpty()
           || !job_.model.cellText(0, ColLine2).isEmpty();
}

void DocumentCommands::clearPages()
{
    job_.chain.clear();
    job_.model.clearRows();
    job_.currentIndex = -1;
    job_.currentPage = nullptr;
    job_.pageCursor = nullptr;
}

bool DocumentCommands::openPath(const QString &path)
{
    // The whole file is read and checked before anything of the job changes.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        op_.prompt(tr("Can not open file %1:\n%2").arg(shown(path), file.errorString()));
        return false;
    }
    const DocumentContent content = readDocument(file, job_.settings, kMaxPages);
    file.close();
    if (!content.ok) {
        op_.prompt(tr("Can not open file %1:\n%2").arg(shown(path), content.problem));
        return false;
    }

    bool replace = true;
    if (jobHasContent()) {
        const Message question{tr("Delete the current content?"), promptCaption(), MessageIcon::None,
                               MessageButtons::YesNo};
        replace = op_.showMessage(question) == Answer::Yes;
    }
    if (replace)
        clearPages();

    const int fileCount = static_cast<int>(content.pages.size());
    const int count = std::min(fileCount, kMaxPages - job_.pageCount());
    const int leftOut = content.pagesLeftOut + fileCount - count;

    selectHeader(content);
    appendPages(content, count);
    job_.modified = !replace;

    if (onFile)
        onFile(replace ? FileEvent::Opened : FileEvent::Appended, path);
    if (leftOut > 0)
        op_.prompt((leftOut == 1 ? tr("A job holds at most %1 pages: %2 page of %3 was left out.")
                                 : tr("A job holds at most %1 pages: %2 pages of %3 were left out."))
                       .arg(kMaxPages)
                       .arg(leftOut)
                       .arg(shown(path)));
    return true;
}

void DocumentCommands::selectHeader(const DocumentContent &content)
{
    // Selected from code: the list rules do not run, so the job's codes and
    // its pages keep what they have.
    applyHeader(content.header, job_.settings);
    showJobSettings(op_, job_.settings);
}

void DocumentCommands::appendPages(const DocumentContent &content, int count)
{
    PageTableModel &table = job_.model;
    if (table.rowCount() > 0)
        job_.refreshPage(table.rowCount() - 1);

    PageRecord *last = job_.chain.last();
    for (int i = 0; i < count; ++i) {
        PageRecord *page = job_.chain.insertPageAfter(last, job_.settings);
        *page = content.pages[static_cast<std::size_t>(i)];
        last = page;

        const auto [line1, line2] = cellTexts(*page);
        const int row = table.rowCount();
        table.insertPageRow(row);
        table.setCellText(row, ColLine1, line1);
        if (!line2.isEmpty())
            table.setCellText(row, ColLine2, line2);
        showPageSettings(table, row, *page);
        table.setChecked(row, true);
        table.setCurrentColumn(ColLine1);
    }
    job_.refreshPage(table.rowCount() - 1);
}

// ---- Import ----

void DocumentCommands::importCsv()
{
    rejectedRows_ = 0;
    op_.prompt(tr("Please confirm that the input file have saved as .CSV file."));
    const QString path = op_.askOpenFileName(QStringLiteral(".csv"), csvFilter());
    if (!path.isEmpty())
        importPath(path);
}

bool DocumentCommands::importPath(const QString &path)
{
    rejectedRows_ = 0;
    rejectedDetails_.clear();
    unprintableRows_ = 0;
    unprintableDetails_.clear();
    const bool imported = importRows(path);
    if (rejectedRows_ > 0) {
        Message message{
            QString::asprintf(qUtf8Printable(QCoreApplication::translate(
                                  "vt::DocumentCommands", "Have %d Pages exceeds the limits,Page length is %d.")),
                              rejectedRows_, kMaxTextBytes)};
        message.details = rejectedDetails_;
        op_.showMessage(message);
    }
    if (unprintableRows_ > 0) {
        Message message{
            unprintableRows_ == 1
                ? tr("1 line holds characters that cannot be printed; it was not imported.")
                : tr("%1 lines hold characters that cannot be printed; they were not imported.").arg(unprintableRows_)};
        message.details = unprintableDetails_;
        op_.showMessage(message);
    }
    return imported;
}

bool DocumentCommands::importRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        op_.prompt(tr("Can not open file!"));
        return false;
    }
    if (progress_) {
        progress_->setManualWait(false);
        progress_->setText(QString());
        progress_->show();
        progress_->setText(tr("Importing data,Please wait..."));
    }
    file.close();
    // Read to the end before the job changes: a file without a usable line
    // must not leave the operator with an empty job. A large file is read on
    // a worker thread, so the window (and the progress window just shown)
    // keeps painting; input waits until the pages are in.
    auto reading = std::async(std::launch::async, [path] {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? readCsv(in, kMaxPages) : CsvContent{};
    });
    while (reading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const CsvContent content = reading.get();
    rejectedRows_ = content.rejectedRows;
    rejectedDetails_ = describeRefusedLines(content, RefusedLine::TooLong);
    unprintableRows_ = content.unprintableRows;
    unprintableDetails_ = describeRefusedLines(content, RefusedLine::Unprintable);

    if (content.pages.empty()) {
        if (progress_)
            progress_->hide();
        op_.prompt(tr("%1 holds no line that can become a page; the job is unchanged.").arg(shown(path)));
        return false;
    }

    if (progress_)
        progress_->hide();
    replacePages(content.pages, path);

    if (content.pagesLeftOut > 0) {
        Message message{
            tr("Get the MaxPage!\n%1 more lines of %2 were not imported.").arg(content.pagesLeftOut).arg(shown(path))};
        message.details = describeRefusedLines(content, RefusedLine::BeyondPageLimit);
        op_.showMessage(message);
    }
    return true;
}

void DocumentCommands::replacePages(const std::vector<ImportedPage> &pages, const QString &path)
{
    clearPages();
    int pageNumber = 1;
    for (const ImportedPage &page : pages)
        putImportedPage(pageNumber++, page.line1, page.line2, page.repeat);
    job_.refreshPage(0);
    buildPrintRecords(job_, false);
    job_.modified = true;
    if (onFile)
        onFile(FileEvent::Imported, path);
}

void DocumentCommands::putImportedPage(int pageNumber, const QString &line1, const QString &line2, int repeat)
{
    PageTableModel &table = job_.model;
    if (table.rowCount() < pageNumber && !pages_.add())
        return;
    const int row = pageNumber - 1;
    PageRecord *page = job_.chain.pageAt(row);
    table.setCellText(row, ColLine1, line1);
    table.setCellText(row, ColLine2, line2);
    table.setCellText(row, ColRepeat, QString::number(repeat));
    setPageRepeat(*page, repeat);
    if (!line2.isEmpty()) {
        page->twoLines = 1;
        page->autoFontSize = 0;
        page->fontSize = 3;
        table.setCellText(row, ColFontSize, QStringLiteral("3"));
    }
}

} // namespace vt
