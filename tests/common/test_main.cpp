#include "files/XlsReader.h"
#include "render/Fonts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing under test reads or writes the user's configuration.
    QTemporaryDir config;
    qputenv("VT350_CONFIG_DIR", config.path().toLocal8Bit());
    // Nor leaves recovery files where the program would find them.
    QTemporaryDir state;
    qputenv("VT350_STATE_DIR", state.path().toLocal8Bit());
    // Texts are checked in English, whatever the machine's language; the
    // programs the tests start inherit it.
    qputenv("VT350_LANG", "en");
    QApplication app(argc, argv);
    // Sizes and glyphs under test come from the fonts the program ships,
    // never from whatever the machine has.
    if (!vt::fonts::registerShippedFonts()) {
        std::fprintf(stderr, "the shipped fonts (src/resources/fonts) could not be loaded\n");
        return 1;
    }
    vt::XlsReader::setProgram(QStringLiteral(VT350_XLS_PROGRAM));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
