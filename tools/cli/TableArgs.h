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

// Removes --sheet, --header, --line1, --line2, --repeat, --separator,
// --split and --force (with their values) from `args`. False, with `error` set, for a
// value missing or not allowed.
bool takeTableArgs(QStringList &args, TableArgs &out, QString &error);

extern const char kTableHelp[];

} // namespace vt::cli
