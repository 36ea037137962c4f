#pragma once

#include <QFont>
#include <QString>

namespace vt::fonts {

// The window is laid out with fonts that ship with the program, so its size
// and look are the same on every machine. Liberation Serif and Sans have the
// metrics of the faces the layout was made for ("Times New Roman" for the
// dialog, "System" for the table, the strip and the progress text); Chinese
// text falls back to WenQuanYi Micro Hei, a package dependency.
inline const QString serifFamily = QStringLiteral("Liberation Serif");
inline const QString sansFamily = QStringLiteral("Liberation Sans");
inline const QString chineseFamily = QStringLiteral("WenQuanYi Micro Hei");

// Loads the shipped fonts into the application's font database, maps the
// layout's face names onto them and makes the sans face the application's
// default. Call once after the QGuiApplication exists; later calls do
// nothing. Returns false when a shipped font could not be loaded.
bool registerShippedFonts();

// The dialog face ("Times New Roman") at a point size.
QFont windowFont(int pointSize);
// The "System" face at a pixel size.
QFont systemFont(int pixelSize);

} // namespace vt::fonts
