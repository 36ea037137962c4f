#pragma once

#include "model/JobSettings.h"
#include "model/PageChain.h"
#include "model/PageTableModel.h"

#include <QObject>

namespace vt {

// One label job: its settings, its pages in the printer's form and the page
// table's cells, kept row for record. Owned by the main window (or by the
// command-line tool) for the whole run.
class Job : public QObject {
    Q_OBJECT
public:
    explicit Job(QObject *parent = nullptr);

    JobSettings settings;
    PageChain chain;
    PageTableModel model;

    int currentIndex = -1;
    PageRecord *currentPage = nullptr;
    PageRecord *pageCursor = nullptr;

    PageRecord *pageHead() const { return chain.head(); }
    int pageCount() const { return model.rowCount(); }
    int currentPageIndex() const { return currentIndex; }

    // True once the operator changed the job after it was started, opened or
    // saved. Set by the editing commands, cleared by open and save.
    bool modified = false;

    // Makes `index` the current page: the star column, the page numbers and
    // the table's selection follow. Any other index only clears currentIndex.
    void refreshPage(int index);

signals:
    // The table should select and show this row.
    void rowSelected(int row);
};

} // namespace vt
