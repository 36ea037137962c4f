// The .xlsx reader on a million rows, beside the bare inflating of the same
// sheet member: the reader should take at most three times as long. Run
// with --benchmark_filter=Xlsx; the medians of five runs are reported.
#include "common/Workbooks.h"
#include "files/TableReader.h"
#include "files/ZipArchive.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace vt;

namespace {

// Four columns as a design tool exports a wire list; with `unique` the
// first column holds a million different strings (a million shared strings).
QString workbook(bool unique)
{
    const QString path = QStringLiteral(VT350_BINARY_DIR "/bench-xlsx-1000000%1.xlsx").arg(unique ? "-unique" : "");
    if (QFile::exists(path))
        return path;
    const QString part = path + QStringLiteral(".part");
    const bool written = test::writeWorkbook(part, [unique](lxw_workbook *book) {
        lxw_worksheet *sheet = workbook_add_worksheet(book, "Wires");
        const double sections[] = {0.75, 1.5, 2.5, 4};
        for (int i = 0; i < 1000000; ++i) {
            const QByteArray source = unique ? "W" + QByteArray::number(i)
                                             : "-X" + QByteArray::number(i / 48 % 500 + 1) + ":" + QByteArray::number(i % 48 + 1);
            const QByteArray target = "-K" + QByteArray::number(i % 97 + 1) + ":A" + QByteArray::number(i % 2 + 1);
            test::cell(sheet, i, 0, source.constData());
            test::cell(sheet, i, 1, target.constData());
            test::cell(sheet, i, 2, static_cast<double>(100000 + i));
            test::cell(sheet, i, 3, sections[i % 4]);
        }
    });
    if (!written || !QFile::rename(part, path))
        return {};
    return path;
}

void readAll(benchmark::State &state, bool unique)
{
    const QString path = workbook(unique);
    if (path.isEmpty()) {
        state.SkipWithError("the workbook could not be written");
        return;
    }
    qint64 cells = 0;
    for (auto _ : state) {
        cells = 0;
        QString problem;
        std::unique_ptr<TableReader> reader = openTable(path, {}, problem);
        if (!reader || !reader->readSheet(0, [&cells](const TableRow &row) {
                cells += row.cells.size();
                return true;
            })) {
            state.SkipWithError("the workbook could not be read");
            return;
        }
    }
    state.counters["cells"] = static_cast<double>(cells);
}

void BM_XlsxRead1M(benchmark::State &state) { readAll(state, false); }
BENCHMARK(BM_XlsxRead1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly();

void BM_XlsxRead1MUniqueStrings(benchmark::State &state) { readAll(state, true); }
BENCHMARK(BM_XlsxRead1MUniqueStrings)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly();

// Only inflating the sheet member, in the chunks the reader asks for.
void BM_XlsxInflateSheet1M(benchmark::State &state)
{
    const QString path = workbook(false);
    qint64 bytes = 0;
    for (auto _ : state) {
        ZipArchive archive(path);
        std::unique_ptr<QIODevice> sheet = archive.open(QStringLiteral("xl/worksheets/sheet1.xml"));
        if (!sheet) {
            state.SkipWithError("no sheet member");
            return;
        }
        static char chunk[256 * 1024];
        bytes = 0;
        for (qint64 n; (n = sheet->read(chunk, sizeof chunk)) > 0;)
            bytes += n;
    }
    state.counters["MB"] = static_cast<double>(bytes) / (1024 * 1024);
}
BENCHMARK(BM_XlsxInflateSheet1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
