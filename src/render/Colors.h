#pragma once

#include <QColor>

namespace vt {

// The window colour shared by the main window, the page table, the preview
// strip and the dialogs.
inline QColor backgroundColor() { return QColor(242, 243, 246); }

} // namespace vt
