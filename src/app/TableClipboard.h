#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace vt {

class ClipboardCommands;
class PageTable;

// Ctrl+C and Ctrl+V on the page table while no cell is being edited: the
// checked (or the selected) rows to the clipboard as tab-separated cells,
// and rows from it as new pages after the current one.
class TableClipboard : public QObject {
    Q_OBJECT
public:
    TableClipboard(PageTable *table, std::unique_ptr<ClipboardCommands> commands, std::function<bool()> mayChangeJob);
    ~TableClipboard() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void copy();
    void paste();

    PageTable *table_;
    std::unique_ptr<ClipboardCommands> commands_;
    std::function<bool()> mayChangeJob_;
};

} // namespace vt
