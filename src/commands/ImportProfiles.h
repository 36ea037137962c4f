#pragma once

#include "commands/TableImport.h"

#include <QJsonObject>

#include <vector>

namespace vt {

// A whole Import Table choice kept under a name, for the wire lists of one
// design tool. Kept in ImportProfiles.json in the configuration folder: a
// JSON object {"profiles": [{"name": ..., "sheet": ..., "header": ...,
// "line1": ..., "line2": ..., "repeat": ..., "ends": "one"|"each",
// "farLine1": ..., "farLine2": ..., "farRepeat": ..., "order": "wire"|"end",
// "merge": ..., "sort": "sheet"|"natural", "split": ..., "separator": ...}]},
// written by this program and readable by anyone. A key left out keeps the
// default choice's value.
struct ImportProfile {
    QString name;
    TableChoice choice;
};

class ImportProfiles {
public:
    static QString path();
    // The profiles in the order saved; none when there is no file yet. A file
    // that cannot be read gives none and says why in `problem`.
    static std::vector<ImportProfile> load(QString *problem = nullptr);
    static std::optional<ImportProfile> find(const QString &name, QString *problem = nullptr);
    // Adds the profile, or replaces the one of its name. False, with
    // `problem`, when the file cannot be written (the old one is kept).
    static bool save(const ImportProfile &profile, QString *problem = nullptr);

    static QJsonObject toJson(const ImportProfile &profile);
    static ImportProfile fromJson(const QJsonObject &object);
};

} // namespace vt
