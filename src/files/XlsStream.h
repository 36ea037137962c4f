#pragma once

#include "files/TableReader.h"

#include <QByteArray>

namespace vt {

// What the .xls reader process writes on its standard output: records of a
// tag, the payload's length in bytes in decimal, ':', then the payload.
//   S  a sheet name (UTF-8), in the workbook's order
//   R  a row's number from 1; the cells that follow are this row's
//   C  a cell: its column from 0 in decimal, a blank, its text (UTF-8)
//   E  the reading failed: "damaged", "encrypted" or "unreadable"; or the
//      file is a workbook libfreexl does not read: "biff5" (Excel 5.0/95),
//      "named NAME" (Excel 97-2003 in a stream not named "Workbook"), or
//      "no workbook" (a compound file of another kind)
//   Z  the end; output without it was cut short
namespace xlsstream {

void append(QByteArray &out, char tag, QByteArrayView payload);

struct Record {
    char tag = 0;
    QByteArray payload;
};

enum class Next { Record, More, Bad };
// Takes the next record from `data` at `pos`: More when the data ends
// before the record does, Bad for bytes that are not a record.
Next next(const QByteArray &data, qsizetype &pos, Record &record);

} // namespace xlsstream
} // namespace vt
