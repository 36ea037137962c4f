#include "commands/JobHistory.h"

#include "commands/Operator.h"
#include "commands/PageCommands.h"

namespace vt {

JobSnapshot JobSnapshot::of(const Job &job)
{
    JobSnapshot s;
    s.settings = job.settings;
    s.pages.reserve(static_cast<std::size_t>(job.chain.size()));
    for (int i = 0; i < job.chain.size(); ++i)
        s.pages.push_back(job.chain[i]);
    const PageTableModel &table = job.model;
    s.rows.resize(static_cast<std::size_t>(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row) {
        JobSnapshot::Row &r = s.rows[static_cast<std::size_t>(row)];
        r.checked = table.isChecked(row);
        for (int column = ColCurrent; column < ColumnCount; ++column)
            r.cells[static_cast<std::size_t>(column)] = table.cellText(row, column);
    }
    s.headerCheckState = table.headerCheckState();
    s.currentIndex = job.currentIndex;
    s.currentColumn = table.currentColumn();
    return s;
}

bool JobSnapshot::sameContent(const JobSnapshot &other) const
{
    if (!(settings == other.settings) || pages.size() != other.pages.size() || rows.size() != other.rows.size()
        || headerCheckState != other.headerCheckState)
        return false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        // Which page is current is not content.
        PageRecord a = pages[i], b = other.pages[i];
        a.isCurrent = b.isCurrent = 0;
        if (!(a == b))
            return false;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row &a = rows[i], &b = other.rows[i];
        if (a.checked != b.checked)
            return false;
        // The star and the page number follow the current page and the row.
        for (int column = ColLine1; column < ColumnCount; ++column)
            if (a.cells[static_cast<std::size_t>(column)] != b.cells[static_cast<std::size_t>(column)])
                return false;
    }
    return true;
}

JobHistory::JobHistory(Job &job, std::size_t depth) : job_(job), depth_(depth) { reset(); }

JobHistory::Entry JobHistory::take() { return Entry{JobSnapshot::of(job_), 0}; }

void JobHistory::reset()
{
    undo_.clear();
    redo_.clear();
    current_ = take();
    current_.id = nextId_++;
    savedId_ = current_.id;
    updateModified();
}

void JobHistory::record()
{
    Entry now = take();
    if (!now.snapshot.sameContent(current_.snapshot)) {
        undo_.push_back(std::move(current_));
        if (undo_.size() > depth_)
            undo_.pop_front();
        redo_.clear();
        now.id = nextId_++;
        current_ = std::move(now);
    } else {
        // Same content: keep the step, follow the current page.
        now.id = current_.id;
        current_ = std::move(now);
    }
    updateModified();
}

void JobHistory::markSaved()
{
    record();
    savedId_ = current_.id;
    updateModified();
}

bool JobHistory::undo()
{
    if (undo_.empty())
        return false;
    redo_.push_back(std::move(current_));
    current_ = std::move(undo_.back());
    undo_.pop_back();
    restore(current_);
    return true;
}

bool JobHistory::redo()
{
    if (redo_.empty())
        return false;
    undo_.push_back(std::move(current_));
    current_ = std::move(redo_.back());
    redo_.pop_back();
    restore(current_);
    return true;
}

void JobHistory::restore(const Entry &entry)
{
    const JobSnapshot &s = entry.snapshot;
    job_.settings = s.settings;
    job_.chain.clear();
    PageRecord *last = nullptr;
    for (const PageRecord &page : s.pages) {
        last = job_.chain.insertPageAfter(last, job_.settings);
        *last = page;
    }
    PageTableModel &table = job_.model;
    table.clearRows();
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        const int row = static_cast<int>(i);
        table.insertPageRow(row);
        table.setChecked(row, s.rows[i].checked);
        for (int column = ColCurrent; column < ColumnCount; ++column)
            table.setCellText(row, column, s.rows[i].cells[static_cast<std::size_t>(column)]);
    }
    table.setHeaderCheckState(s.headerCheckState);
    table.setCurrentColumn(s.currentColumn);
    job_.currentIndex = -1;
    job_.currentPage = nullptr;
    job_.pageCursor = nullptr;
    job_.refreshPage(std::min(s.currentIndex, table.rowCount() - 1));
    updateModified();
}

void JobHistory::updateModified() { job_.modified = current_.id != savedId_; }

void showJobSettings(Operator &op, const JobSettings &s, int unlistedDensityEntry)
{
    op.selectListEntry(ControlId::Spacing, s.spacing);
    op.selectListEntry(ControlId::Density, s.density >= 1 && s.density <= 6 ? s.density - 1 : unlistedDensityEntry);
    static const char cutModes[] = {'N', 'C', 'L'};
    for (int entry = 0; entry < 3; ++entry)
        if (s.cutMode == cutModes[entry])
            op.selectListEntry(ControlId::CutSetting, entry);
    op.selectListEntry(ControlId::Arrange, s.alignment);
    op.selectListEntry(ControlId::Material, s.materialIndex);
    if (const QStringList sizes = sizeEntriesFor(s.materialIndex); !sizes.isEmpty())
        op.fillList(ControlId::MaterialParameter, sizes);
    op.selectListEntry(ControlId::MaterialParameter, s.sizeIndex);
}

} // namespace vt
