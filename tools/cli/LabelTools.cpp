#include "LabelTools.h"
#include "CliText.h"

#include "ConsoleText.h"

#include "DocumentTools.h"

#include "layout/LabelExpansion.h"
#include "model/Job.h"
#include "render/Fonts.h"
#include "render/LabelStrip.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>

namespace vt::cli {

const char kLabelHelp[] = QT_TRANSLATE_NOOP(
    "vt350-cli",
    "  show IN --labels [--json]\n"
    "            every label the job prints, in order: checked pages with text,\n"
    "            repeats and numbered runs written out; one label a line, a tab\n"
    "            between the two lines of a two-line label, marks as above.\n"
    "            With --json an array of objects {page, line1, line2}.\n"
    "  preview IN -o OUT.png [--from LABEL] [--width PX]\n"
    "            draw the label strip as the window shows it, at 96 pixels per\n"
    "            inch: the whole strip, or PX pixels of it from label number\n"
    "            LABEL on (counted from 0 as show --labels lists them).\n");

namespace {

constexpr int kPreviewDpi = 96;
constexpr int kPreviewHeight = 80;
constexpr int kMaxPreviewWidth = 100000;
// The strip puts its first label this far from its left end; a preview from
// a later label puts that label there too.
constexpr int kFirstLabelX = 14;

QByteArray jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

void put(const QByteArray &bytes, std::FILE *out)
{
    writeUtf8(out, bytes);
}

int drawPreview(const Job &job, const QString &input, const QString &output, std::int64_t from, std::int64_t width)
{
    LabelStrip strip;
    strip.setTapeWidth(previewTapeWidth(job.settings).value_or(9.0));
    strip.setPages(job.chain, job.settings);

    const std::int64_t count = strip.labels().count();
    if (count == 0) {
        say(stderr,
            QCoreApplication::translate("vt350-cli", "vt350-cli: %1: nothing to show: no checked page has text\n")
                .arg(input));
        return 1;
    }
    if (from >= count) {
        say(stderr,
            QCoreApplication::translate("vt350-cli", "vt350-cli: %1: there is no label %2; the labels are 0 to %3\n")
                .arg(input)
                .arg(static_cast<long long>(from))
                .arg(static_cast<long long>(count - 1)));
        return 1;
    }
    const std::int64_t origin = from < 0 ? 0 : strip.labelLeft(from, kPreviewDpi) - kFirstLabelX;
    if (width < 0)
        width = strip.contentWidth(kPreviewDpi) - origin;
    if (width > kMaxPreviewWidth) {
        say(stderr,
            QCoreApplication::translate(
                "vt350-cli",
                "vt350-cli: the strip is %1 pixels long; draw at most %2 at a time with --from and --width\n")
                .arg(static_cast<long long>(width))
                .arg(kMaxPreviewWidth));
        return 1;
    }
    QImage image(int(width), kPreviewHeight, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(kPreviewDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter(&image);
        strip.paint(painter, image.rect(), origin, kPreviewDpi);
    }
    if (!image.save(output, "PNG")) {
        say(stderr, QCoreApplication::translate("vt350-cli", "vt350-cli: %1: could not write the image\n").arg(output));
        return 1;
    }
    return 0;
}

} // namespace

void writeLabels(const Job &job, bool json, std::FILE *out)
{
    const JobLabels labels(job.chain);
    bool first = true;
    if (json)
        put("[", out);
    for (int p = 0; p < labels.pageCount(); ++p) {
        const PageLabels &page = labels.page(p);
        if (page.count() == 0)
            continue;
        // A run is written once and output `repeat` times.
        QByteArray run;
        for (int j = 0; j < page.runLength(); ++j) {
            const QString text = page.runText(j);
            const LabelLines lines = page.twoLines() ? splitLabel(text) : LabelLines{text, {}};
            if (json) {
                if (j > 0)
                    run += ",";
                run += "\n  {\"page\": " + QByteArray::number(p + 1) + ", \"line1\": "
                       + jsonString(readableText(lines.line1)) + ", \"line2\": "
                       + jsonString(readableText(lines.line2)) + "}";
            } else {
                run += readableText(lines.line1).toUtf8();
                if (page.twoLines())
                    run += '\t' + readableText(lines.line2).toUtf8();
                run += '\n';
            }
        }
        for (std::int64_t r = page.count() / page.runLength(); r > 0; --r) {
            if (json && !first)
                put(",", out);
            put(run, out);
            first = false;
        }
    }
    if (json)
        put(first ? "]\n" : "\n]\n", out);
}

int previewCommand(const QStringList &args)
{
    QString input, output;
    std::int64_t from = -1; // -1: the whole strip
    std::int64_t width = -1; // -1: to the strip's end
    bool ok = true;
    for (int i = 0; i < args.size() && ok; ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("-o") && hasValue)
            output = args[++i];
        else if (arg == QLatin1String("--from") && hasValue)
            from = args[++i].toLongLong(&ok), ok = ok && from >= 0;
        else if (arg == QLatin1String("--width") && hasValue)
            width = args[++i].toLongLong(&ok), ok = ok && width >= 1;
        else if (!arg.startsWith(QLatin1Char('-')) && input.isEmpty())
            input = arg;
        else
            ok = false;
    }
    if (!ok || input.isEmpty() || output.isEmpty()) {
        say(stderr,
            QCoreApplication::translate("vt350-cli",
                                        "usage: vt350-cli preview IN -o OUT.png [--from LABEL] [--width PX]\n"));
        return 2;
    }
    if (!fonts::registerShippedFonts()) {
        say(stderr, QCoreApplication::translate("vt350-cli", "vt350-cli: the shipped fonts could not be loaded\n"));
        return 1;
    }
    return withBuiltJob(input, [&](Job &job) { return drawPreview(job, input, output, from, width); });
}

} // namespace vt::cli
