#pragma once

#include "model/JobSettings.h"
#include "model/PageChain.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class QIODevice;

namespace vt {

// The job-wide part of a document file, in file order.
struct DocumentHeader {
    std::int32_t spacing = 0;
    std::uint8_t density = 0;
    char cutMode = 0;
    std::uint8_t alignment = 0;
    std::int32_t materialIndex = 0;
    std::int32_t sizeIndex = 0;
    std::int32_t pageCount = 0;
};

constexpr int kDocumentHeaderBytes = 19;
constexpr int kPageBlockFixedBytes = 66; // a block is this plus its text bytes

DocumentHeader headerFromSettings(const JobSettings &settings, int pageCount);
// The reverse: the header's job settings into `settings`, the rest kept.
void applyHeader(const DocumentHeader &header, JobSettings &settings);

// Appends one page block: the fields in file order, `text` without its NUL.
void appendPageBlock(QByteArray &out, const PageRecord &page);

// The whole file: header, then the first `pageCount` records of the chain.
QByteArray encodeDocument(const JobSettings &settings, const PageChain &chain, int pageCount);

// What a document file holds, read and checked as a whole before any job
// is touched.
struct DocumentContent {
    bool ok = false;
    QString problem;          // why the file was refused, for the operator
    DocumentHeader header;
    std::vector<PageRecord> pages;  // at most the `keep` first pages
    int pagesLeftOut = 0;     // valid pages beyond `keep`
};

// Reads a document from `in`. Each page starts with the new-record values
// of `settings`; `numbered` is recomputed. Refuses a file that ends early,
// announces a negative page count or a text over 100 bytes. Memory stays
// bounded by `keep` pages whatever the file announces.
DocumentContent readDocument(QIODevice &in, const JobSettings &settings, int keep = kMaxPages);
DocumentContent readDocument(const QByteArray &bytes, const JobSettings &settings, int keep = kMaxPages);

} // namespace vt
