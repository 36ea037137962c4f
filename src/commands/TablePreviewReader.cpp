#include "commands/TablePreviewReader.h"

#include <chrono>

namespace vt {

TablePreviewReader::TablePreviewReader(QString path, QObject *parent) : QObject(parent), path_(std::move(path)) {}

TablePreviewReader::~TablePreviewReader()
{
    if (stop_)
        stop_->store(true);
    for (std::future<void> &worker : workers_)
        worker.wait();
}

void TablePreviewReader::read(const TableChoice &choice)
{
    if (stop_)
        stop_->store(true);
    stop_ = std::make_shared<std::atomic_bool>(false);
    std::erase_if(workers_, [](const std::future<void> &worker) {
        return worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    busy_ = true;
    workers_.push_back(std::async(std::launch::async, [this, path = path_, choice, kept = kept_, stop = stop_] {
        TablePreview preview = readTablePreview(path, choice, kept, *stop);
        if (stop->load())
            return;
        // Queued to this object's thread; the destructor waits for this task,
        // so the object is still there to take the call.
        QMetaObject::invokeMethod(
            this,
            [this, stop, preview = std::move(preview)] {
                if (stop != stop_)
                    return;
                busy_ = false;
                kept_ = preview.rows;
                emit ready(preview);
            },
            Qt::QueuedConnection);
    }));
}

} // namespace vt
