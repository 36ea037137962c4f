#include "files/XmlStream.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <future>
#include <memory>
#include <mutex>

namespace vt {

namespace {

std::string_view view(const xmlChar *s) { return std::string_view(reinterpret_cast<const char *>(s)); }

// Errors end the parse through xmlParseChunk's result; libxml2 would
// otherwise print them.
void quietly(void *, xmlErrorPtr) {}
void quietly(void *, const char *, ...) {}

} // namespace

XmlStream::End XmlStream::parse(QIODevice &device)
{
    // Once, before any thread parses.
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    xmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = &XmlStream::onStart;
    sax.endElementNs = &XmlStream::onEnd;
    sax.characters = &XmlStream::onText;
    sax.ignorableWhitespace = &XmlStream::onText;
    sax.cdataBlock = &XmlStream::onText;
    // Entity declarations are how XML bombs and external reads start; a
    // workbook part never has any. Without a handler that keeps them no
    // entity is ever known, so only the five of XML itself are replaced.
    sax.entityDecl = &XmlStream::onEntity;
    sax.serror = static_cast<xmlStructuredErrorFunc>(&quietly);
    sax.warning = static_cast<warningSAXFunc>(&quietly);
    sax.error = static_cast<errorSAXFunc>(&quietly);

    // The next chunk is inflated on another thread while libxml2 parses this
    // one: a third of the time of a large sheet saved on two cores.
    constexpr int kChunk = 256 * 1024;
    std::unique_ptr<char[]> chunks[2] = {std::make_unique<char[]>(kChunk), std::make_unique<char[]>(kChunk)};
    const auto readInto = [&device](char *chunk) { return device.read(chunk, kChunk); };
    // The first bytes tell the encoding.
    qint64 n = readInto(chunks[0].get());
    if (n < 0)
        return End::Damaged;
    const int head = static_cast<int>(std::min<qint64>(n, 4));
    // A document type declaration makes libxml2 start a document of its own
    // (for the entities), which the context does not free.
    const auto release = [](xmlParserCtxtPtr context) {
        if (context->myDoc)
            xmlFreeDoc(context->myDoc);
        xmlFreeParserCtxt(context);
    };
    const std::unique_ptr<xmlParserCtxt, decltype(release)> parser(
        xmlCreatePushParserCtxt(&sax, this, chunks[0].get(), head, nullptr), release);
    if (!parser)
        return End::Damaged;
    // Entities replaced in attribute values too (else "&amp;" arrives as "&#38;").
    xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOENT);
    parser_ = parser.get();
    stopped_ = entities_ = false;

    End end = End::Complete;
    const char *data = chunks[0].get() + head;
    n -= head;
    for (int current = 0;; current = 1 - current) {
        const bool last = n == 0;
        // Its destructor waits for the reading, however the loop is left.
        std::future<qint64> next;
        if (!last)
            next = std::async(std::launch::async, readInto, chunks[1 - current].get());
        if (xmlParseChunk(parser_, data, static_cast<int>(n), last) != 0) {
            end = entities_ ? End::Entities : stopped_ ? End::Stopped : End::Damaged;
            break;
        }
        if (last)
            break;
        n = next.get();
        data = chunks[1 - current].get();
        if (n < 0) {
            end = End::Damaged;
            break;
        }
    }
    parser_ = nullptr;
    return end;
}

void XmlStream::stop()
{
    if (!stopped_) {
        stopped_ = true;
        xmlStopParser(parser_);
    }
}

const std::string_view *XmlStream::attribute(std::span<const XmlAttribute> attributes, std::string_view name)
{
    for (const XmlAttribute &a : attributes)
        if (a.name == name)
            return &a.value;
    return nullptr;
}

void XmlStream::onStart(void *self, const xmlChar *name, const xmlChar *, const xmlChar *, int, const xmlChar **,
                        int attributeCount, int, const xmlChar **attributes)
{
    auto *stream = static_cast<XmlStream *>(self);
    // Five pointers an attribute: name, prefix, namespace, value, value's end.
    stream->attributes_.clear();
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar **a = attributes + 5 * i;
        stream->attributes_.push_back(
            {view(a[0]), std::string_view(reinterpret_cast<const char *>(a[3]), static_cast<std::size_t>(a[4] - a[3]))});
    }
    stream->startElement(view(name), stream->attributes_);
}

void XmlStream::onEnd(void *self, const xmlChar *name, const xmlChar *, const xmlChar *)
{
    static_cast<XmlStream *>(self)->endElement(view(name));
}

void XmlStream::onText(void *self, const xmlChar *text, int length)
{
    static_cast<XmlStream *>(self)->characters(
        std::string_view(reinterpret_cast<const char *>(text), static_cast<std::size_t>(length)));
}

void XmlStream::onEntity(void *self, const xmlChar *, int, const xmlChar *, const xmlChar *, xmlChar *)
{
    auto *stream = static_cast<XmlStream *>(self);
    stream->entities_ = true;
    stream->stop();
}

} // namespace vt
