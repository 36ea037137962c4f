#pragma once

#include "commands/TableImport.h"

#include <QStringList>

namespace vt::cli {

// The table options of convert and show, taken out of the arguments.
struct TableArgs {
    bool given = false; // any table option at all
    bool split = false;
    bool force = false; // --split may replace parts that exist
    TableChoice choice;
};

// Removes the table options (kTableHelp) with their values from `args`: a
// profile named first, the options given over it; --save-profile saves the
// result. False, with `error` set, for a value missing or not allowed, a
// profile not found or one that cannot be saved.
bool takeTableArgs(QStringList &args, TableArgs &out, QString &error);

extern const char kTableHelp[];

} // namespace vt::cli
