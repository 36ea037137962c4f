// Import Table on a wire list of a million rows: the sheet is streamed from
// the zip, never unpacked whole. The workbook is written once with
// libxlsxwriter and kept in the build folder.
#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "commands/TableCommands.h"
#include "common/ScriptedOperator.h"
#include "common/Workbooks.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

extern char **environ;

using namespace vt;

namespace {

// Source, target, wire number and cross-section, as a design tool exports them.
QString wireList(int rows)
{
    const QString path = QStringLiteral(VT350_BINARY_DIR "/bench-wires-%1.xlsx").arg(rows);
    if (QFile::exists(path))
        return path;
    const QString part = path + QStringLiteral(".part");
    const bool written = test::writeWorkbook(part, [rows](lxw_workbook *book) {
        lxw_worksheet *sheet = workbook_add_worksheet(book, "Wires");
        test::cell(sheet, 0, 0, "Source");
        test::cell(sheet, 0, 1, "Target");
        test::cell(sheet, 0, 2, "Wire");
        test::cell(sheet, 0, 3, "Section");
        const double sections[] = {0.75, 1.5, 2.5, 4};
        for (int i = 1; i <= rows; ++i) {
            const QByteArray source = "-X" + QByteArray::number(i / 48 % 500 + 1) + ":" + QByteArray::number(i % 48 + 1);
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

TableChoice wireChoice()
{
    TableChoice choice;
    choice.header = true;
    choice.line1 = QStringLiteral("{Source} {Target}");
    choice.line2 = QStringLiteral("W{Wire} {Section}");
    choice.repeat = QString();
    return choice;
}

// What the dialog shows: the whole sheet read, 200 pages kept, the rest counted.
void BM_TablePreview1M(benchmark::State &state)
{
    const QString path = wireList(1000000);
    if (path.isEmpty()) {
        state.SkipWithError("the workbook could not be written");
        return;
    }
    TableContent content;
    for (auto _ : state)
        content = readTable(path, wireChoice(), kMaxPages);
    state.counters["rows"] = static_cast<double>(content.rows);
    state.counters["pages"] = static_cast<double>(content.pages.size());
    state.counters["refused"] = static_cast<double>(content.tooLong + content.empty + content.unprintable + content.beyondLimit);
    state.SetLabel(std::to_string(QFile(path).size() / (1024 * 1024)) + " MB workbook");
}
BENCHMARK(BM_TablePreview1M)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same through vt350-cli convert in a process of its own, for its peak
// memory. Spawned without a fork of this process, whose own memory would
// otherwise count as the child's.
void BM_TableConvert1MPeakMemory(benchmark::State &state)
{
    const QString path = wireList(1000000);
    QTemporaryDir dir;
    const QByteArray program = VT350_BINARY_DIR "/tools/vt350-cli";
    const QByteArray out = dir.filePath(QStringLiteral("wires.vtd")).toLocal8Bit();
    const QByteArray in = path.toLocal8Bit();
    std::vector<QByteArray> args{program, "convert", in, out, "--header", "--line1", "{Source} {Target}",
                                 "--line2", "W{Wire} {Section}", "--repeat", ""};
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    rusage usage{};
    int status = -1;
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.constData(), nullptr, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("vt350-cli could not be started");
            return;
        }
        wait4(pid, &status, 0, &usage);
    }
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["exit"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
BENCHMARK(BM_TableConvert1MPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// 200 rows read and made the job's pages, as OK in the dialog does.
void BM_TableImport200(benchmark::State &state)
{
    const QString path = wireList(200);
    Job job;
    test::ScriptedOperator op;
    PageCommands pages(job, op);
    DocumentCommands documents(job, op, pages);
    TableCommands tables(job, op, documents);
    for (auto _ : state)
        benchmark::DoNotOptimize(tables.importTable(path, wireChoice()));
    state.counters["pages"] = job.pageCount();
}
BENCHMARK(BM_TableImport200)->Unit(benchmark::kMillisecond);

} // namespace
