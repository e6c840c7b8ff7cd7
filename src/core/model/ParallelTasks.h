#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace veltrano {

// The threads a model operation may spread its own independent tables over: the machine's, or only
// the calling thread, for a caller that already runs whole operations side by side (one thread budget
// for the process).
enum class InnerThreads { Machine, CallingThread };

// Runs `count` independent, pure computations on worker threads; the calling thread takes part while it
// waits. Tasks get their index and the index of the thread that runs them (0 = the calling thread,
// below `threadCount()`), so that each thread can keep its own scratch space. Errors and progress are
// never reported from a task: the caller does that after `wait`, in task order.
class ParallelTasks {
public:
    using Task = std::function<void(int task, int thread)>;

    ParallelTasks(int count, Task task, InnerThreads threads = InnerThreads::Machine);
    ~ParallelTasks();
    ParallelTasks(const ParallelTasks&) = delete;
    ParallelTasks& operator=(const ParallelTasks&) = delete;

    // Blocks until task i has run; rethrows what it threw.
    void wait(int i);
    void waitAll();
    int threadCount() const { return static_cast<int>(workers_.size()) + 1; }

    // The threads used for `count` tasks: one per processor the process may use (just the calling thread for
    // InnerThreads::CallingThread), never more than there are tasks.
    static int threadsFor(int count, InnerThreads threads = InnerThreads::Machine);

private:
    bool runNext(int thread);
    void finish(int i, std::exception_ptr error);

    int count_;
    Task task_;
    std::atomic<int> next_{0};
    std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<char> done_;
    std::vector<std::exception_ptr> errors_;
    std::vector<std::thread> workers_;
};

}  // namespace veltrano
