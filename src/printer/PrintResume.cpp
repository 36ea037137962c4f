#include "printer/PrintResume.h"

#include "files/DocumentFile.h"
#include "layout/PageLayout.h"
#include "model/Job.h"
#include "printer/DataFrame.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace vt {

QByteArray printFingerprint(const Job &job)
{
    JobSettings settings = job.settings;
    PageChain pages;
    for (const PageRecord *page = job.pageHead(); page; page = job.chain.next(page))
        *pages.insertPageAfter(pages.last(), settings) = *page;
    buildPrintRecords(job.model, pages, settings, job.currentIndex, true);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(encodeDocument(settings, pages, pages.size()));
    QByteArray frameFields;
    frameFields += char(settings.copies);
    frameFields += char(settings.density);
    for (const PageRecord *page = pages.head(); page; page = pages.next(page)) {
        frameFields += char(page->selected);
        appendPageRecord(frameFields, *page);
    }
    hash.addData(frameFields);
    return hash.result();
}

int firstPrintablePage(const PageChain &pages, int from)
{
    int index = 0;
    for (const PageRecord *page = pages.head(); page; page = pages.next(page), ++index)
        if (index >= from && isPrintable(*page))
            return index;
    return -1;
}

QString resumeQuestion(int page, int pageCount)
{
    return QCoreApplication::translate(
               "vt::PrintResume",
               "The last print of this job stopped before page %1 of %2. Continue from page %1? "
               "(No prints all pages)")
        .arg(page)
        .arg(pageCount);
}

} // namespace vt
