#pragma once

#include "commands/TableImport.h"

#include <atomic>
#include <memory>
#include <vector>

namespace vt {

// The rows of one sheet kept in memory, so that a change of the fields or of
// the header reads them again without the file.
struct SheetRows {
    QStringList sheets;
    int sheet = 0;
    std::vector<TableRow> rows;
};

// Sheets up to this many rows are kept; a larger one is read from the file
// again rather than held whole.
constexpr qint64 kKeptSheetRows = 20000;
// Nor more cells than this, empty ones included: one cell in the last
// column makes a row of 16,384.
constexpr qint64 kKeptSheetCells = 1000000;

struct TablePreview {
    TableContent content;
    std::shared_ptr<const SheetRows> rows; // null when the sheet was not kept
};

// Reads for the Import Table preview, from `kept` when it holds the chosen
// sheet, or else from the file, keeping the sheet when it has at most
// `keepUpTo` rows and kKeptSheetCells cells. Runs on a worker thread; `stop`
// ends it early. A failure of the reading itself (memory) is the file's problem.
TablePreview readTablePreview(const QString &path, const TableChoice &choice,
                              const std::shared_ptr<const SheetRows> &kept, const std::atomic_bool &stop,
                              qint64 keepUpTo = kKeptSheetRows);

} // namespace vt
