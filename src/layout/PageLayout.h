#pragma once

#include "model/Job.h"
#include "model/JobSettings.h"
#include "model/PageChain.h"
#include "model/PageTableModel.h"

namespace vt {

// Rebuilds the printer-side fields of every page from the page table, row i
// into the i-th record, then measures each page. With `forPrint` the script
// marks become their control bytes and symbols the printer's symbol codes.
// Rows without a record (a chain shorter than the table) are not built.
void buildPrintRecords(const PageTableModel &table, PageChain &chain, const JobSettings &job,
                       int currentIndex, bool forPrint);

// The same for a whole job, its current page included.
void buildPrintRecords(Job &job, bool forPrint);

// Bytes of the text the page build makes of two cell texts before it keeps
// at most 100: the first serial mark takes one byte, and for print the
// script marks too; other marks and Chinese characters take two.
int storedTextLength(const QString &line1, const QString &line2, bool forPrint);

// Builds one page from its two cell texts (steps shared with the row walk).
void buildPageRecord(PageRecord &page, const QString &line1, const QString &line2,
                     const JobSettings &job, bool forPrint);

} // namespace vt
