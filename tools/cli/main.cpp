#include "ConsoleText.h"
#include "DocumentTools.h"
#include "PrintTools.h"
#include "LabelTools.h"
#include "TableArgs.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char kUsageHead[] =
    "usage: vt350-cli COMMAND [ARGS]\n"
    "\n"
    "Label jobs for the Vt350 tube printer, without a window.\n"
    "\n"
    "commands:\n"
    "  --help    show this text\n";

void usage(std::FILE *to)
{
    std::fputs(kUsageHead, to);
    std::fputs(vt::cli::kDocumentHelp, to);
    std::fputs(vt::cli::kTableHelp, to);
    std::fputs(vt::cli::kPrintHelp, to);
    std::fputs(vt::cli::kLabelHelp, to);
}

struct Command {
    const char *name;
    int (*run)(const QStringList &args);
};

const Command kCommands[] = {
    {"convert", vt::cli::convertCommand},
    {"show", vt::cli::showCommand},
    {"ports", vt::cli::portsCommand},
    {"print", vt::cli::printCommand},
    {"frame", vt::cli::frameCommand},
    {"preview", vt::cli::previewCommand},
};

} // namespace

int main(int argc, char **argv)
{
#ifdef Q_OS_WIN
    // The same bytes as on every other system: frames and listings go out as
    // written, lines end in "\n" alone (which the console shows as well).
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    // Drawing needs the font database of a GUI application, without a screen.
    const bool draws = argc >= 2 && std::strcmp(argv[1], "preview") == 0;
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application =
        draws ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    // The same configuration folder, and so the same ConSet.InI, as the window.
    app.setApplicationName(QStringLiteral("vt350"));
    app.setOrganizationName(QStringLiteral("vt350"));
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        usage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const QStringList args = app.arguments().mid(2);
    for (const Command &command : kCommands)
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(args);
    vt::cli::writeText(stderr, QStringLiteral("vt350-cli: unknown command '%1' (see --help)\n").arg(app.arguments().at(1)));
    return 2;
}
