#pragma once

#include <QByteArray>
#include <QString>

namespace vt {

class Job;
class PageChain;

// What a print job looked like to the printer: its settings and every page
// in the printer's form, checked or not. Two jobs with the same fingerprint
// give the same frames.
QByteArray printFingerprint(const Job &job);

// The index of the first page at or after `from` that goes to the printer,
// or -1 when none does.
int firstPrintablePage(const PageChain &pages, int from);

// The question before a print of a job whose last print stopped before
// page `page` (1-based) of `pageCount`.
QString resumeQuestion(int page, int pageCount);

} // namespace vt
