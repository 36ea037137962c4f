// Delimited text (.csv .tsv .txt) as the table import reads it.
#include "FuzzWorkbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    vtfuzz::readWorkbook(bytes, vt::TableFormat::Text);
    return 0;
}
