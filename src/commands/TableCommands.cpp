#include "commands/TableCommands.h"

#include "commands/OffThread.h"
#include "commands/PageCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <climits>

namespace vt {

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

// Messages of the parts' own commands would be noise: the split reports once.
class QuietOperator : public Operator {
public:
    QuietOperator() = default;
    Answer showMessage(const Message &message) override
    {
        problems << message.text;
        return message.buttons == MessageButtons::YesNo || message.buttons == MessageButtons::YesNoCancel ? Answer::Yes
                                                                                                           : Answer::Ok;
    }
    QString askOpenFileName(const QString &, const QString &) override { return {}; }
    QString askSaveFileName(const QString &, const QString &) override { return {}; }
    void fillList(ControlId, const QStringList &) override {}
    void selectListEntry(ControlId, int) override {}
    int listSelection(ControlId) const override { return -1; }
    void enableControl(ControlId, bool) override {}
    bool isControlChecked(ControlId) const override { return false; }
    void setControlChecked(ControlId, bool) override {}
    std::optional<int> readEdit(ControlId) const override { return std::nullopt; }
    void setEdit(ControlId, int) override {}
    void setEditText(ControlId, const QString &) override {}
    std::optional<NumberChoice> askNumbering(const NumberChoice &) override { return std::nullopt; }

    QStringList problems;
};

} // namespace

QString cannotImportText(const QString &path, const QString &why)
{
    return QCoreApplication::translate("vt::TableCommands", "Can not import %1: %2; the job is unchanged.")
        .arg(shown(path), why);
}

QString TableCommands::splitPartName(const QString &name, int part)
{
    QString base = name;
    if (base.endsWith(QStringLiteral(".vtd"), Qt::CaseInsensitive))
        base.chop(4);
    return QStringLiteral("%1-%2.vtd").arg(base).arg(part);
}

bool TableCommands::usable(const QString &path, const TableContent &content)
{
    QString why = content.problem;
    if (why.isEmpty() && content.pages.empty()) {
        const QString sheet = content.sheet < content.sheets.size() ? content.sheets[content.sheet] : QString();
        why = sheet.isEmpty() ? tr("it holds no row that can become a page")
                              : tr("sheet \"%1\" holds no row that can become a page").arg(sheet);
    }
    if (why.isEmpty())
        return true;
    Message message{cannotImportText(path, why)};
    message.details = describeRefusals(content);
    op_.showMessage(message);
    return false;
}

void TableCommands::reportRefusals(const QString &path, const TableContent &content)
{
    const QString summary = refusalSummary(content, shown(path));
    if (summary.isEmpty())
        return;
    Message message{summary};
    message.details = describeRefusals(content);
    op_.showMessage(message);
}

bool TableCommands::importTable(const QString &path, const TableChoice &choice)
{
    const TableContent content = runOffThread([&] { return readTable(path, choice, kMaxPages); });
    return importContent(path, content);
}

bool TableCommands::importContent(const QString &path, const TableContent &content)
{
    if (!usable(path, content))
        return false;
    documents_.replacePages(content.pages, path);
    lastOrigins_ = content.pageOrigins;
    reportRefusals(path, content);
    return true;
}

bool TableCommands::askToReplace(const QStringList &existing)
{
    Message question{QString(), promptCaption(), MessageIcon::None, MessageButtons::YesNo};
    if (existing.size() == 1) {
        // As Save asks about one file.
        question.text = QCoreApplication::translate("vt::DocumentCommands",
                                                    "%1 already exists.\nDo you want to replace it?")
                            .arg(shown(existing.front()));
    } else {
        QStringList names;
        for (const QString &part : existing)
            names << QFileInfo(part).fileName();
        question.text = tr("%1 files of this split already exist in %2: %3.\nDo you want to replace them?")
                            .arg(existing.size())
                            .arg(shown(QFileInfo(existing.front()).absolutePath()), names.join(QStringLiteral(", ")));
    }
    return op_.showMessage(question) == Answer::Yes;
}

bool TableCommands::splitTable(const QString &path, const TableChoice &choice, const QString &name,
                               QStringList *written, const MayReplace &mayReplace)
{
    TableContent content = runOffThread([&] { return readTable(path, choice, LLONG_MAX); });
    if (!usable(path, content))
        return false;
    // Asked once, before the first part is written: an earlier split of the
    // same name is not to go quietly, nor to be half replaced.
    const int parts = static_cast<int>((content.pages.size() + kMaxPages - 1) / kMaxPages);
    QStringList existing;
    for (int part = 1; part <= parts; ++part)
        if (const QString target = splitPartName(name, part); QFileInfo::exists(target))
            existing << target;
    if (!existing.isEmpty() && !(mayReplace ? mayReplace(existing) : askToReplace(existing)))
        return false;
    // Each part is made as Import makes a job, on a job of its own with the
    // settings of this one, and saved as Save writes it.
    QuietOperator quiet;
    const std::size_t total = content.pages.size();
    int part = 0;
    for (std::size_t first = 0; first < total; first += kMaxPages) {
        Job job;
        job.settings = job_.settings;
        PageCommands pages(job, quiet);
        DocumentCommands documents(job, quiet, pages);
        const std::size_t last = std::min(total, first + kMaxPages);
        const std::vector<ImportedPage> chunk(content.pages.begin() + static_cast<std::ptrdiff_t>(first),
                                              content.pages.begin() + static_cast<std::ptrdiff_t>(last));
        documents.replacePages(chunk, path);
        const QString target = splitPartName(name, ++part);
        if (!documents.saveTo(target)) {
            op_.prompt(quiet.problems.isEmpty() ? tr("Can not save file %1.").arg(shown(target))
                                                : quiet.problems.constLast());
            return false;
        }
        if (written)
            *written << target;
    }
    content.beyondLimit = 0;
    reportRefusals(path, content);
    return true;
}

} // namespace vt
