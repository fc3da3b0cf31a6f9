#pragma once

#include <QThread>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Runs work(i) for i = 0 .. count - 1 on `workers` threads and hands each result to
// deliver(i, result) on the calling thread, in index order. Work starts in index order and
// runs at most a few results ahead of the one being handed on, so the results waiting never
// grow with count. It stops when deliver returns false or *cancel becomes true: nothing more
// is started, what had started is finished and handed on, so the results handed on are always
// the first ones. Returns how many were handed on.
template<typename Result, typename Work, typename Deliver>
int runInOrder(int count, Work work, Deliver deliver, int workers = QThread::idealThreadCount(),
               const std::atomic<bool> *cancel = nullptr)
{
    workers = std::clamp(workers, 1, std::max(1, count));
    const int window = workers * 4;
    std::vector<std::optional<Result>> ready(static_cast<std::size_t>(window));
    std::mutex mutex;
    std::condition_variable changed;
    int started = 0, handed = 0;
    bool refused = false; // deliver said stop
    // Read under the lock only: once true, no worker starts anything after that.
    auto stopped = [&] { return refused || (cancel && cancel->load()); };

    auto worker = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopped() || started >= count || started < handed + window; });
            if (stopped() || started >= count)
                break;
            const int index = started++;
            lock.unlock();
            Result result = work(index);
            lock.lock();
            ready[std::size_t(index % window)] = std::move(result);
            // Only the result waited for wakes anyone: the caller hands on in order.
            if (index == handed)
                changed.notify_all();
        }
        changed.notify_all(); // the caller may wait for work that will never start
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i)
        threads.emplace_back(worker);

    std::unique_lock<std::mutex> lock(mutex);
    while (handed < count) {
        std::optional<Result> &slot = ready[std::size_t(handed % window)];
        changed.wait(lock, [&] { return slot.has_value() || (stopped() && handed >= started); });
        if (!slot)
            break;
        Result result = std::move(*slot);
        slot.reset();
        lock.unlock();
        const bool goOn = deliver(handed, result);
        lock.lock();
        ++handed;
        refused = refused || !goOn;
        changed.notify_all();
    }
    refused = true;
    changed.notify_all();
    lock.unlock();
    for (std::thread &thread : threads)
        thread.join();
    return handed;
}
