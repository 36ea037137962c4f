#include "model/CodePage.h"

#include <QCoreApplication>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <QStringList>

#include <algorithm>
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

// Notes each character the converter substitutes, then substitutes it as
// the converter's own callback would ('?', or nothing for an invisible one).
void noteSubstitution(const void *context, UConverterFromUnicodeArgs *args, const UChar *units, int32_t length,
                      UChar32 codePoint, UConverterCallbackReason reason, UErrorCode *status)
{
    if (reason <= UCNV_IRREGULAR && !u_hasBinaryProperty(codePoint, UCHAR_DEFAULT_IGNORABLE_CODE_POINT)) {
        auto &found = *static_cast<QList<char32_t> *>(const_cast<void *>(context));
        if (!found.contains(static_cast<char32_t>(codePoint)))
            found.append(static_cast<char32_t>(codePoint));
    }
    UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, args, units, length, codePoint, reason, status);
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

QByteArray encode(QStringView text, QList<char32_t> *unprintable)
{
    if (text.isEmpty())
        return {};
    // The code page keeps ASCII as it is; a wire list is nearly all ASCII,
    // and the converter costs ten times the copy.
    if (isAscii(text))
        return text.toLatin1();
    const Converter borrowed;
    UConverter *conv = borrowed.get();
    UConverterFromUCallback formerAction = nullptr;
    const void *formerContext = nullptr;
    if (unprintable) {
        UErrorCode status = U_ZERO_ERROR;
        ucnv_setFromUCallBack(conv, noteSubstitution, unprintable, &formerAction, &formerContext, &status);
    }
    QByteArray out;
    out.resize(text.size() * 2 + 2);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                            reinterpret_cast<const UChar *>(text.utf16()),
                                            static_cast<int32_t>(text.size()), &status);
    if (unprintable) {
        // Back as it was before the converter returns to the pool.
        UErrorCode restored = U_ZERO_ERROR;
        UConverterFromUCallback ours = nullptr;
        const void *ourContext = nullptr; // ICU writes these without checking for null
        ucnv_setFromUCallBack(conv, formerAction, formerContext, &ours, &ourContext, &restored);
    }
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return {};
    out.resize(written);
    return out;
}

} // namespace

QByteArray toAnsi(QStringView text) { return encode(text, nullptr); }

QByteArray toAnsi(QStringView text, QList<char32_t> &unprintable)
{
    unprintable.clear();
    return encode(text, &unprintable);
}

QList<char32_t> unprintableCharacters(QStringView text)
{
    QList<char32_t> found;
    if (!isAscii(text))
        encode(text, &found);
    return found;
}

QString characterNames(const QList<char32_t> &characters)
{
    QStringList names;
    for (const char32_t c : characters)
        names << QStringLiteral("\"%1\" (U+%2)")
                     .arg(QString::fromUcs4(&c, 1), QString::number(c, 16).toUpper().rightJustified(4, u'0'));
    return names.join(QStringLiteral(", "));
}

QString unprintableNote(QStringView text)
{
    const QList<char32_t> found = unprintableCharacters(text);
    if (found.isEmpty())
        return {};
    return QCoreApplication::translate("vt::CodePage", "%1: %2 cannot be printed").arg(text, characterNames(found));
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
