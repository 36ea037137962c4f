#pragma once

#include "files/CsvImport.h"
#include "files/TableReader.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>
#include <vector>

namespace vt {

// What the operator chose to take from a table file.
struct TableChoice {
    int sheet = 0;       // from 0
    // When set, the sheet of this name, or else of this number from 1
    // (the command line's --sheet); it takes the place of `sheet`.
    QString sheetName;
    // A remembered name: a workbook without that sheet opens on its first
    // instead of being refused.
    bool sheetNameOrFirst = false;
    bool header = false; // the first row holds column names
    // Each a column (by its letters in capitals or by its header name, in
    // any case), a number, or a template of text and {column} references.
    QString line1 = QStringLiteral("A");
    QString line2 = QStringLiteral("B");
    QString repeat = QStringLiteral("C");
    TableOptions options;

    // Marks per row: one, or one for each end of the wire, the far end's
    // from fields of its own (destination marking by default: each end
    // names the other).
    enum class Ends { One, Each };
    Ends ends = Ends::One;
    QString farLine1 = QStringLiteral("B");
    QString farLine2 = QStringLiteral("A");
    QString farRepeat = QStringLiteral("C");
    // Both ends of a row after each other, or all near ends then all far ends.
    enum class Order { ByWire, ByEnd };
    Order order = Order::ByWire;
    // Pages of the same two lines become one, their repeats added.
    bool merge = false;
    // Pages in the sheet's order, or natural order of their lines.
    enum class Sort { AsInSheet, Natural };
    Sort sort = Sort::AsInSheet;
    // More pages than a job holds go into several jobs (NAME-1.vtd, ...).
    bool split = false;

    // Whether the pages are more than the rows in their order.
    bool arranges() const { return ends == Ends::Each || merge || sort == Sort::Natural; }
};

// Which end of a wire a page marks; None when a row makes one mark, Both
// for a page merged from marks of either end.
enum class WireEnd { None, Near, Far, Both };

// One field of the choice, made ready for the rows: text and columns in turn.
class CellTemplate {
public:
    // Nothing, with `problem` saying why, when a column is not in the table.
    static std::optional<CellTemplate> parse(const QString &text, const QStringList &headers, QString &problem);
    QString apply(const QStringList &cells) const;
    bool isEmpty() const { return parts_.empty(); }
    // Whether it names a column at all, and whether one it names holds text.
    bool namesColumns() const;
    bool namesFilledColumn(const QStringList &cells) const;

private:
    struct Part {
        QString text;
        int column = -1; // -1: the text itself
    };
    std::vector<Part> parts_;
};

struct TableRefusal {
    enum Reason { TooLong, Empty, BeyondPageLimit, Unprintable };
    qint64 row = 0;   // the row's number in the sheet (the first, for a merged page)
    int bytes = 0;    // as stored, for TooLong
    Reason reason = TooLong;
    QString note;     // for Unprintable: each line and the characters it cannot keep
    WireEnd end = WireEnd::None;
};

// Where a page came from: the sheet rows (several for merged marks) and the end.
struct PageOrigin {
    std::vector<qint64> rows;
    WireEnd end = WireEnd::None;
};

// The pages a table file gives with a choice, read as a whole before the job
// changes. At most `keep` pages are kept; the rest are counted.
struct TableContent {
    QString problem;     // a clause when the file or the choice cannot be used
    QStringList sheets;
    int sheet = 0;       // the sheet read, from 0
    QStringList headers; // the names of the first row, with a header
    int columnCount = 0; // of the widest row
    std::vector<ImportedPage> pages;
    std::vector<qint64> pageRows; // the sheet row of each kept page (its first)
    std::vector<PageOrigin> pageOrigins; // of each kept page
    bool arranged = false;        // pages not in sheet order, or merged: see pageOrigins
    qint64 rows = 0;              // rows with any text, the header excluded
    qint64 usable = 0;            // pages made, kept or not
    qint64 tooLong = 0;
    qint64 empty = 0;
    qint64 unprintable = 0;       // rows with characters code page 936 has no code for
    qint64 beyondLimit = 0;
    // The first kMaxListed refusals of each reason, in sheet order.
    std::vector<TableRefusal> refused;
    static constexpr int kMaxListed = 1000;
};

// The columns the fields of `choice` name that a table with these headers
// and this many columns lacks, each once: what keeps a saved choice from
// fitting another workbook.
QStringList missingColumns(const TableChoice &choice, const QStringList &headers, int columnCount);

// Which sheet a choice names among `sheets`, from 0; -1 with `problem` when none.
int chosenSheet(const TableChoice &choice, const QStringList &sheets, QString &problem);

// Reads the chosen sheet through `reader`. Rows without any text are passed
// over as a spreadsheet's gaps; a row where every column the two lines name
// is blank (the literal text of a template alone is no mark, nor a repeat
// count alone), or whose lines come out empty, is refused as empty. Setting `stop` (from another thread) ends the reading at
// the next row, with a problem saying so.
TableContent readTable(TableReader &reader, const TableChoice &choice, qint64 keep = kMaxPages,
                       const std::atomic_bool *stop = nullptr);
// Opens the file first; the file's problem goes into `problem`.
TableContent readTable(const QString &path, const TableChoice &choice, qint64 keep = kMaxPages,
                       const std::atomic_bool *stop = nullptr);

// One line per listed refusal ("Row 12: 105 bytes, over 100 with the
// separator", "Row 13: empty", "Row 14: X1²: "²" (U+00B2) cannot be
// printed"), and a last line for those not listed.
QString describeRefusals(const TableContent &content);
// The one-line summary of the refusals, or empty when there are none.
QString refusalSummary(const TableContent &content, const QString &shownPath,
                       const QString &verb = {}); // empty: "imported"

// One line of the Import Table preview: a page the row gives, or the
// row's refusal.
struct PreviewRow {
    qint64 row = 0;
    int page = 0;         // from 1; 0 for a refused row
    ImportedPage content; // the page's texts and repeat
    QString refusal;      // why the row is refused
    PageOrigin origin;    // of a page: its rows (several when merged) and end
};
// The pages and the listed refusals in sheet order, at most `limit` lines.
std::vector<PreviewRow> previewRows(const TableContent &content, int limit);
// "412 rows: 200 pages, 3 refused, 209 beyond the 200-page limit"
QString previewSummary(const TableContent &content);

// A cell text as a page line: line breaks and tabs become blanks, other
// control characters '?' (they are the page text's own codes).
QString pageLineText(const QString &cell);

// What keeps the page's lines from being printed as they are: each line
// with characters code page 936 cannot hold, and those characters; empty
// when there is none.
QString unprintableLines(const QString &line1, const QString &line2);

} // namespace vt
