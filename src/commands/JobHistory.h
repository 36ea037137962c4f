#pragma once

#include "model/Job.h"

#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace vt {

class Operator;

// Everything of a job that the operator can change: its settings, its pages
// and the table's cells and check boxes. Which page is current is kept to
// be put back, but choosing a page is not a change.
struct JobSnapshot {
    struct Row {
        bool checked = true;
        std::array<QString, ColumnCount> cells;
    };
    JobSettings settings;
    std::vector<PageRecord> pages;
    std::vector<Row> rows;
    int headerCheckState = 2;
    int currentIndex = -1;
    int currentColumn = 0;

    static JobSnapshot of(const Job &job);
    bool sameContent(const JobSnapshot &other) const;
};

// Undo and redo over whole-job snapshots, one step per operator action, and
// the job's unsaved-changes state measured against the snapshot last saved
// or opened. The window calls record() once each action has settled.
class JobHistory {
public:
    explicit JobHistory(Job &job, std::size_t depth = 100);

    // Takes the job as it is now; a change since the last call becomes one
    // undo step. Sets job.modified: whether the job differs from the saved one.
    void record();
    // The job as it is now is the one on disk (after Save or Open).
    void markSaved();
    // Starts over: the job as it is now, nothing to undo, saved.
    void reset();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // Puts the job back one step; the caller shows the job's settings again.
    bool undo();
    bool redo();

private:
    struct Entry {
        JobSnapshot snapshot;
        std::uint64_t id = 0;
    };
    Entry take();
    void restore(const Entry &entry);
    void updateModified();

    Job &job_;
    std::size_t depth_;
    std::uint64_t nextId_ = 1;
    Entry current_;
    std::uint64_t savedId_ = 0;
    std::deque<Entry> undo_;
    std::vector<Entry> redo_;
};

// Shows the job-wide settings in the window's lists, as Open does: selected
// from code, so the lists' rules do not run. The density list holds 1 to 6;
// a density it cannot show selects `unlistedDensityEntry` (none for Open).
void showJobSettings(Operator &op, const JobSettings &settings, int unlistedDensityEntry = -1);

} // namespace vt
