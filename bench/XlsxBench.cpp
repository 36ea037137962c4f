// The .xlsx reader on a million rows, beside the bare inflating of the same
// sheet member: `vt350-cli show` should take at most three times as long as
// `unzip -p` of the sheet, the Import Table preview at most four times. Run
// with --benchmark_filter=Xlsx; the medians of five runs are reported.
#include "commands/TablePreview.h"
#include "common/Workbooks.h"
#include "files/TableReader.h"
#include "files/ZipArchive.h"

#include <QFile>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char **environ;

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

// Runs a program to its end with its output thrown away; false when it
// could not be started or failed.
bool run(std::vector<QByteArray> args)
{
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = -1;
    return started == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The yardstick: the sheet inflated by unzip into a pipe, as a shell user
// would measure it.
void BM_XlsxUnzipPipe1M(benchmark::State &state)
{
    const QString path = workbook(false);
    if (QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) {
        state.SkipWithError("unzip is not installed");
        return;
    }
    for (auto _ : state)
        if (!run({"/bin/sh", "-c", "unzip -p \"$0\" xl/worksheets/sheet1.xml | wc -c", path.toLocal8Bit()})) {
            state.SkipWithError("unzip failed");
            return;
        }
}
BENCHMARK(BM_XlsxUnzipPipe1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly();

// What a user of the command line waits for: the pages made of the first
// 200 rows, the rest counted, the refusals written out.
void BM_XlsxCliShow1M(benchmark::State &state)
{
    const QString path = workbook(false);
    for (auto _ : state)
        if (!run({VT350_BINARY_DIR "/tools/vt350-cli", "show", path.toLocal8Bit()})) {
            state.SkipWithError("vt350-cli show failed");
            return;
        }
}
BENCHMARK(BM_XlsxCliShow1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly();

// What the Import Table dialog reads for its preview with the default fields.
void BM_XlsxPreview1M(benchmark::State &state)
{
    const QString path = workbook(false);
    const std::atomic_bool stop{false};
    TablePreview preview;
    for (auto _ : state)
        preview = readTablePreview(path, TableChoice{}, nullptr, stop);
    if (!preview.content.problem.isEmpty())
        state.SkipWithError(qPrintable(preview.content.problem));
    state.counters["pages"] = static_cast<double>(preview.content.pages.size());
}
BENCHMARK(BM_XlsxPreview1M)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
