// The document reader takes any bytes: it must refuse or accept them without
// reading past the data, and what it accepts must write back unchanged.
#include "files/DocumentFile.h"
#include "model/CodePage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vt;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<qsizetype>(size));
    const JobSettings defaults;
    const DocumentContent content = readDocument(bytes, defaults, kMaxPages);
    if (!content.ok)
        return 0;
    if (content.pages.size() > static_cast<std::size_t>(kMaxPages))
        std::abort();

    JobSettings settings;
    settings.spacing = content.header.spacing;
    settings.density = content.header.density;
    settings.cutMode = content.header.cutMode;
    settings.alignment = content.header.alignment;
    settings.materialIndex = content.header.materialIndex;
    settings.sizeIndex = content.header.sizeIndex;
    PageChain chain;
    for (const PageRecord &page : content.pages) {
        if (page.textLength > kMaxTextBytes || page.text[kMaxTextBytes] != 0)
            std::abort();
        *chain.insertPageAfter(chain.last(), settings) = page;
        (void)toWide(QByteArrayView(reinterpret_cast<const char *>(page.text.data()), page.textLength));
    }
    if (content.pagesLeftOut == 0) {
        const QByteArray again = encodeDocument(settings, chain, chain.size());
        if (!bytes.startsWith(again) || again.size() < kDocumentHeaderBytes)
            std::abort();
    }
    return 0;
}
