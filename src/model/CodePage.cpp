#include "model/CodePage.h"

#include <unicode/ucnv.h>

#include <mutex>
#include <stdexcept>
#include <vector>

namespace vt {

namespace {

UConverter *openConverter()
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *conv = ucnv_open("windows-936", &status);
    if (U_FAILURE(status) || !conv)
        throw std::runtime_error("code page 936 is not available in ICU");
    status = U_ZERO_ERROR;
    ucnv_setSubstChars(conv, "?", 1, &status);
    return conv;
}

// ICU converters keep state and are not shareable: each conversion borrows
// one from a pool and gives it back reset. Not one per thread: destructors of
// thread-local objects run at a thread's end, which the MinGW runtime gets
// wrong for threads of std::async (the program crashes there on Windows).
class ConverterPool {
public:
    ~ConverterPool()
    {
        for (UConverter *conv : free_)
            ucnv_close(conv);
    }
    UConverter *take()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!free_.empty()) {
                UConverter *conv = free_.back();
                free_.pop_back();
                return conv;
            }
        }
        return openConverter();
    }
    void giveBack(UConverter *conv)
    {
        ucnv_reset(conv);
        const std::lock_guard<std::mutex> lock(mutex_);
        free_.push_back(conv);
    }

private:
    std::mutex mutex_;
    std::vector<UConverter *> free_;
};

ConverterPool &pool()
{
    static ConverterPool converters;
    return converters;
}

class Converter {
public:
    Converter() : conv_(pool().take()) {}
    ~Converter() { pool().giveBack(conv_); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    UConverter *get() const { return conv_; }

private:
    UConverter *conv_;
};

} // namespace

QByteArray toAnsi(QStringView text)
{
    if (text.isEmpty())
        return {};
    const Converter borrowed;
    UConverter *conv = borrowed.get();
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
    const Converter borrowed;
    UConverter *conv = borrowed.get();
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
