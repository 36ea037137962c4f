#include "document/CellCommit.h"
#include "document/PageCommands.h"

#include <benchmark/benchmark.h>

using namespace vt;

namespace {

// An operator that answers nothing: the benchmark's edits are all accepted.
class SilentOperator : public Operator {
public:
    Answer showMessage(const Message &) override { return Answer::Ok; }
    QString askOpenFileName(const QString &, const QString &) override { return {}; }
    QString askSaveFileName(const QString &, const QString &) override { return {}; }
    void fillList(ControlId, const QStringList &) override {}
    void selectListEntry(ControlId, int) override {}
    int listSelection(ControlId) const override { return -1; }
    void enableControl(ControlId, bool) override {}
    bool isControlChecked(ControlId) const override { return false; }
    void setControlChecked(ControlId, bool) override {}
    std::optional<int> readEdit(ControlId) const override { return std::nullopt; }
    void setEdit(ControlId, int) override {}
};

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
    SilentOperator op;
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
    SilentOperator op;
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
