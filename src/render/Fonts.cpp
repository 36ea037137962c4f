#include "render/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

// The fonts live in a static library, whose resources are not registered on
// their own.
static void initFontResources() { Q_INIT_RESOURCE(fonts); }

namespace vt::fonts {

namespace {

// Chinese text falls back to the face the system has for it: Windows ships
// Microsoft YaHei (SimSun on the oldest); elsewhere the one the program's
// package installs.
QStringList withChinese(const QString &family)
{
#ifdef Q_OS_WIN
    return {family, QStringLiteral("Microsoft YaHei"), chineseFamily, QStringLiteral("SimSun")};
#else
    return {family, chineseFamily};
#endif
}

} // namespace

bool registerShippedFonts()
{
    static const bool loaded = [] {
        initFontResources();
        bool ok = true;
        for (const char *file : {"LiberationSerif-Regular", "LiberationSerif-Bold", "LiberationSans-Regular",
                                 "LiberationSans-Bold"})
            ok = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/%1.ttf").arg(QLatin1String(file))) >= 0
                 && ok;
        // Anything that still asks for the original faces gets the shipped ones.
        QFont::insertSubstitutions(QStringLiteral("Times New Roman"), withChinese(serifFamily));
        QFont::insertSubstitutions(QStringLiteral("System"), withChinese(sansFamily));
        QFont appFont = QGuiApplication::font();
        appFont.setFamilies(withChinese(sansFamily));
        QGuiApplication::setFont(appFont);
        return ok;
    }();
    return loaded;
}

QFont windowFont(int pointSize)
{
    QFont font;
    font.setFamilies(withChinese(serifFamily));
    font.setPointSize(pointSize);
    return font;
}

QFont systemFont(int pixelSize)
{
    QFont font;
    font.setFamilies(withChinese(sansFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace vt::fonts
