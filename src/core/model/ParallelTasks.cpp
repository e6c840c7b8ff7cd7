#include "core/model/ParallelTasks.h"

#include <algorithm>
#include <system_error>

#ifdef __linux__
#include <sched.h>
#endif

namespace veltrano {

namespace {

// The processors this process may run on (a scheduler's or taskset's share, else the machine's), as it
// started: taken once, so that every caller sizing scratch space by threadsFor sees the same count.
int availableProcessors() {
    static const int processors = [] {
#ifdef __linux__
        cpu_set_t set;
        if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
#endif
        return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    }();
    return processors;
}

}  // namespace

int ParallelTasks::threadsFor(int count, InnerThreads threads) {
    if (threads == InnerThreads::CallingThread) return 1;
    const int hardware = availableProcessors();
    return std::max(1, std::min(hardware, count));
}

ParallelTasks::ParallelTasks(int count, Task task, InnerThreads threads)
    : count_(std::max(0, count)),
      task_(std::move(task)),
      done_(static_cast<std::size_t>(count_), 0),
      errors_(static_cast<std::size_t>(count_)) {
    const int extra = threadsFor(count_, threads) - 1;
    for (int t = 1; t <= extra; ++t) {
        try {
            workers_.emplace_back([this, t] {
                while (runNext(t)) {
                }
            });
        } catch (const std::system_error&) {
            break;  // no more threads: the calling thread runs what is left
        }
    }
}

ParallelTasks::~ParallelTasks() {
    next_ = count_;  // leave the tasks nobody has started
    for (std::thread& worker : workers_) worker.join();
}

bool ParallelTasks::runNext(int thread) {
    const int i = next_.fetch_add(1);
    if (i >= count_) return false;
    std::exception_ptr error;
    try {
        task_(i, thread);
    } catch (...) {
        error = std::current_exception();
    }
    finish(i, error);
    return true;
}

void ParallelTasks::finish(int i, std::exception_ptr error) {
    {
        std::lock_guard lock(mutex_);
        done_[static_cast<std::size_t>(i)] = 1;
        errors_[static_cast<std::size_t>(i)] = std::move(error);
    }
    finished_.notify_all();
}

void ParallelTasks::wait(int i) {
    const auto slot = static_cast<std::size_t>(i);
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (done_[slot]) break;
        }
        if (runNext(0)) continue;
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return done_[slot] != 0; });
        break;
    }
    std::exception_ptr error;
    {
        std::lock_guard lock(mutex_);
        error = errors_[slot];
    }
    if (error) std::rethrow_exception(error);
}

void ParallelTasks::waitAll() {
    for (int i = 0; i < count_; ++i) wait(i);
}

}  // namespace veltrano
