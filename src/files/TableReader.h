#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace vt {

// One row of a sheet as the spreadsheet shows it: the cell texts from
// column A on, empty cells kept as empty texts.
struct TableRow {
    qint64 number = 0; // the row's number in the sheet, from 1
    QStringList cells;
};

// Takes each row in order; returning false stops the reading.
using RowSink = std::function<bool(const TableRow &)>;

// Limits a sheet never exceeds in the programs that write them; a file that
// claims more is cut there instead of making us allocate for it.
constexpr qint64 kMaxSheetRows = 1048576;
constexpr int kMaxSheetColumns = 16384;

// A workbook or a delimited text file opened for reading its sheets.
class TableReader {
public:
    virtual ~TableReader() = default;
    // The sheets by name, in the workbook's order (one for a text file).
    virtual QStringList sheetNames() const = 0;
    // Streams the rows of sheet `index` (from 0). False, with problem()
    // saying why, when the file turned out to be bad while reading.
    virtual bool readSheet(int index, const RowSink &sink) = 0;
    // What is wrong with the file, as a clause ("the workbook is encrypted").
    QString problem() const { return problem_; }

protected:
    bool fail(const QString &why)
    {
        if (problem_.isEmpty())
            problem_ = why;
        return false;
    }
    QString problem_;
};

enum class TableFormat { Xlsx, Ods, Xls, Text };

struct TableOptions {
    // The field separator of a text file: ',', ';' or '\t'; detected from
    // the first lines when not given.
    std::optional<char> separator;
};

// The format a file name says, if it names a table file at all
// (.xlsx .ods .xls, and .csv .tsv .txt as delimited text).
std::optional<TableFormat> tableFormatOfName(const QString &path);
bool isWorkbookName(const QString &path);

// Opens a table file of the format its name says, after checking that its
// bytes are of that format. Null with `problem` set when the file cannot be
// read as one.
std::unique_ptr<TableReader> openTable(const QString &path, const TableOptions &options, QString &problem);
// The same over bytes in memory (tests, fuzzing).
std::unique_ptr<TableReader> openTable(const QByteArray &bytes, TableFormat format, const TableOptions &options,
                                       QString &problem);

// A number as a spreadsheet's General format shows it: at most 15
// significant digits, no ".0" on whole numbers.
QString generalNumberText(double value);
QString generalNumberText(const QString &xmlNumber);

// Column letters to an index from 0 ("A" 0, "AA" 26); -1 when not letters
// or beyond the last column a sheet can have.
int columnIndex(QStringView letters);
QString columnLetters(int index);

} // namespace vt
