#include "document/PageTableProtocol.h"

namespace vt {

bool enterPressed = false;

} // namespace vt
