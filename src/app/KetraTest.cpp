#include "app/KetraTestDlg.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vt350"));
    QApplication::setOrganizationName(QStringLiteral("vt350"));
    vt::CKetraTestDlg window;
    window.show();
    return app.exec();
}
