#pragma once

#include <QIODevice>

#include <string_view>

struct XML_ParserStruct;

namespace vt {

// An XML part parsed by libexpat while it is inflated, for the parts that
// can be large (a sheet of a million rows, its shared strings):
// QXmlStreamReader takes ten times as long as the inflating. Element names
// arrive without their namespace prefix.
class ExpatStream {
public:
    enum class End { Complete, Stopped, Damaged, Entities };

    ExpatStream() = default;
    ExpatStream(const ExpatStream &) = delete;
    ExpatStream &operator=(const ExpatStream &) = delete;
    virtual ~ExpatStream() = default;

    // Reads the device to its end, a fault, or stop().
    End parse(QIODevice &device);

protected:
    virtual void startElement(std::string_view name, const char **attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    virtual void characters(std::string_view text) = 0;
    // Ends the parse after the current callback.
    void stop();

    // An attribute's value by its name (without prefix); null when absent.
    static const char *attribute(const char **attributes, std::string_view name);

private:
    static void onStart(void *self, const char *name, const char **attributes);
    static void onEnd(void *self, const char *name);
    static void onText(void *self, const char *text, int length);
    static void onEntity(void *self, const char *, int, const char *, int, const char *, const char *,
                         const char *, const char *);

    XML_ParserStruct *parser_ = nullptr;
    bool stopped_ = false;
    bool entities_ = false;
};

} // namespace vt
