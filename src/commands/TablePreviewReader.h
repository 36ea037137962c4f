#pragma once

#include "commands/TablePreview.h"

#include <QObject>

#include <atomic>
#include <future>
#include <memory>
#include <vector>

namespace vt {

// Reads the preview of a table file on worker threads, one choice after
// another: a read overtaken by a newer choice, or by the reader's end, is
// stopped and its result dropped, so only the newest choice is ever shown.
// A sheet small enough is kept between reads (TablePreview).
class TablePreviewReader : public QObject {
    Q_OBJECT
public:
    explicit TablePreviewReader(QString path, QObject *parent = nullptr);
    // Stops the reads under way and waits for them: they post to this object.
    ~TablePreviewReader() override;

    // Starts reading with `choice`; ready() follows unless overtaken.
    void read(const TableChoice &choice);
    bool busy() const { return busy_; }

signals:
    // On the thread this object lives on.
    void ready(const TablePreview &preview);

private:
    QString path_;
    bool busy_ = false;
    std::shared_ptr<const SheetRows> kept_;
    std::shared_ptr<std::atomic_bool> stop_;
    std::vector<std::future<void>> workers_;
};

} // namespace vt
