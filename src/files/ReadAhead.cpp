#include "files/ReadAhead.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <vector>

namespace vt {

namespace {

constexpr std::size_t kBatchRows = 256;
constexpr std::size_t kBatchesAhead = 8;

using Batch = std::vector<TableRow>;

class BatchQueue {
public:
    // False once the taker wants no more.
    bool put(Batch &&batch)
    {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [this] { return batches_.size() < kBatchesAhead || closed_; });
        if (closed_)
            return false;
        batches_.push_back(std::move(batch));
        ready_.notify_one();
        return true;
    }
    // The reader has ended.
    void finish()
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        ready_.notify_one();
    }
    // False when the reader has ended and every batch was taken.
    bool take(Batch &batch)
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !batches_.empty() || finished_; });
        if (batches_.empty())
            return false;
        batch = std::move(batches_.front());
        batches_.pop_front();
        room_.notify_one();
        return true;
    }
    // The taker wants no more: the reader stops at its next batch.
    void close()
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        room_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable room_, ready_;
    std::deque<Batch> batches_;
    bool finished_ = false;
    bool closed_ = false;
};

} // namespace

bool readSheetAhead(TableReader &reader, int index, const RowSink &sink)
{
    BatchQueue queue;
    // Declared after the queue: its destructor waits for the thread, before the queue goes.
    std::future<bool> reading = std::async(std::launch::async, [&reader, &queue, index] {
        struct Finish {
            BatchQueue &queue;
            ~Finish() { queue.finish(); }
        } finish{queue};
        Batch batch;
        batch.reserve(kBatchRows);
        const bool read = reader.readSheet(index, [&](const TableRow &row) {
            batch.push_back(row);
            if (batch.size() < kBatchRows)
                return true;
            const bool more = queue.put(std::move(batch));
            batch = Batch();
            batch.reserve(kBatchRows);
            return more;
        });
        if (!batch.empty()) // also the rows before a fault, as readSheet() gives them
            queue.put(std::move(batch));
        return read;
    });
    bool taking = true;
    {
        struct Close {
            BatchQueue &queue;
            ~Close() { queue.close(); } // also when the sink throws
        } close{queue};
        Batch batch;
        while (taking && queue.take(batch))
            for (const TableRow &row : batch)
                if (!(taking = sink(row)))
                    break;
    }
    const bool read = reading.get();
    return read || !taking;
}

} // namespace vt
