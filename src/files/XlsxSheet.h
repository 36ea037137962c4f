#pragma once

#include "files/XmlStream.h"
#include "files/NumberFormat.h"
#include "files/TableReader.h"

#include <vector>

namespace vt {

// What the cells of a workbook's sheets refer to.
struct XlsxBook {
    // Every shared string in one buffer: a million short strings would
    // otherwise take a heap block each.
    QString strings;
    std::vector<qsizetype> stringEnds;
    // The number format of each cell style (cellXfs), by the cells' "s".
    std::vector<NumberFormat> formats;
    bool date1904 = false;

    // Null for an index that names no string.
    QString sharedString(qint64 index) const;
};

// Reads xl/sharedStrings.xml into the book.
XmlStream::End readXlsxSharedStrings(QIODevice &device, XlsxBook &book);

// Streams a sheet's rows to the sink. `beyondColumns` is set when a cell
// names a column past XFD: such a sheet is damaged, and the parse stopped.
XmlStream::End readXlsxSheet(QIODevice &device, const XlsxBook &book, const RowSink &sink, bool &beyondColumns);

} // namespace vt
