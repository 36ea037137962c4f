#include "app/EndSignals.h"
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "files/Language.h"
#include "render/Fonts.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

namespace vt {

// The application: one main window; the process ends when it closes.
class Application : public QApplication {
public:
    Application(int &argc, char **argv) : QApplication(argc, argv)
    {
        setApplicationName(QStringLiteral("vt350"));
        setOrganizationName(QStringLiteral("vt350"));
        fonts::registerShippedFonts();
        installTranslation(*this);
    }

    int run()
    {
        MainWindow window;
        // Log-out or a kill with unsaved pages: they are kept before the end.
        EndSignals endSignals;
        QObject::connect(&endSignals, &EndSignals::ending, &window, &MainWindow::endBySignal);
        // Without a window manager the maximise request does nothing; the
        // window then still covers the screen.
        if (QScreen *screen = window.screen())
            window.setGeometry(screen->availableGeometry());
        // Once the window is up, so that messages have a parent: the pages a
        // program that has ended left unsaved, the printer, then the file
        // named on the command line.
        const QStringList args = arguments();
        window.startUpWhenShown(args.size() > 1 ? args.at(1) : QString());
        window.showMaximized();
        return exec();
    }
};

} // namespace vt

namespace {

bool canReachDisplay()
{
#if defined(Q_OS_LINUX)
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char **argv)
{
    if (!canReachDisplay()) {
        std::fprintf(stderr, "vt350: no display found (DISPLAY is not set); "
                             "to run without a screen: xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    vt::Application app(argc, argv);
    return app.run();
}
