#include "commands/PageTableProtocol.h"

namespace vt {

bool enterPressed = false;

} // namespace vt
