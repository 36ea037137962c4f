#include "render/Fonts.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>

// Drawing benchmarks need a GUI application (for fonts) and the print
// benchmark a window, but none needs a screen.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!vt::fonts::registerShippedFonts()) {
        std::fputs("the shipped fonts could not be loaded\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
