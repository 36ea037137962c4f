#pragma once

#include "files/TableReader.h"

namespace vt {

// readSheet() with the reading on a thread of its own, a few hundred rows
// ahead of `sink`, which takes them on this thread in their order: on two
// cores the parsing of a large sheet and the work on its rows overlap. Memory
// stays bounded. When `sink` stops the reading, a fault of the file in the
// rows read ahead is not reported; an exception of either side reaches the
// caller after the reading thread has ended.
bool readSheetAhead(TableReader &reader, int index, const RowSink &sink);

} // namespace vt
