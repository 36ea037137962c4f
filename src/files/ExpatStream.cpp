#include "files/ExpatStream.h"

#include <expat.h>

#include <cstring>
#include <memory>

namespace vt {

namespace {

std::string_view localName(const char *name)
{
    const char *c = name;
    while (*c && *c != ':')
        ++c;
    return *c ? std::string_view(c + 1) : std::string_view(name, static_cast<std::size_t>(c - name));
}

} // namespace

ExpatStream::End ExpatStream::parse(QIODevice &device)
{
    const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate("UTF-8"), XML_ParserFree);
    if (!parser)
        return End::Damaged;
    parser_ = parser.get();
    stopped_ = entities_ = false;
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &ExpatStream::onStart, &ExpatStream::onEnd);
    XML_SetCharacterDataHandler(parser_, &ExpatStream::onText);
    // Entity declarations are how XML bombs and external reads start; a
    // workbook part never has any.
    XML_SetEntityDeclHandler(parser_, &ExpatStream::onEntity);

    constexpr int kChunk = 256 * 1024;
    End end = End::Complete;
    for (bool last = false; !last;) {
        void *buffer = XML_GetBuffer(parser_, kChunk);
        if (!buffer)
            return End::Damaged;
        const qint64 n = device.read(static_cast<char *>(buffer), kChunk);
        if (n < 0) {
            end = End::Damaged;
            break;
        }
        last = n == 0;
        if (XML_ParseBuffer(parser_, static_cast<int>(n), last) == XML_STATUS_ERROR) {
            end = entities_ ? End::Entities : stopped_ ? End::Stopped : End::Damaged;
            break;
        }
    }
    parser_ = nullptr;
    return end;
}

void ExpatStream::stop()
{
    if (!stopped_) {
        stopped_ = true;
        XML_StopParser(parser_, XML_FALSE);
    }
}

const char *ExpatStream::attribute(const char **attributes, std::string_view name)
{
    for (const char **a = attributes; *a; a += 2)
        if (localName(a[0]) == name)
            return a[1];
    return nullptr;
}

void ExpatStream::onStart(void *self, const char *name, const char **attributes)
{
    static_cast<ExpatStream *>(self)->startElement(localName(name), attributes);
}

void ExpatStream::onEnd(void *self, const char *name)
{
    static_cast<ExpatStream *>(self)->endElement(localName(name));
}

void ExpatStream::onText(void *self, const char *text, int length)
{
    static_cast<ExpatStream *>(self)->characters(std::string_view(text, static_cast<std::size_t>(length)));
}

void ExpatStream::onEntity(void *self, const char *, int, const char *, int, const char *, const char *,
                           const char *, const char *)
{
    auto *stream = static_cast<ExpatStream *>(self);
    stream->entities_ = true;
    stream->stop();
}

} // namespace vt
