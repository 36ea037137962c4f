#include "app/RecoveryKeeper.h"

#include "files/DocumentFile.h"
#include "layout/PageLayout.h"
#include "model/Job.h"

#include <QDateTime>

namespace vt {

RecoveryKeeper::RecoveryKeeper(Job &job, QObject *parent) : QObject(parent), job_(job)
{
    // One thread: the store's files are written and removed in the order asked.
    disk_.setMaxThreadCount(1);
    timer_.setSingleShot(true);
    timer_.setInterval(autosaveDelayMs());
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::writeLater);
}

RecoveryKeeper::~RecoveryKeeper()
{
    // A file still there (the program is ending by a signal, or the window
    // went without the closing question) stays for the next start; only
    // the lock goes with this process.
    disk_.waitForDone();
}

int RecoveryKeeper::autosaveDelayMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VT350_AUTOSAVE_MS", &ok);
    return ok && ms >= 0 ? ms : 5000;
}

QByteArray RecoveryKeeper::documentBytes() const
{
    // As Save writes it, built on a copy: keeping the pages is no change to the job.
    JobSettings settings = job_.settings;
    PageChain pages;
    for (const PageRecord *page = job_.pageHead(); page; page = job_.chain.next(page))
        *pages.insertPageAfter(pages.last(), settings) = *page;
    buildPrintRecords(job_.model, pages, settings, job_.currentIndex, false);
    return encodeDocument(settings, pages, job_.pageCount());
}

std::vector<RecoveryCell> RecoveryKeeper::cells() const
{
    std::vector<RecoveryCell> texts;
    for (int row = 0; row < job_.model.rowCount(); ++row)
        for (int column : {int(ColLine1), int(ColLine2)})
            texts.push_back({row, column, job_.model.cellText(row, column)});
    if (const std::optional<RecoveryCell> edit = openEdit_ ? openEdit_() : std::nullopt)
        for (RecoveryCell &cell : texts)
            if (cell.row == edit->row && cell.column == edit->column)
                cell.text = edit->text;
    return texts;
}

void RecoveryKeeper::jobChanged()
{
    if (!job_.modified) {
        if (keeping_)
            discard();
        return;
    }
    if (!keeping_) {
        keeping_ = true;
        // The lock says at once that this program is alive and has something to keep.
        disk_.start([this] {
            if (!store_.lock())
                reportFailure();
        });
    }
    // Not restarted by later changes: steady typing still gets written.
    if (!timer_.isActive())
        timer_.start();
}

void RecoveryKeeper::reportFailure()
{
    const QString reason = store_.errorString();
    QMetaObject::invokeMethod(this, [this, reason] {
        if (failureReported_)
            return;
        failureReported_ = true;
        emit failed(reason);
    }, Qt::QueuedConnection);
}

void RecoveryKeeper::writeLater()
{
    if (!job_.modified)
        return;
    const QByteArray bytes = documentBytes();
    const std::vector<RecoveryCell> texts = cells();
    const QString document = documentPath_;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    disk_.start([this, bytes, texts, document, now] {
        if (store_.write(bytes, document, now, texts))
            QMetaObject::invokeMethod(this, [this] { emit written(store_.dataPath()); }, Qt::QueuedConnection);
        else
            reportFailure();
    });
}

bool RecoveryKeeper::writeNow()
{
    timer_.stop();
    disk_.waitForDone();
    if (!job_.modified)
        return true;
    if (!store_.write(documentBytes(), documentPath_, QDateTime::currentDateTimeUtc(), cells())) {
        reportFailure();
        return false;
    }
    emit written(store_.dataPath());
    return true;
}

void RecoveryKeeper::discard()
{
    timer_.stop();
    keeping_ = false;
    disk_.start([this] { store_.discard(); });
}

} // namespace vt
