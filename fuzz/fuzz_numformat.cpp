// A number format code applied to numbers and a text. The input is eight
// bytes of a double, one of flags, then the code in UTF-8; the double is
// shown beside values that reach every kind of section.
#include "files/NumberFormat.h"
#include "files/TableReader.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vt;
    if (size < 9)
        return 0;
    double own = 0;
    std::memcpy(&own, data, sizeof own);
    const bool date1904 = data[8] & 1;
    const QString code = QString::fromUtf8(reinterpret_cast<const char *>(data + 9), static_cast<qsizetype>(size - 9));
    const NumberFormat format(code);
    const NumberFormat copy = format;
    const double values[] = {own, 0, -0.0, 1, -1.5, 0.5, 2.675, 1234.5678, -45000.75, 60, 2958465.99999,
                             1e15, 9.3e18, -1e20, 1e300, 4.9e-324, 1e-5};
    for (const double v : values)
        if (format.number(v, date1904) != copy.number(v, date1904))
            std::abort();
    (void)format.text(QStringLiteral("text"));
    (void)decodeOoxmlEscapes(code);
    (void)generalNumberText(code);
    (void)builtinNumberFormat(data[8]);
    return 0;
}
