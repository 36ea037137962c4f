#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "common/ScriptedOperator.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace vt;

namespace {

struct Session {
    Job job;
    test::ScriptedOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};
};

// 200 two-line pages with marks, as large as a job gets.
void fill200(Session &s)
{
    for (int row = 0; row < kMaxPages; ++row) {
        s.pages.add();
        s.job.model.setCellText(row, ColLine1, QString::fromUtf16(u"W-%1\uE04D\uE051").arg(row) + QString(40, 'A'));
        s.job.model.setCellText(row, ColLine2, QString::fromUtf16(u"\uE052") + QString(50, 'B'));
    }
}

void BM_SaveDocument200(benchmark::State &state)
{
    QTemporaryDir dir;
    Session s;
    fill200(s);
    const QString path = dir.filePath(QStringLiteral("job.vtd"));
    for (auto _ : state)
        benchmark::DoNotOptimize(s.documents.saveTo(path));
    state.SetLabel(std::to_string(QFile(path).size()) + " bytes");
}
BENCHMARK(BM_SaveDocument200)->Unit(benchmark::kMicrosecond);

void BM_OpenDocument200(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("job.vtd"));
    {
        Session s;
        fill200(s);
        s.documents.saveTo(path);
    }
    Session s;
    for (auto _ : state)
        benchmark::DoNotOptimize(s.documents.openPath(path));
    if (s.job.pageCount() != kMaxPages)
        state.SkipWithError("open did not give 200 pages");
}
BENCHMARK(BM_OpenDocument200)->Unit(benchmark::kMicrosecond);

// A CSV of `lines` lines; all but the first 200 usable lines are beyond the
// page limit, and every tenth line is too long for a page.
void BM_ImportCsv(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.csv"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        QByteArray chunk;
        for (int i = 0; i < state.range(0); ++i) {
            if (i % 10 == 9)
                chunk += QByteArray(70, 'L') + ';' + QByteArray(40, 'M') + "\r\n";
            else
                chunk += "CABLE-" + QByteArray::number(i) + ";X" + QByteArray::number(i % 97) + ";" +
                         QByteArray::number(i % 120) + "\r\n";
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
    }
    Session s;
    s.pages.add();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.documents.importPath(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    if (s.job.pageCount() != kMaxPages)
        state.SkipWithError("import did not give 200 pages");
}
BENCHMARK(BM_ImportCsv)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
