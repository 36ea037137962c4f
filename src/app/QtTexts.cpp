#include <QtGlobal>

// Qt's own words on the buttons of the program's messages, translated with
// the program's texts: the windows then speak one language even where Qt's
// translations are not installed (Windows, a minimal Linux).
namespace {

[[maybe_unused]] const char *const kQtTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),           QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),         QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),        QT_TRANSLATE_NOOP("QMessageBox", "Show Details..."),
    QT_TRANSLATE_NOOP("QMessageBox", "Hide Details..."),
};

} // namespace
