#pragma once

#include "model/JobSettings.h"
#include "model/PageChain.h"

#include <QByteArray>

#include <cstdint>

namespace vt {

// One write to the printer never exceeds this.
constexpr int kFrameCapacity = 8192;
// A page record on the line is this many bytes plus its text.
constexpr int kRecordHeadBytes = 55;

struct DataFrame {
    QByteArray bytes;  // empty when no page went in (nothing is sent then)
    int visited = 0;   // records visited, counted from the first record of the chain
    int pages = 0;     // records in the frame
};

// The density byte the printer gets. Firmware without the extended frame
// takes at most 6 and reads the operator's scale at half; it is derived from
// the operator's setting each time, never from an earlier result.
std::uint8_t densityToSend(std::uint8_t operatorDensity, bool extendedFrame);

// Appends one page as the printer reads it: 55 bytes of fields, big-endian
// numbers, then textLength bytes of text.
void appendPageRecord(QByteArray &out, const PageRecord &page);

// Builds one data frame: header, the pages from record index `skip` on that
// are checked and have text, and 'E'. The frame ends when fewer than 100
// bytes are left, when the next record would not fit with its closing 'E'
// (that record then opens the next segment), or at the end of the chain.
DataFrame buildDataFrame(const PageChain &chain, const PageRecord *first, int skip, const JobSettings &job,
                         std::uint8_t density, bool extendedFrame);

// Whether a page goes to the printer at all.
inline bool isPrintable(const PageRecord &page) { return page.selected == 1 && page.textLength > 0; }

} // namespace vt
