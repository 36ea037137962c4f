// The import reader takes any bytes: every page it keeps must fit a page,
// and how many it keeps must not change what it counts.
#include "files/CsvImport.h"
#include "model/CodePage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vt;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<qsizetype>(size));
    const CsvContent all = readCsv(bytes, kMaxPages);
    if (all.pages.size() > static_cast<std::size_t>(kMaxPages))
        std::abort();
    for (const ImportedPage &page : all.pages) {
        if (page.repeat < kMinRepeat || page.repeat > kMaxRepeat)
            std::abort();
        if (page.line1.isEmpty() && page.line2.isEmpty())
            std::abort();
        const qsizetype text = toAnsi(page.line1).size() + toAnsi(page.line2).size() + (page.line2.isEmpty() ? 0 : 1);
        if (text > kMaxTextBytes)
            std::abort();
    }

    const CsvContent few = readCsv(bytes, 2);
    if (few.rejectedRows != all.rejectedRows || few.utf8 != all.utf8
        || few.pages.size() + static_cast<std::size_t>(few.pagesLeftOut)
               != all.pages.size() + static_cast<std::size_t>(all.pagesLeftOut))
        std::abort();
    for (std::size_t i = 0; i < few.pages.size(); ++i)
        if (few.pages[i].line1 != all.pages[i].line1 || few.pages[i].line2 != all.pages[i].line2)
            std::abort();
    return 0;
}
