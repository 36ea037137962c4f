#include "commands/TablePreview.h"

#include <new>
#include <QCoreApplication>

namespace vt {

namespace {

// The kept rows as a workbook of their sheet alone.
class KeptRows : public TableReader {
public:
    explicit KeptRows(const SheetRows &rows) : rows_(rows) {}
    QStringList sheetNames() const override { return rows_.sheets; }
    bool readSheet(int index, const RowSink &sink) override
    {
        if (index != rows_.sheet)
            return fail(QCoreApplication::translate("vt::TablePreview", "the sheet was not kept"));
        for (const TableRow &row : rows_.rows)
            if (!sink(row))
                break;
        return true;
    }

private:
    const SheetRows &rows_;
};

// Passes the file's rows on and keeps a copy while the sheet is small. The
// copy goes on to the sheet's end even when the choice stops taking rows (a
// column that is not there), so that the next choice need not read the file.
class KeepingReader : public TableReader {
public:
    KeepingReader(TableReader &file, qint64 upTo, const std::atomic_bool &stop)
        : file_(file), upTo_(upTo), stop_(stop)
    {
    }
    QStringList sheetNames() const override { return file_.sheetNames(); }
    bool readSheet(int index, const RowSink &sink) override
    {
        auto rows = std::make_shared<SheetRows>();
        rows->sheets = file_.sheetNames();
        rows->sheet = index;
        bool taking = true;
        bool keeping = true;
        qint64 cells = 0;
        const bool read = file_.readSheet(index, [&](const TableRow &row) {
            if (taking)
                taking = sink(row);
            cells += row.cells.size();
            if (keeping && static_cast<qint64>(rows->rows.size()) < upTo_ && cells <= kKeptSheetCells)
                rows->rows.push_back(row);
            else if (keeping) {
                keeping = false;
                rows->rows = {};
            }
            return !stop_.load(std::memory_order_relaxed) && (taking || keeping);
        });
        if (!read)
            return fail(file_.problem());
        if (keeping && !stop_.load())
            kept = std::move(rows);
        return true;
    }
    std::shared_ptr<const SheetRows> kept;

private:
    TableReader &file_;
    qint64 upTo_;
    const std::atomic_bool &stop_;
};

} // namespace

namespace {

TablePreview readPreview(const QString &path, const TableChoice &choice, const std::shared_ptr<const SheetRows> &kept,
                         const std::atomic_bool &stop, qint64 keepUpTo)
{
    TablePreview preview;
    QString unused;
    if (kept && chosenSheet(choice, kept->sheets, unused) == kept->sheet) {
        KeptRows reader(*kept);
        preview.content = readTable(reader, choice, kMaxPages, &stop);
        preview.rows = kept;
        return preview;
    }
    QString problem;
    std::unique_ptr<TableReader> file = openTable(path, choice.options, problem);
    if (!file) {
        preview.content.problem = problem;
        return preview;
    }
    KeepingReader reader(*file, keepUpTo, stop);
    preview.content = readTable(reader, choice, kMaxPages, &stop);
    preview.rows = std::move(reader.kept);
    return preview;
}

} // namespace

TablePreview readTablePreview(const QString &path, const TableChoice &choice,
                              const std::shared_ptr<const SheetRows> &kept, const std::atomic_bool &stop,
                              qint64 keepUpTo)
{
    try {
        return readPreview(path, choice, kept, stop, keepUpTo);
    } catch (const std::bad_alloc &) {
        TablePreview failed;
        failed.content.problem = QCoreApplication::translate("vt::TablePreview",
                                                             "reading it needs more memory than there is (refused)");
        return failed;
    }
}

} // namespace vt
