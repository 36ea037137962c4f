#include "layout/PageLayout.h"
#include "model/Job.h"

#include <benchmark/benchmark.h>

using namespace vt;

// 200 two-line, numbered pages of 100 bytes each: the largest job there is.
static void BM_BuildPrintRecords200(benchmark::State &state)
{
    Job job;
    for (int row = 0; row < kMaxPages; ++row) {
        PageRecord *page = job.chain.insertPageAfter(job.chain.last(), job.settings);
        setAscii(page->serialStart, "1");
        setAscii(page->serialEnd, "250");
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1,
                              QString::fromUtf16(u"W-%1\uE04D\uE051").arg(row) + QString(40, 'A'));
        job.model.setCellText(row, ColLine2, QString::fromUtf16(u"\uE052") + QString(60, 'B'));
    }
    job.refreshPage(0);
    for (auto _ : state) {
        buildPrintRecords(job, state.range(0) != 0);
        benchmark::DoNotOptimize(job.chain[kMaxPages - 1].line1Dots);
    }
}
BENCHMARK(BM_BuildPrintRecords200)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
