#pragma once

#include <QString>

class QIODevice;

namespace vt {

// What a compound file named .xls holds, as far as its directory and the
// first record of its workbook stream tell. libfreexl only reads a BIFF8
// stream named exactly "Workbook"; this tells the workbooks it refuses
// (Excel 5.0/95, a stream named in other capitals) from damaged files.
struct XlsKind {
    enum Kind {
        Unknown,    // the directory or the stream's first record cannot be read
        Biff8,      // Excel 97-2003
        Biff5,      // Excel 5.0/95 (BIFF5 and BIFF7 share the version)
        NoWorkbook, // a compound file without a workbook stream (a .doc, a .msg)
    };
    Kind kind = Unknown;
    QString stream; // the workbook stream's name as the file stores it
};

XlsKind xlsKind(QIODevice &file);

} // namespace vt
