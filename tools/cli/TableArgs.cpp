#include "TableArgs.h"
#include "CliText.h"

#include "commands/ImportProfiles.h"

#include <QDir>

#include <algorithm>
#include <utility>
#include <vector>

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
    "    --ends one|each  one mark per row (default), or one for each end of\n"
    "                     the wire, the far end's from --far-line1 T,\n"
    "                     --far-line2 T and --far-repeat T (defaults B, A, and\n"
    "                     the repeat)\n"
    "    --order wire|end both ends of a row together (default), or all near\n"
    "                     ends, then all far ends\n"
    "    --merge          pages of the same two lines become one, their\n"
    "                     repeats added (over 100: pages of 100 and the rest)\n"
    "    --sort sheet|natural\n"
    "                     the sheet's order (default), or -X1:2 before -X1:10,\n"
    "                     text in the order of the system's language\n"
    "    --profile NAME   the choice saved under NAME (in the window or with\n"
    "                     --save-profile); options given here change it\n"
    "    --save-profile NAME\n"
    "                     keep this choice under NAME for later runs\n"
    "    --separator C    ',', ';' or 'tab' (default: found from the first lines)\n"
    "    --split          (convert) write OUT-1.vtd, OUT-2.vtd, ... with at most\n"
    "                     200 pages each instead of leaving rows out; refused,\n"
    "                     naming them, when any of those files exist\n"
    "    --force          (with --split) replace those files\n");

namespace {

bool oneOf(const QString &option, const QString &value, const QStringList &allowed, QString &error)
{
    if (allowed.contains(value))
        return true;
    error = QCoreApplication::translate("vt350-cli", "%1 takes %2, not '%3'").arg(option, allowed.join(QStringLiteral(" | ")), value);
    return false;
}

bool apply(const QString &arg, const QString &value, TableChoice &c, QString &error)
{
    if (arg == QStringLiteral("--sheet")) {
        c.sheetName = value;
        c.sheetNameOrFirst = false;
    } else if (arg == QStringLiteral("--line1")) {
        c.line1 = value;
    } else if (arg == QStringLiteral("--line2")) {
        c.line2 = value;
    } else if (arg == QStringLiteral("--repeat")) {
        c.repeat = value;
    } else if (arg == QStringLiteral("--far-line1")) {
        c.farLine1 = value;
    } else if (arg == QStringLiteral("--far-line2")) {
        c.farLine2 = value;
    } else if (arg == QStringLiteral("--far-repeat")) {
        c.farRepeat = value;
    } else if (arg == QStringLiteral("--ends")) {
        if (!oneOf(arg, value, {QStringLiteral("one"), QStringLiteral("each")}, error))
            return false;
        c.ends = value == QStringLiteral("each") ? TableChoice::Ends::Each : TableChoice::Ends::One;
    } else if (arg == QStringLiteral("--order")) {
        if (!oneOf(arg, value, {QStringLiteral("wire"), QStringLiteral("end")}, error))
            return false;
        c.order = value == QStringLiteral("end") ? TableChoice::Order::ByEnd : TableChoice::Order::ByWire;
    } else if (arg == QStringLiteral("--sort")) {
        if (!oneOf(arg, value, {QStringLiteral("sheet"), QStringLiteral("natural")}, error))
            return false;
        c.sort = value == QStringLiteral("natural") ? TableChoice::Sort::Natural : TableChoice::Sort::AsInSheet;
    } else if (value == QStringLiteral(",") || value == QStringLiteral(";")) { // --separator
        c.options.separator = value.at(0).toLatin1();
    } else if (value == QStringLiteral("tab") || value == QStringLiteral("\t")) {
        c.options.separator = '\t';
    } else {
        error = QCoreApplication::translate("vt350-cli", "--separator takes ',', ';' or 'tab', not '%1'").arg(value);
        return false;
    }
    return true;
}

} // namespace

bool takeTableArgs(QStringList &args, TableArgs &out, QString &error)
{
    static const QStringList valued{
        QStringLiteral("--sheet"),     QStringLiteral("--line1"),     QStringLiteral("--line2"),
        QStringLiteral("--repeat"),    QStringLiteral("--separator"), QStringLiteral("--ends"),
        QStringLiteral("--far-line1"), QStringLiteral("--far-line2"), QStringLiteral("--far-repeat"),
        QStringLiteral("--order"),     QStringLiteral("--sort"),      QStringLiteral("--profile"),
        QStringLiteral("--save-profile")};
    QStringList rest;
    std::vector<std::pair<QString, QString>> given;
    QString profile, saveAs;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QStringLiteral("--header") || arg == QStringLiteral("--merge")) {
            given.emplace_back(arg, QString());
        } else if (arg == QStringLiteral("--split")) {
            out.split = out.given = true;
        } else if (arg == QStringLiteral("--force")) {
            out.force = true;
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size()) {
                error = QCoreApplication::translate("vt350-cli", "%1 needs a value").arg(arg);
                return false;
            }
            const QString value = args[++i];
            if (arg == QStringLiteral("--profile"))
                profile = value;
            else if (arg == QStringLiteral("--save-profile"))
                saveAs = value;
            else
                given.emplace_back(arg, value);
        } else {
            rest << arg;
        }
    }
    // The profile first, the options given here over it.
    if (!profile.isEmpty()) {
        QString problem;
        const std::optional<ImportProfile> found = ImportProfiles::find(profile, &problem);
        if (!found) {
            error = problem.isEmpty() ? QCoreApplication::translate("vt350-cli", "there is no import profile \"%1\" (in %2)")
                                            .arg(profile, QDir::toNativeSeparators(ImportProfiles::path()))
                                      : problem;
            return false;
        }
        out.choice = found->choice;
        out.given = true;
    }
    // A wire has as many marks at one end as at the other: the far end's
    // repeat follows --repeat unless given itself.
    const auto named = [&given](const char *option) {
        return std::any_of(given.begin(), given.end(), [option](const auto &g) { return g.first == QLatin1String(option); });
    };
    if (named("--repeat") && !named("--far-repeat"))
        given.emplace_back(QStringLiteral("--far-repeat"),
                           std::find_if(given.rbegin(), given.rend(), [](const auto &g) { return g.first == QStringLiteral("--repeat"); })->second);
    for (const auto &[arg, value] : given) {
        out.given = true;
        if (arg == QStringLiteral("--header"))
            out.choice.header = true;
        else if (arg == QStringLiteral("--merge"))
            out.choice.merge = true;
        else if (!apply(arg, value, out.choice, error))
            return false;
    }
    if (!saveAs.isEmpty()) {
        if (saveAs.trimmed().isEmpty()) {
            error = QCoreApplication::translate("vt350-cli", "--save-profile needs a name");
            return false;
        }
        ImportProfile saved{saveAs, out.choice};
        saved.choice.split = saved.choice.split || out.split;
        QString problem;
        if (!ImportProfiles::save(saved, &problem)) {
            error = QCoreApplication::translate("vt350-cli", "the import profile cannot be saved: %1").arg(problem);
            return false;
        }
        out.given = true;
    }
    args = rest;
    return true;
}

} // namespace vt::cli
