#include "commands/ImportProfiles.h"

#include "files/AtomicWrite.h"
#include "files/Config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace vt {

namespace {

QString separatorText(const std::optional<char> &separator)
{
    if (!separator)
        return {};
    return *separator == '\t' ? QStringLiteral("tab") : QString(QLatin1Char(*separator));
}

std::optional<char> separatorOf(const QString &text)
{
    if (text == QStringLiteral("tab"))
        return '\t';
    if (text == QStringLiteral(",") || text == QStringLiteral(";"))
        return text.at(0).toLatin1();
    return std::nullopt;
}

} // namespace

QString ImportProfiles::path() { return QDir(configDirectory()).filePath(QStringLiteral("ImportProfiles.json")); }

QJsonObject ImportProfiles::toJson(const ImportProfile &profile)
{
    const TableChoice &c = profile.choice;
    QJsonObject o{
        {QStringLiteral("name"), profile.name},
        {QStringLiteral("sheet"), c.sheetName},
        {QStringLiteral("header"), c.header},
        {QStringLiteral("line1"), c.line1},
        {QStringLiteral("line2"), c.line2},
        {QStringLiteral("repeat"), c.repeat},
        {QStringLiteral("ends"), c.ends == TableChoice::Ends::Each ? QStringLiteral("each") : QStringLiteral("one")},
        {QStringLiteral("farLine1"), c.farLine1},
        {QStringLiteral("farLine2"), c.farLine2},
        {QStringLiteral("farRepeat"), c.farRepeat},
        {QStringLiteral("order"), c.order == TableChoice::Order::ByEnd ? QStringLiteral("end") : QStringLiteral("wire")},
        {QStringLiteral("merge"), c.merge},
        {QStringLiteral("sort"), c.sort == TableChoice::Sort::Natural ? QStringLiteral("natural") : QStringLiteral("sheet")},
        {QStringLiteral("split"), c.split},
    };
    if (c.options.separator)
        o.insert(QStringLiteral("separator"), separatorText(c.options.separator));
    return o;
}

ImportProfile ImportProfiles::fromJson(const QJsonObject &o)
{
    ImportProfile p;
    TableChoice &c = p.choice;
    const auto text = [&o](const char *key, QString &into) {
        if (const QJsonValue v = o.value(QLatin1String(key)); v.isString())
            into = v.toString();
    };
    const auto flag = [&o](const char *key, bool &into) {
        if (const QJsonValue v = o.value(QLatin1String(key)); v.isBool())
            into = v.toBool();
    };
    text("name", p.name);
    text("sheet", c.sheetName);
    // A profile is made for the sheet of that name; another workbook opens on its first.
    c.sheetNameOrFirst = true;
    flag("header", c.header);
    text("line1", c.line1);
    text("line2", c.line2);
    text("repeat", c.repeat);
    text("farLine1", c.farLine1);
    text("farLine2", c.farLine2);
    text("farRepeat", c.farRepeat);
    flag("merge", c.merge);
    flag("split", c.split);
    const QString ends = o.value(QStringLiteral("ends")).toString();
    c.ends = ends == QStringLiteral("each") ? TableChoice::Ends::Each : TableChoice::Ends::One;
    const QString order = o.value(QStringLiteral("order")).toString();
    c.order = order == QStringLiteral("end") ? TableChoice::Order::ByEnd : TableChoice::Order::ByWire;
    const QString sort = o.value(QStringLiteral("sort")).toString();
    c.sort = sort == QStringLiteral("natural") ? TableChoice::Sort::Natural : TableChoice::Sort::AsInSheet;
    c.options.separator = separatorOf(o.value(QStringLiteral("separator")).toString());
    return p;
}

std::vector<ImportProfile> ImportProfiles::load(QString *problem)
{
    std::vector<ImportProfile> profiles;
    QFile file(path());
    if (!file.exists())
        return profiles;
    const auto fail = [&](const QString &why) {
        if (problem)
            *problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file.fileName()), why);
        return std::vector<ImportProfile>();
    };
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.read(4 * 1024 * 1024), &error);
    if (error.error != QJsonParseError::NoError)
        return fail(QCoreApplication::translate("vt::ImportProfiles", "%1 at byte %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject() || !document.object().value(QStringLiteral("profiles")).isArray())
        return fail(QCoreApplication::translate("vt::ImportProfiles", "it has no \"profiles\" list"));
    for (const QJsonValue &v : document.object().value(QStringLiteral("profiles")).toArray()) {
        ImportProfile p = fromJson(v.toObject());
        if (!p.name.trimmed().isEmpty())
            profiles.push_back(std::move(p));
    }
    return profiles;
}

std::optional<ImportProfile> ImportProfiles::find(const QString &name, QString *problem)
{
    for (ImportProfile &p : load(problem))
        if (p.name == name)
            return std::move(p);
    return std::nullopt;
}

bool ImportProfiles::save(const ImportProfile &profile, QString *problem)
{
    QString loadProblem;
    std::vector<ImportProfile> profiles = load(&loadProblem);
    if (!loadProblem.isEmpty()) {
        // Writing over a file that could not be read would lose its profiles.
        if (problem)
            *problem = loadProblem;
        return false;
    }
    bool replaced = false;
    for (ImportProfile &p : profiles)
        if (p.name == profile.name) {
            p = profile;
            replaced = true;
        }
    if (!replaced)
        profiles.push_back(profile);
    QJsonArray list;
    for (const ImportProfile &p : profiles)
        list.append(toJson(p));
    QDir().mkpath(configDirectory());
    const QByteArray bytes = QJsonDocument(QJsonObject{{QStringLiteral("profiles"), list}}).toJson(QJsonDocument::Indented);
    QString error;
    if (writeFileAtomically(path(), bytes, &error))
        return true;
    if (problem)
        *problem = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path()), error);
    return false;
}

} // namespace vt
