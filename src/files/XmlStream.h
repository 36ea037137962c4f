#pragma once

#include <QIODevice>

#include <span>
#include <string_view>
#include <vector>

struct _xmlParserCtxt;

namespace vt {

struct XmlAttribute {
    std::string_view name; // without its prefix
    std::string_view value;
};

// An XML part parsed by libxml2's push parser while it is inflated, for the
// parts that can be large (a sheet of a million rows, its shared strings):
// QXmlStreamReader takes ten times as long as the inflating, libexpat twice
// as long as libxml2. Element and attribute names arrive without their
// namespace prefix. A part that declares entities is refused, and nothing is
// ever fetched from outside.
class XmlStream {
public:
    enum class End { Complete, Stopped, Damaged, Entities };

    XmlStream() = default;
    XmlStream(const XmlStream &) = delete;
    XmlStream &operator=(const XmlStream &) = delete;
    virtual ~XmlStream() = default;

    // Reads the device to its end, a fault, or stop().
    End parse(QIODevice &device);

protected:
    virtual void startElement(std::string_view name, std::span<const XmlAttribute> attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    virtual void characters(std::string_view text) = 0;
    // Ends the parse after the current callback.
    void stop();

    // An attribute's value by its name; null when absent.
    static const std::string_view *attribute(std::span<const XmlAttribute> attributes, std::string_view name);

private:
    static void onStart(void *self, const unsigned char *name, const unsigned char *prefix, const unsigned char *uri,
                        int namespaceCount, const unsigned char **namespaces, int attributeCount, int defaulted,
                        const unsigned char **attributes);
    static void onEnd(void *self, const unsigned char *name, const unsigned char *prefix, const unsigned char *uri);
    static void onText(void *self, const unsigned char *text, int length);
    static void onEntity(void *self, const unsigned char *name, int type, const unsigned char *publicId,
                         const unsigned char *systemId, unsigned char *content);

    _xmlParserCtxt *parser_ = nullptr;
    std::vector<XmlAttribute> attributes_;
    bool stopped_ = false;
    bool entities_ = false;
};

} // namespace vt
