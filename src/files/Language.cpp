#include "files/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vt {

namespace {

// "zh_CN", "zh-Hans-CN", "zh" and the other Chinese locales read the
// Simplified Chinese texts: better than English for a Chinese reader.
QString spoken(QString language)
{
    language.replace(QLatin1Char('_'), QLatin1Char('-'));
    const QString base = language.section(QLatin1Char('-'), 0, 0).toLower();
    if (base == QLatin1String("zh"))
        return QStringLiteral("zh_CN");
    if (base == QLatin1String("en") || base == QLatin1String("c") || base == QLatin1String("posix"))
        return QStringLiteral("en");
    return {};
}

} // namespace

QString pickLanguage(const QString &chosen, const QStringList &systemLanguages)
{
    if (const QString language = spoken(chosen.trimmed()); !language.isEmpty())
        return language;
    for (const QString &language : systemLanguages)
        if (const QString known = spoken(language); !known.isEmpty())
            return known;
    return QStringLiteral("en");
}

QString installTranslation(QCoreApplication &app)
{
    const QString language = pickLanguage(qEnvironmentVariable("VT350_LANG"), QLocale::system().uiLanguages());
    if (language == QLatin1String("en"))
        return language;
    // The translations are built into every program, so nothing can be missing
    // beside an installed one.
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/i18n/vt350_%1.qm").arg(language))) {
        delete translator;
        return QStringLiteral("en");
    }
    // Qt's own dialogs (the file dialog on Linux) from Qt's translations,
    // where the system has them; the program's texts are looked up first.
    auto *qtTranslator = new QTranslator(&app);
    if (qtTranslator->load(QStringLiteral("qtbase_%1").arg(language),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTranslator);
    else
        delete qtTranslator;
    app.installTranslator(translator);
    return language;
}

} // namespace vt
