#pragma once

#include <atomic>
#include <functional>

#include <QObject>

class QThread;

namespace veltrano {

// One piece of work at a time on a thread of its own, for the exploration dialogs: the work polls
// `stopRequested` between its steps and hands what it found to `post`, which runs it on this object's
// (the GUI) thread, in order, while this object lives. `finished` comes after everything the work
// posted. Destroying the job asks the work to stop and waits for it, so nothing runs on after the
// window that started it.
class WorkerJob : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(WorkerJob& job)>;

    explicit WorkerJob(QObject* parent = nullptr);
    ~WorkerJob() override;

    // Starts `work` on a new thread; false (and nothing starts) while earlier work still runs.
    bool start(Work work);
    bool running() const { return thread_ != nullptr; }
    // Asks the work to stop at its next step; what it posted so far still arrives, then `finished`.
    void requestStop() { stop_ = true; }
    // Asks the work to stop and waits until it has; nothing it posted arrives any more.
    void stop();

    // Called by the work.
    bool stopRequested() const { return stop_.load(); }
    void post(std::function<void()> onGuiThread);

signals:
    void finished();

private:
    void ended();

    QThread* thread_ = nullptr;
    std::atomic<bool> stop_{false};
};

}  // namespace veltrano
