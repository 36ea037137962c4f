// .ods bytes, or the members of one as text (FuzzWorkbook.h), through the
// reader and every sheet it lists.
#include "FuzzWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vtfuzz::readWorkbook(vtfuzz::archiveOf(data, size), vt::TableFormat::Ods);
    return 0;
}
