#include "files/DelimitedText.h"

#include "files/CsvImport.h"
#include "model/CodePage.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace vt {

namespace {

constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kSample = 64 * 1024;
constexpr int kSampleRecords = 20;
// A field longer than this cannot become a page line; the rest is dropped
// so that a file of one endless field does not fill the memory.
constexpr qsizetype kMaxFieldBytes = 64 * 1024;

// Splits bytes into records and fields. Separators, quotes and line ends are
// ASCII and never a trail byte of code page 936, so bytes are split before
// they are decoded.
class RecordSplitter {
public:
    explicit RecordSplitter(char separator) : separator_(separator) {}

    // Calls `onRecord(fields)` for every complete record; false from it stops.
    template <typename OnRecord>
    bool feed(const char *p, qint64 n, OnRecord &&onRecord)
    {
        for (qint64 i = 0; i < n; ++i) {
            const char b = p[i];
            if (pendingCr_) {
                pendingCr_ = false;
                if (b == '\n')
                    continue; // the LF of a CR LF already ended the record
            }
            switch (state_) {
            case FieldStart:
                if (b == '"') {
                    state_ = Quoted;
                    break;
                }
                state_ = Unquoted;
                [[fallthrough]];
            case Unquoted:
            case AfterQuoted:
                if (b == separator_) {
                    endField();
                } else if (b == '\n' || b == '\r') {
                    pendingCr_ = b == '\r';
                    if (!endRecord(onRecord))
                        return false;
                } else {
                    put(b);
                }
                break;
            case Quoted:
                if (b == '"')
                    state_ = QuoteInQuoted;
                else if (b == '\r')
                    state_ = CrInQuoted;
                else
                    put(b);
                break;
            case CrInQuoted:
                // A line break inside a field is kept as one '\n'.
                put('\n');
                state_ = Quoted;
                if (b == '\n')
                    break;
                --i;
                break;
            case QuoteInQuoted:
                if (b == '"') {
                    put('"');
                    state_ = Quoted;
                } else {
                    state_ = AfterQuoted;
                    --i;
                }
                break;
            }
        }
        return true;
    }

    template <typename OnRecord>
    void finish(OnRecord &&onRecord)
    {
        if (state_ == CrInQuoted)
            put('\n');
        if (state_ != FieldStart || !fields_.empty() || !field_.isEmpty())
            endRecord(onRecord);
    }

    bool midRecord() const { return state_ != FieldStart || !fields_.empty(); }

private:
    enum State { FieldStart, Unquoted, Quoted, CrInQuoted, QuoteInQuoted, AfterQuoted };

    void put(char b)
    {
        if (field_.size() < kMaxFieldBytes)
            field_.append(b);
    }
    void endField()
    {
        if (fields_.size() < static_cast<std::size_t>(kMaxSheetColumns))
            fields_.push_back(field_);
        field_.clear();
        state_ = FieldStart;
    }
    template <typename OnRecord>
    bool endRecord(OnRecord &&onRecord)
    {
        endField();
        const bool more = onRecord(fields_);
        fields_.clear();
        return more;
    }

    char separator_;
    State state_ = FieldStart;
    bool pendingCr_ = false;
    QByteArray field_;
    std::vector<QByteArray> fields_;
};

} // namespace

char detectSeparator(QByteArrayView sample)
{
    char best = ',';
    int bestSplit = 0;
    for (const char candidate : {'\t', ';', ','}) {
        RecordSplitter splitter(candidate);
        int records = 0;
        int split = 0;
        const auto take = [&](const std::vector<QByteArray> &fields) {
            if (fields.size() == 1 && fields[0].isEmpty())
                return true; // empty lines say nothing
            ++records;
            split += fields.size() > 1 ? 1 : 0;
            return records < kSampleRecords;
        };
        const bool whole = splitter.feed(sample.data(), sample.size(), take);
        // A sample cut inside its last record: that record is not counted.
        if (whole && !splitter.midRecord())
            splitter.finish(take);
        if (split > bestSplit) {
            best = candidate;
            bestSplit = split;
        }
    }
    return best;
}

bool startsAsUtf16(QByteArrayView head)
{
    return head.startsWith("\xFE\xFF") || (head.startsWith("\xFF\xFE") && !head.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)));
}

namespace {

// UTF-16 is split as UTF-8: separators, quotes and line ends stay single
// bytes that way. A byte or a surrogate pair cut by a chunk's end waits
// for the next chunk; the byte-order mark is dropped.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(DelimitedText::Encoding encoding)
        : decoder_(encoding == DelimitedText::Encoding::Utf16BE ? QStringConverter::Utf16BE : QStringConverter::Utf16LE)
    {
    }
    QByteArray operator()(QByteArrayView bytes)
    {
        QString text = held_ + decoder_.decode(bytes);
        held_.clear();
        if (first_ && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        first_ = first_ && text.isEmpty();
        // The decoder passes half a pair on as it comes; UTF-8 needs both.
        if (!text.isEmpty() && text.back().isHighSurrogate()) {
            held_ = text.back();
            text.chop(1);
        }
        return text.toUtf8();
    }

private:
    QStringDecoder decoder_;
    QString held_;
    bool first_ = true;
};

} // namespace

DelimitedText::DelimitedText(const QString &path, const TableOptions &options)
    : path_(path), sheetName_(QFileInfo(path).completeBaseName())
{
    inspect(options);
}

DelimitedText::DelimitedText(const QByteArray &bytes, const TableOptions &options)
    : bytes_(bytes), sheetName_(QStringLiteral("Sheet1"))
{
    inspect(options);
}

std::unique_ptr<QIODevice> DelimitedText::device() const
{
    std::unique_ptr<QIODevice> device;
    if (path_.isEmpty()) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(bytes_);
        device = std::move(buffer);
    } else {
        device = std::make_unique<QFile>(path_);
    }
    if (!device->open(QIODevice::ReadOnly))
        return nullptr;
    return device;
}

void DelimitedText::inspect(const TableOptions &options)
{
    std::unique_ptr<QIODevice> in = device();
    if (!in) {
        fail(QCoreApplication::translate("vt::TableReader", "it can not be read"));
        return;
    }
    QByteArray sample = in->read(kSample);
    if (startsAsUtf16(sample)) {
        encoding_ = sample.startsWith("\xFE\xFF") ? Encoding::Utf16BE : Encoding::Utf16LE;
        sample = Utf16ToUtf8(encoding_)(sample);
    } else {
        in->seek(0);
        encoding_ = vt::isUtf8(*in) ? Encoding::Utf8 : Encoding::CodePage936;
    }
    separator_ = options.separator ? *options.separator : detectSeparator(sample);
}

bool DelimitedText::readSheet(int index, const RowSink &sink)
{
    if (!problem_.isEmpty())
        return false;
    if (index != 0)
        return fail(QCoreApplication::translate("vt::TableReader", "a text file has one sheet only"));
    std::unique_ptr<QIODevice> in = device();
    if (!in)
        return fail(QCoreApplication::translate("vt::TableReader", "it can not be read"));

    RecordSplitter splitter(separator_);
    TableRow row;
    const auto take = [&](const std::vector<QByteArray> &fields) {
        row.number += 1;
        row.cells.clear();
        for (const QByteArray &field : fields)
            row.cells.append(encoding_ == Encoding::CodePage936 ? toWide(field) : QString::fromUtf8(field));
        return sink(row);
    };
    QByteArray chunk(kChunk, Qt::Uninitialized);
    const bool utf16 = encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf16BE;
    Utf16ToUtf8 toUtf8(encoding_);
    bool first = true;
    for (qint64 n; (n = in->read(chunk.data(), kChunk)) > 0;) {
        if (utf16) {
            const QByteArray utf8 = toUtf8(QByteArrayView(chunk.constData(), n));
            if (!splitter.feed(utf8.constData(), utf8.size(), take))
                return true;
            continue;
        }
        qint64 skip = 0;
        if (first && encoding_ == Encoding::Utf8 && n >= 3 && chunk.startsWith("\xEF\xBB\xBF"))
            skip = 3;
        first = false;
        if (!splitter.feed(chunk.constData() + skip, n - skip, take))
            return true;
    }
    splitter.finish(take);
    return true;
}

} // namespace vt
