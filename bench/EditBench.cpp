#include "commands/CellCommit.h"
#include "commands/PageCommands.h"
#include "common/ScriptedOperator.h"

#include <benchmark/benchmark.h>

using namespace vt;

namespace {

void fill(Job &job, Operator &op)
{
    PageCommands commands(job, op);
    while (job.pageCount() < kMaxPages)
        commands.add();
    for (int row = 0; row < kMaxPages; ++row)
        job.model.setCellText(row, ColLine1, QStringLiteral("W-%1 ").arg(row) + QString(40, 'A'));
}

} // namespace

// Committing the last row's 1st line (text alternates so every commit writes).
static void BM_CommitLastRowCell(benchmark::State &state)
{
    Job job;
    test::ScriptedOperator op;
    fill(job, op);
    CellCommit commit(job, op);
    const int last = kMaxPages - 1;
    job.refreshPage(last);
    const QString texts[2] = {QString(60, 'x'), QString(59, 'y') + QChar(0x4E2D)};
    int i = 0;
    for (auto _ : state) {
        job.model.setCellText(last, ColLine1, texts[i ^= 1]);
        commit.pageTableMessage(tablemsg::commitCell, last, ColLine1);
        benchmark::DoNotOptimize(job.chain[last].textLength);
    }
}
BENCHMARK(BM_CommitLastRowCell)->Unit(benchmark::kMicrosecond);

// Making another row current: star, page numbers and the lists follow.
static void BM_ChooseAnotherRow(benchmark::State &state)
{
    Job job;
    test::ScriptedOperator op;
    fill(job, op);
    CellCommit commit(job, op);
    int row = 0;
    for (auto _ : state) {
        row = row == 0 ? kMaxPages - 1 : 0;
        commit.pageTableMessage(tablemsg::rowChosen, row, ColLine1);
        benchmark::DoNotOptimize(job.currentPage);
    }
}
BENCHMARK(BM_ChooseAnotherRow)->Unit(benchmark::kMicrosecond);
