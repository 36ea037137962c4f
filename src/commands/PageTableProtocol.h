#pragma once

namespace vt {

// Messages between the page table and its owner; the row and the column
// travel with each.
namespace tablemsg {
constexpr unsigned commitCell = 0x464;   // commit this cell's text to the page
constexpr unsigned mayEditCell = 0x465;  // answer 1 to let the cell be edited, 0 to refuse
constexpr unsigned reserved = 0x466;     // never sent
constexpr unsigned rowChosen = 0x467;    // make this row the current page
} // namespace tablemsg

// The window that owns a page table answers its messages.
class PageTableOwner {
public:
    virtual ~PageTableOwner() = default;
    virtual int pageTableMessage(unsigned message, int row, int column) = 0;
};

// Set by the cell editor when an edit ends with Enter; read and cleared by
// the cell commit.
extern bool enterPressed;

} // namespace vt
