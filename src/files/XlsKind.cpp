#include "files/XlsKind.h"

#include <QIODevice>
#include <QtEndian>

#include <optional>
#include <vector>

namespace vt {

namespace {

constexpr quint32 kLastSector = 0xFFFFFFF9; // above it: end of chain, free, FAT and DIFAT marks
constexpr int kHeaderDifat = 109;

struct Entry {
    QString name;
    int type = 0; // 1 storage, 2 stream, 5 root
    quint32 left = 0, right = 0, child = 0;
    quint32 start = 0;
    quint64 size = 0;
};

// Only what is needed to find one stream's first bytes: the header, the FAT
// as the DIFAT lists it, the directory and the mini stream. Every chain is
// walked at most as many steps as the file has sectors.
class CompoundFile {
public:
    explicit CompoundFile(QIODevice &file) : file_(file) {}

    bool open()
    {
        const QByteArray header = readAt(0, 512);
        if (header.size() < 512 || !header.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
            return false;
        const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(header.constData() + at); };
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(header.constData() + at); };
        const int shift = u16(30);
        const int miniShift = u16(32);
        if ((shift != 9 && shift != 12) || miniShift < 6 || miniShift >= shift)
            return false;
        sectorSize_ = 1 << shift;
        miniSize_ = 1 << miniShift;
        version_ = u16(26);
        directoryStart_ = u32(48);
        miniCutoff_ = u32(56);
        difatStart_ = u32(68);
        for (int i = 0; i < kHeaderDifat; ++i)
            headerDifat_.push_back(u32(76 + 4 * i));
        sectors_ = (file_.size() + sectorSize_ - 1) / sectorSize_;
        return true;
    }

    std::vector<Entry> directory()
    {
        std::vector<Entry> entries;
        quint32 sector = directoryStart_;
        for (qint64 steps = 0; sector <= kLastSector && steps < sectors_; ++steps) {
            const QByteArray bytes = readSector(sector);
            if (bytes.isEmpty())
                return {};
            for (int at = 0; at + 128 <= bytes.size(); at += 128) {
                const char *e = bytes.constData() + at;
                Entry entry;
                const int nameBytes = qFromLittleEndian<quint16>(e + 64);
                if (nameBytes >= 2 && nameBytes <= 64)
                    entry.name = QString::fromUtf16(reinterpret_cast<const char16_t *>(e), nameBytes / 2 - 1);
                entry.type = static_cast<unsigned char>(e[66]);
                entry.left = qFromLittleEndian<quint32>(e + 68);
                entry.right = qFromLittleEndian<quint32>(e + 72);
                entry.child = qFromLittleEndian<quint32>(e + 76);
                entry.start = qFromLittleEndian<quint32>(e + 116);
                entry.size = qFromLittleEndian<quint64>(e + 120);
                if (version_ == 3)
                    entry.size &= 0xFFFFFFFF; // the high half is not kept by version 3 writers
                entries.push_back(entry);
            }
            sector = next(sector);
        }
        return entries;
    }

    // The first `n` bytes of a stream (n at most a mini sector).
    QByteArray head(const Entry &stream, const Entry &root, int n)
    {
        if (stream.size < static_cast<quint64>(n))
            return {};
        if (stream.size >= miniCutoff_)
            return readSector(stream.start).left(n);
        // In the mini stream, which is the root entry's chain of sectors.
        const qint64 offset = static_cast<qint64>(stream.start) * miniSize_;
        quint32 sector = root.start;
        for (qint64 skip = offset / sectorSize_; skip > 0 && sector <= kLastSector; --skip) {
            if (skip > sectors_)
                return {};
            sector = next(sector);
        }
        return readSector(sector).mid(offset % sectorSize_, n);
    }

private:
    QByteArray readAt(qint64 offset, qint64 n)
    {
        if (!file_.seek(offset))
            return {};
        return file_.read(n); // short at the end of a file cut short
    }
    QByteArray readSector(quint32 sector)
    {
        if (sector > kLastSector)
            return {};
        return readAt((static_cast<qint64>(sector) + 1) * sectorSize_, sectorSize_);
    }
    std::optional<quint32> u32At(qint64 offset)
    {
        const QByteArray bytes = readAt(offset, 4);
        if (bytes.size() != 4)
            return std::nullopt;
        return qFromLittleEndian<quint32>(bytes.constData());
    }
    // The sector of the FAT's `index`-th sector, from the header or the DIFAT chain.
    quint32 fatSector(qint64 index)
    {
        if (index < kHeaderDifat)
            return headerDifat_[index];
        const qint64 perSector = sectorSize_ / 4 - 1;
        index -= kHeaderDifat;
        quint32 difat = difatStart_;
        for (qint64 hop = index / perSector; hop > 0 && difat <= kLastSector; --hop) {
            if (hop > sectors_)
                return ~0u;
            difat = u32At((difat + 1LL) * sectorSize_ + perSector * 4).value_or(~0u);
        }
        if (difat > kLastSector)
            return ~0u;
        return u32At((difat + 1LL) * sectorSize_ + (index % perSector) * 4).value_or(~0u);
    }
    quint32 next(quint32 sector)
    {
        const qint64 perSector = sectorSize_ / 4;
        const quint32 fat = fatSector(sector / perSector);
        if (fat > kLastSector)
            return ~0u;
        return u32At((fat + 1LL) * sectorSize_ + (sector % perSector) * 4).value_or(~0u);
    }

    QIODevice &file_;
    int sectorSize_ = 512;
    int miniSize_ = 64;
    int version_ = 3;
    quint32 directoryStart_ = 0;
    quint32 miniCutoff_ = 4096;
    quint32 difatStart_ = 0;
    std::vector<quint32> headerDifat_;
    qint64 sectors_ = 0;
};

// The root storage's own streams: a workbook embedded in a storage further
// down (an object in a Word document) is not this file's workbook.
std::vector<const Entry *> rootStreams(const std::vector<Entry> &entries)
{
    std::vector<const Entry *> streams;
    if (entries.empty() || entries[0].type != 5)
        return streams;
    std::vector<bool> seen(entries.size());
    std::vector<quint32> pending{entries[0].child};
    while (!pending.empty()) {
        const quint32 id = pending.back();
        pending.pop_back();
        if (id >= entries.size() || seen[id])
            continue;
        seen[id] = true;
        const Entry &entry = entries[id];
        if (entry.type == 2)
            streams.push_back(&entry);
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return streams;
}

} // namespace

XlsKind xlsKind(QIODevice &file)
{
    XlsKind kind;
    CompoundFile compound(file);
    if (!compound.open())
        return kind;
    const std::vector<Entry> entries = compound.directory();
    const std::vector<const Entry *> streams = rootStreams(entries);
    if (streams.empty())
        return kind;
    // "Workbook" as Excel 97 names it before any other spelling, then "Book" of Excel 5.0/95.
    const Entry *book = nullptr;
    int rank = 0;
    for (const Entry *stream : streams) {
        const int r = stream->name == QLatin1String("Workbook")                               ? 3
                      : stream->name.compare(QLatin1String("Workbook"), Qt::CaseInsensitive) == 0 ? 2
                      : stream->name.compare(QLatin1String("Book"), Qt::CaseInsensitive) == 0     ? 1
                                                                                                  : 0;
        if (r > rank) {
            book = stream;
            rank = r;
        }
    }
    if (!book) {
        kind.kind = XlsKind::NoWorkbook;
        return kind;
    }
    kind.stream = book->name;
    // The BOF record: type 0x0809, length, then the BIFF version.
    const QByteArray bof = compound.head(*book, entries[0], 6);
    if (bof.size() < 6 || qFromLittleEndian<quint16>(bof.constData()) != 0x0809)
        return kind;
    const quint16 version = qFromLittleEndian<quint16>(bof.constData() + 4);
    if (version == 0x0600)
        kind.kind = XlsKind::Biff8;
    else if (version == 0x0500)
        kind.kind = XlsKind::Biff5;
    return kind;
}

} // namespace vt
