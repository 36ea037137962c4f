#include "TableArgs.h"
#include "CliText.h"

namespace vt::cli {

const char kTableHelp[] = QT_TRANSLATE_NOOP(
    "vt350-cli",
    "  table files: convert and show also read .xlsx, .ods and .xls workbooks\n"
    "  and .tsv/.txt (or, with any of these options, .csv) delimited text:\n"
    "    --sheet NAME|N   the sheet by name or by number from 1 (default 1)\n"
    "    --header         the first row holds column names\n"
    "    --line1 T --line2 T --repeat T\n"
    "                     a column by letter (A) or header name (Source), or a\n"
    "                     template such as {Source}-{Pin}; defaults A, B, C; an\n"
    "                     empty repeat means 1\n"
    "    --separator C    ',', ';' or 'tab' (default: found from the first lines)\n"
    "    --split          (convert) write OUT-1.vtd, OUT-2.vtd, ... with at most\n"
    "                     200 pages each instead of leaving rows out; refused,\n"
    "                     naming them, when any of those files exist\n"
    "    --force          (with --split) replace those files\n");

bool takeTableArgs(QStringList &args, TableArgs &out, QString &error)
{
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool takesValue = arg == QStringLiteral("--sheet") || arg == QStringLiteral("--line1")
                                || arg == QStringLiteral("--line2") || arg == QStringLiteral("--repeat")
                                || arg == QStringLiteral("--separator");
        if (arg == QStringLiteral("--header")) {
            out.choice.header = out.given = true;
        } else if (arg == QStringLiteral("--split")) {
            out.split = out.given = true;
        } else if (arg == QStringLiteral("--force")) {
            out.force = true;
        } else if (takesValue) {
            if (i + 1 >= args.size()) {
                error = QCoreApplication::translate("vt350-cli", "%1 needs a value").arg(arg);
                return false;
            }
            const QString value = args[++i];
            out.given = true;
            if (arg == QStringLiteral("--sheet")) {
                out.choice.sheetName = value;
            } else if (arg == QStringLiteral("--line1")) {
                out.choice.line1 = value;
            } else if (arg == QStringLiteral("--line2")) {
                out.choice.line2 = value;
            } else if (arg == QStringLiteral("--repeat")) {
                out.choice.repeat = value;
            } else if (value == QStringLiteral(",") || value == QStringLiteral(";")) {
                out.choice.options.separator = value.at(0).toLatin1();
            } else if (value == QStringLiteral("tab") || value == QStringLiteral("\t")) {
                out.choice.options.separator = '\t';
            } else {
                error = QCoreApplication::translate("vt350-cli", "--separator takes ',', ';' or 'tab', not '%1'")
                            .arg(value);
                return false;
            }
        } else {
            rest << arg;
        }
    }
    args = rest;
    return true;
}

} // namespace vt::cli
