#pragma once

#include "document/Job.h"
#include "document/Operator.h"

namespace vt {

// The commands that add, delete and mark pages.
class PageCommands {
public:
    PageCommands(Job &job, Operator &op) : job_(job), op_(op) {}

    // Adds a page after the current one (or the first page of an empty job).
    // Returns false, after telling the operator, when the job is full.
    bool add();

private:
    Job &job_;
    Operator &op_;
};

// Cell texts of the page settings, as the table shows them.
QString frameText(char frame);
QString directionText(const AsciiField<2> &direction);
QString zoomText(bool halfZoom);

} // namespace vt
