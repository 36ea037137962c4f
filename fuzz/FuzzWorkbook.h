#pragma once

// What the workbook targets share: an input is either a zip archive as it
// is ("PK...") or its members as text, packed here into a zip with every
// member stored, so mutations reach the XML instead of the deflate stream
// and a CRC that no longer matches. A member starts with a line
// "--- name"; its text runs to the next such line.
#include "files/TableReader.h"

#include <QByteArray>

#include <zlib.h>

#include <cstdint>
#include <cstdlib>

namespace vtfuzz {

inline void put16(QByteArray &out, unsigned v)
{
    out.append(static_cast<char>(v & 0xff)).append(static_cast<char>((v >> 8) & 0xff));
}

inline void put32(QByteArray &out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

inline QByteArray storedZip(QByteArrayView input)
{
    QByteArray zip, directory;
    int count = 0;
    const QByteArrayView mark("--- ");
    qsizetype at = input.startsWith(mark) ? 0 : input.indexOf("\n--- ");
    while (at >= 0 && count < 0xffff) {
        if (input[at] == '\n')
            ++at;
        const qsizetype nameEnd = input.indexOf('\n', at);
        const QByteArrayView name = input.sliced(at + 4, (nameEnd < 0 ? input.size() : nameEnd) - at - 4);
        const qsizetype start = nameEnd < 0 ? input.size() : nameEnd + 1;
        at = input.indexOf("\n--- ", start);
        const QByteArrayView text = input.sliced(start, (at < 0 ? input.size() : at) - start);
        const std::uint32_t crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef *>(text.data()), static_cast<uInt>(text.size())));
        const auto header = [&](QByteArray &out, bool central) {
            put32(out, central ? 0x02014b50 : 0x04034b50);
            if (central)
                put16(out, 20);
            put16(out, 20);
            put16(out, 0); // flags
            put16(out, 0); // stored
            put32(out, 0); // time and date
            put32(out, crc);
            put32(out, static_cast<std::uint32_t>(text.size()));
            put32(out, static_cast<std::uint32_t>(text.size()));
            put16(out, static_cast<unsigned>(name.size()));
            put16(out, 0);
            if (central) {
                put32(out, 0); // comment, disk
                put16(out, 0); // internal attributes
                put32(out, 0); // external attributes
                put32(out, static_cast<std::uint32_t>(zip.size()));
            }
            out.append(name);
        };
        header(directory, true);
        header(zip, false);
        zip.append(text);
        ++count;
    }
    const auto directoryAt = static_cast<std::uint32_t>(zip.size());
    zip.append(directory);
    put32(zip, 0x06054b50);
    put32(zip, 0);
    put16(zip, static_cast<unsigned>(count));
    put16(zip, static_cast<unsigned>(count));
    put32(zip, static_cast<std::uint32_t>(directory.size()));
    put32(zip, directoryAt);
    put16(zip, 0);
    return zip;
}

inline QByteArray archiveOf(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    return input.startsWith("PK") ? input.toByteArray() : storedZip(input);
}

// Opens the bytes as `format` and reads its sheets: a reader must say why
// it gives up, and rows come in order, within a sheet's limits.
inline void readWorkbook(const QByteArray &bytes, vt::TableFormat format)
{
    using namespace vt;
    QString problem;
    std::unique_ptr<TableReader> reader = openTable(bytes, format, TableOptions{}, problem);
    if (!reader) {
        if (problem.isEmpty())
            std::abort();
        return;
    }
    // The program reads one sheet at a time; a few show every path through
    // the reader without re-reading a part once per sheet of a made-up list.
    const int sheets = static_cast<int>(reader->sheetNames().size());
    for (int sheet = 0; sheet < sheets && sheet < 8; ++sheet) {
        qint64 last = 0;
        const bool read = reader->readSheet(sheet, [&](const TableRow &row) {
            if (row.number <= last || row.number > kMaxSheetRows || row.cells.size() > kMaxSheetColumns)
                std::abort();
            last = row.number;
            return true;
        });
        if (!read && reader->problem().isEmpty())
            std::abort();
    }
    // A sheet that is not there is refused with a reason.
    if (reader->readSheet(sheets, [](const TableRow &) { return true; }) || reader->problem().isEmpty())
        std::abort();
}

} // namespace vtfuzz
