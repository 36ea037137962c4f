#pragma once

#include "commands/Operator.h"
#include "model/Job.h"

#include <QList>

namespace vt {

// Rows whose two texts make more than 100 bytes as the page build stores
// them (for print or for a file); with `checkedOnly` only checked rows.
QList<int> overlongRows(const Job &job, bool forPrint, bool checkedOnly);

enum class TextUse { Save, Print };

// Before a save or a print: a text refused for its length or its characters
// still stands in its cell, and the page build would keep only its first 100
// bytes, or print "?" for what code page 936 lacks. Names those pages and
// asks; true when there are none or the operator goes on.
bool mayCutOverlongPages(const Job &job, Operator &op, TextUse use);

} // namespace vt
