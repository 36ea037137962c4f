#include "PrintTools.h"
#include "CliText.h"

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

const char kPrintHelp[] = QT_TRANSLATE_NOOP(
    "vt350-cli",
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
    "            FV1.000.04).\n");

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
        say(stderr, QCoreApplication::translate("vt350-cli", "usage: vt350-cli ports\n"));
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
        say(stderr,
            QCoreApplication::translate(
                "vt350-cli",
                "usage: vt350-cli print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]\n"));
        return 2;
    }
    int fromPage = 1;
    if (!fromText.isEmpty()) {
        bool ok = false;
        fromPage = fromText.toInt(&ok);
        if (!ok || fromPage < 1) {
            say(stderr,
                QCoreApplication::translate("vt350-cli",
                                            "vt350-cli: --from-page takes a page number from 1, not '%1'\n")
                    .arg(fromText));
            return 2;
        }
    }
    int port = 0;
    if (!portText.isEmpty()) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 99) {
            say(stderr,
                QCoreApplication::translate("vt350-cli", "vt350-cli: --port takes 1 to 99, not '%1'\n").arg(portText));
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
            say(stderr,
                QCoreApplication::translate("vt350-cli", "vt350-cli: --from-page %1, but the job has %2 pages\n")
                    .arg(fromPage)
                    .arg(job.pageCount()));
            return 2;
        }
        PrintJob print(job, line, op, progress);
        print.startPage = fromPage - 1;
        print.resumeChoice = resume ? PrintJob::ResumeChoice::Resume : PrintJob::ResumeChoice::Whole;
        QObject::connect(&print, &PrintJob::resumePointFound, [&](int page) {
            if (resume)
                say(stderr,
                    QCoreApplication::translate("vt350-cli",
                                                "vt350-cli: the last print of this job stopped before page %1 of %2; "
                                                "going on from there\n")
                        .arg(page + 1)
                        .arg(job.pageCount()));
            else
                say(stderr,
                    QCoreApplication::translate("vt350-cli",
                                                "vt350-cli: the last print of this job stopped before page %1 of %2; "
                                                "printing every page (--resume goes on from there)\n")
                        .arg(page + 1)
                        .arg(job.pageCount()));
        });
        QObject::connect(&print, &PrintJob::tryingPort, [](int port, const QString &path) {
            say(stderr, QCoreApplication::translate("vt350-cli", "trying port %1 (%2)\n").arg(port).arg(path));
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
                say(stderr,
                    QCoreApplication::translate("vt350-cli",
                                                "vt350-cli: the print job ended before every page was sent\n"));
            if (!allSent && print.stoppedPage() >= 0)
                say(stderr,
                    QCoreApplication::translate(
                        "vt350-cli", "vt350-cli: it stopped before page %1 of %2; --from-page %1 goes on from there\n")
                        .arg(print.stoppedPage() + 1)
                        .arg(job.pageCount()));
            if (!allSent && print.stoppedPage() >= 0)
                say(stderr,
                    QCoreApplication::translate(
                        "vt350-cli",
                        "vt350-cli: the stop is kept for this job; --resume goes on from there as well\n"));
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
        say(stderr,
            QCoreApplication::translate("vt350-cli", "usage: vt350-cli frame IN [--firmware TEXT] [-o FILE]\n"));
        return 2;
    }
    const Firmware firmware = classifyFirmware(firmwareText);
    if (!firmware.known) {
        say(stderr,
            QCoreApplication::translate("vt350-cli", "vt350-cli: unknown firmware '%1' (FV1.000.01 to FV1.000.04)\n")
                .arg(firmwareText));
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
        say(stderr, PrintJob::tr("No Print Contents!") + QLatin1Char('\n'));
        return 1;
    }
    if (output.isEmpty()) {
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        say(stderr,
            QCoreApplication::translate("vt350-cli", "vt350-cli: cannot write %1: %2\n")
                .arg(output, file.errorString()));
        return 1;
    }
    return 0;
}

} // namespace vt::cli
