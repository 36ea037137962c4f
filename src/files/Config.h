#pragma once

#include <QString>

namespace vt {

// The folder of the program's own files (ConSet.InI, the recent files):
// VT350_CONFIG_DIR when it is set, else the user's configuration folder for
// the program. Created when missing.
QString configDirectory();

} // namespace vt
