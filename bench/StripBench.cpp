#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "common/ScriptedOperator.h"
#include "layout/PageLayout.h"
#include "model/Job.h"
#include "render/LabelStrip.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace vt;

namespace {

constexpr int kDpi = 96;
constexpr int kViewWidth = 1280;

// `pages` pages of `repeat` repeats of a numbered run 0..999; 200 pages of
// 100 repeats is the largest job: 20 million labels. Without `numbered` a
// page is one plain label.
void fill(Job &job, int pages, int repeat, bool numbered)
{
    for (int row = 0; row < pages; ++row) {
        PageRecord *page = job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        QString text = QStringLiteral("CABLE %1-").arg(row);
        if (numbered)
            text += QChar(mark::numberPadded);
        job.model.setCellText(row, ColLine1, text);
        setAscii(page->serialStart, "0");
        setAscii(page->serialEnd, "999");
        setPageRepeat(*page, repeat);
    }
    job.currentIndex = pages - 1;
    buildPrintRecords(job, false);
}

// One paint of a view of the strip's end, as the pane shows it.
void paintAtEnd(benchmark::State &state, int pages, int repeat, bool numbered)
{
    Job job;
    fill(job, pages, repeat, numbered);
    LabelStrip strip;
    strip.setPages(job.chain, job.settings);
    QImage image(kViewWidth, 53, QImage::Format_RGB32);
    const std::int64_t origin = std::max<std::int64_t>(strip.contentWidth(kDpi) - kViewWidth, 0);
    for (auto _ : state) {
        QPainter painter(&image);
        strip.paint(painter, image.rect(), origin, kDpi);
    }
    state.counters["labels"] = double(strip.labels().count());
    state.counters["drawn"] = double(strip.labelsInView(origin, kViewWidth, 53, kDpi).size());
}

} // namespace

static void BM_StripPaint_OneLabel(benchmark::State &state) { paintAtEnd(state, 1, 1, false); }
static void BM_StripPaint_OnePage(benchmark::State &state) { paintAtEnd(state, 1, kMaxRepeat, true); }
static void BM_StripPaint_LargestJob(benchmark::State &state) { paintAtEnd(state, kMaxPages, kMaxRepeat, true); }
BENCHMARK(BM_StripPaint_OneLabel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripPaint_OnePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripPaint_LargestJob)->Unit(benchmark::kMicrosecond);

// Laying the strip out (what PrintView adds to the page build).
static void BM_StripLayout_LargestJob(benchmark::State &state)
{
    Job job;
    fill(job, kMaxPages, kMaxRepeat, true);
    LabelStrip strip;
    for (auto _ : state) {
        strip.setPages(job.chain, job.settings);
        benchmark::DoNotOptimize(strip.contentWidth(kDpi));
    }
}
BENCHMARK(BM_StripLayout_LargestJob)->Unit(benchmark::kMillisecond);

namespace {

// `vt350-cli preview` of the strip's last labels, the whole process.
void cliPreview(benchmark::State &state, int pages, int repeat, bool numbered)
{
    QTemporaryDir dir;
    Job job;
    test::ScriptedOperator op;
    PageCommands commands(job, op);
    DocumentCommands documents(job, op, commands);
    fill(job, pages, repeat, numbered);
    const QString path = dir.filePath("job.vtd");
    if (!documents.saveTo(path)) {
        state.SkipWithError("the job could not be saved");
        return;
    }
    const std::int64_t count = JobLabels(job.chain).count();
    const QStringList args{"preview", path, "-o", dir.filePath("out.png"), "--from",
                           QString::number(std::max<std::int64_t>(count - 10, 0)), "--width",
                           QString::number(kViewWidth)};
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(VT350_BINARY_DIR "/tools/vt350-cli"), args);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("vt350-cli preview failed");
            return;
        }
    }
    state.counters["labels"] = double(count);
}

} // namespace

static void BM_CliPreview_OneLabel(benchmark::State &state) { cliPreview(state, 1, 1, false); }
static void BM_CliPreview_OnePage(benchmark::State &state) { cliPreview(state, 1, kMaxRepeat, true); }
static void BM_CliPreview_LargestJob(benchmark::State &state) { cliPreview(state, kMaxPages, kMaxRepeat, true); }
BENCHMARK(BM_CliPreview_OneLabel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliPreview_OnePage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliPreview_LargestJob)->Unit(benchmark::kMillisecond)->UseRealTime();
