#include "PrintTools.h"

#include "ConsoleText.h"

#include "DocumentTools.h"
#include "TerminalOperator.h"
#include "TerminalProgress.h"

#include "layout/PageLayout.h"
#include "printer/Clock.h"
#include "printer/DataFrame.h"
#include "printer/PrintJob.h"
#include "printer/SerialConfig.h"
#include "printer/SerialLine.h"
#include "model/Job.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace vt::cli {

const char kPrintHelp[] =
    "  ports     list the serial devices with their port numbers and whether a\n"
    "            printer answers on each (a device path in VT350_DEVICE or in the\n"
    "            key Device of ConSet.InI replaces the system's list)\n"
    "  print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]\n"
    "            print IN (.vtd or .csv, loaded as convert loads it) with the same\n"
    "            exchange as the window. Without --device or --port the printer's\n"
    "            port is searched as at the window's start. Firmware that does not\n"
    "            continue by itself waits for Enter between segments, or goes on\n"
    "            at once with --continue. Progress and messages on stderr; exit 0\n"
    "            only when every page went out.\n"
    "  frame IN [--firmware TEXT] [-o FILE]\n"
    "            write the data frames the printer would receive for IN, segment\n"
    "            after segment, as raw bytes to FILE or stdout (firmware default\n"
    "            FV1.000.04).\n";

namespace {

// Takes "--name VALUE" out of args; empty when absent.
bool takeOption(QStringList &args, const QString &name, QString &value)
{
    const int at = args.indexOf(name);
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

} // namespace

int portsCommand(const QStringList &args)
{
    if (!args.isEmpty()) {
        std::fputs("usage: vt350-cli ports\n", stderr);
        return 2;
    }
    EventLoopClock clock;
    SerialLibrary library;
    SerialLine line(library, clock);
    const QStringList devices = serialDevices();
    for (int port = 1; port <= devices.size() && port <= 99; ++port) {
        QString state;
        if (line.probe(port, 12, 3))
            state = QStringLiteral("printer");
        else if (library.lastFailure() == OpenFailure::None)
            state = QStringLiteral("no answer");
        else
            state = QStringLiteral("cannot open: ") + library.lastErrorText();
        writeText(stdout, QStringLiteral("%1\t%2\t%3\n").arg(QString::number(port), stableDeviceName(devices.at(port - 1)), state));
        std::fflush(stdout);
    }
    return 0;
}

int printCommand(const QStringList &arguments)
{
    QStringList args = arguments;
    QString device;
    QString portText;
    QString fromText;
    const bool manualContinue = !args.removeAll(QStringLiteral("--continue"));
    const bool resume = args.removeAll(QStringLiteral("--resume")) > 0;
    if (!takeOption(args, QStringLiteral("--device"), device) || !takeOption(args, QStringLiteral("--port"), portText)
        || !takeOption(args, QStringLiteral("--from-page"), fromText) || args.size() != 1
        || (!device.isEmpty() && !portText.isEmpty()) || (resume && !fromText.isEmpty())) {
        std::fputs("usage: vt350-cli print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]\n",
                   stderr);
        return 2;
    }
    int fromPage = 1;
    if (!fromText.isEmpty()) {
        bool ok = false;
        fromPage = fromText.toInt(&ok);
        if (!ok || fromPage < 1) {
            writeText(stderr, QStringLiteral("vt350-cli: --from-page takes a page number from 1, not '%1'\n").arg(fromText));
            return 2;
        }
    }
    int port = 0;
    if (!portText.isEmpty()) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 99) {
            writeText(stderr, QStringLiteral("vt350-cli: --port takes 1 to 99, not '%1'\n").arg(portText));
            return 2;
        }
    }
    return withBuiltJob(args[0], [&](Job &job) {
        TerminalOperator op;
        op.setWindowTitle(QStringLiteral("vt350-cli "));
        EventLoopClock clock;
        SerialLibrary library;
        SerialLine line(library, clock);
        TerminalProgress progress(!manualContinue);
        if (fromPage > job.pageCount()) {
            std::fprintf(stderr, "vt350-cli: --from-page %d, but the job has %d pages\n", fromPage, job.pageCount());
            return 2;
        }
        PrintJob print(job, line, op, progress);
        print.startPage = fromPage - 1;
        print.resumeChoice = resume ? PrintJob::ResumeChoice::Resume : PrintJob::ResumeChoice::Whole;
        QObject::connect(&print, &PrintJob::resumePointFound, [&](int page) {
            if (resume)
                std::fprintf(stderr, "vt350-cli: the last print of this job stopped before page %d of %d; "
                             "going on from there\n", page + 1, job.pageCount());
            else
                std::fprintf(stderr, "vt350-cli: the last print of this job stopped before page %d of %d; "
                             "printing every page (--resume goes on from there)\n", page + 1, job.pageCount());
        });
        QObject::connect(&print, &PrintJob::tryingPort, [](int port, const QString &path) {
            writeText(stderr, QStringLiteral("trying port %1 (%2)\n").arg(QString::number(port), path));
        });
        if (!device.isEmpty()) {
            qputenv("VT350_DEVICE", device.toLocal8Bit());
            print.portNumber = 1;
            print.portFound = true;
        } else if (!portText.isEmpty()) {
            print.portNumber = port;
            print.portFound = true;
        }
        int status = 1;
        bool ended = false;
        QObject::connect(&print, &PrintJob::finished, [&](bool allSent) {
            status = allSent ? 0 : 1;
            ended = true;
            if (!allSent)
                std::fputs("vt350-cli: the print job ended before every page was sent\n", stderr);
            if (!allSent && print.stoppedPage() >= 0)
                std::fprintf(stderr, "vt350-cli: it stopped before page %d of %d; --from-page %d goes on from there\n",
                             print.stoppedPage() + 1, job.pageCount(), print.stoppedPage() + 1);
            if (!allSent && print.stoppedPage() >= 0)
                std::fputs("vt350-cli: the stop is kept for this job; --resume goes on from there as well\n", stderr);
            QCoreApplication::exit(status);
        });
        print.printCommand();
        if (!ended)
            QCoreApplication::exec();
        return status;
    });
}

int frameCommand(const QStringList &arguments)
{
    QStringList args = arguments;
    QString firmwareText = QStringLiteral("FV1.000.04");
    QString output;
    if (!takeOption(args, QStringLiteral("--firmware"), firmwareText) || !takeOption(args, QStringLiteral("-o"), output)
        || args.size() != 1) {
        std::fputs("usage: vt350-cli frame IN [--firmware TEXT] [-o FILE]\n", stderr);
        return 2;
    }
    const Firmware firmware = classifyFirmware(firmwareText);
    if (!firmware.known) {
        writeText(stderr, QStringLiteral("vt350-cli: unknown firmware '%1' (FV1.000.01 to FV1.000.04)\n").arg(firmwareText));
        return 2;
    }
    QByteArray bytes;
    const int loaded = withBuiltJob(args[0], [&](Job &job) {
        buildPrintRecords(job, true);
        const std::uint8_t density = densityToSend(job.settings.density, firmware.extendedFrame);
        int consumed = 0;
        do {
            const DataFrame frame = buildDataFrame(job.chain, job.pageHead(), consumed == 0 ? 0 : consumed - 1,
                                                   job.settings, density, firmware.extendedFrame);
            if (frame.bytes.isEmpty())
                break;
            bytes += frame.bytes;
            consumed = frame.visited;
        } while (consumed < job.pageCount());
        return 0;
    });
    if (loaded != 0)
        return loaded;
    if (bytes.isEmpty()) {
        std::fputs("No Print Contents!\n", stderr);
        return 1;
    }
    if (output.isEmpty()) {
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        writeText(stderr, QStringLiteral("vt350-cli: cannot write %1: %2\n").arg(output, file.errorString()));
        return 1;
    }
    return 0;
}

} // namespace vt::cli
