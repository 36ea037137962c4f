#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace vt {

// The languages the program's texts come in: English, its source texts, and
// Simplified Chinese from translations/vt350_zh_CN.ts.
// `chosen` is VT350_LANG ("en", "zh_CN"); empty or unknown, the first of the
// system's languages that the program speaks decides, and English otherwise.
QString pickLanguage(const QString &chosen, const QStringList &systemLanguages);

// Installs the translation that VT350_LANG or the system's locale asks for on
// the application and returns the language it speaks ("en" or "zh_CN").
QString installTranslation(QCoreApplication &app);

} // namespace vt
