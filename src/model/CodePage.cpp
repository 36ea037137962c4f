#include "model/CodePage.h"

#include <unicode/ucnv.h>

#include <stdexcept>

namespace vt {

namespace {

// One converter per thread: ICU converters keep state and are not shareable.
class Converter {
public:
    Converter()
    {
        UErrorCode status = U_ZERO_ERROR;
        conv_ = ucnv_open("windows-936", &status);
        if (U_FAILURE(status) || !conv_)
            throw std::runtime_error("code page 936 is not available in ICU");
        status = U_ZERO_ERROR;
        ucnv_setSubstChars(conv_, "?", 1, &status);
    }
    ~Converter() { ucnv_close(conv_); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    UConverter *get() { return conv_; }

private:
    UConverter *conv_ = nullptr;
};

UConverter *converter()
{
    thread_local Converter conv;
    ucnv_reset(conv.get());
    return conv.get();
}

} // namespace

QByteArray toAnsi(QStringView text)
{
    if (text.isEmpty())
        return {};
    UConverter *conv = converter();
    QByteArray out;
    out.resize(text.size() * 2 + 2);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                            reinterpret_cast<const UChar *>(text.utf16()),
                                            static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return {};
    out.resize(written);
    return out;
}

QString toWide(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    UConverter *conv = converter();
    QString out;
    out.resize(bytes.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucnv_toUChars(conv, reinterpret_cast<UChar *>(out.data()),
                                          static_cast<int32_t>(out.size()), bytes.data(),
                                          static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return {};
    out.resize(written);
    return out;
}

int cutAtCharBoundary(QByteArrayView bytes, int limit)
{
    int pos = 0;
    const int size = static_cast<int>(bytes.size());
    while (pos < size) {
        const int width = isLeadByte(static_cast<unsigned char>(bytes[pos])) && pos + 1 < size ? 2 : 1;
        if (pos + width > limit)
            break;
        pos += width;
    }
    return pos;
}

} // namespace vt
