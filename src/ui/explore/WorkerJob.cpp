#include "ui/explore/WorkerJob.h"

#ifdef __MINGW32__
#include <float.h>
#endif

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace veltrano {

WorkerJob::WorkerJob(QObject* parent) : QObject(parent) {}

WorkerJob::~WorkerJob() {
    stop();
}

bool WorkerJob::start(Work work) {
    if (thread_) return false;
    stop_ = false;
    thread_ = QThread::create([this, work = std::move(work)] {
#ifdef __MINGW32__
        // MinGW's pow uses the x87 unit, whose precision a thread Windows starts sets to 53 bits while
        // the runtime gives the main thread 64: without this reset the work's results would differ in
        // their last bits from the same calculation on the main thread (OK against its preview).
        _fpreset();
#endif
        work(*this);
    });
    // The thread's end reaches this object after whatever the work posted before it.
    connect(thread_, &QThread::finished, this, &WorkerJob::ended, Qt::QueuedConnection);
    thread_->start();
    return true;
}

void WorkerJob::stop() {
    if (!thread_) return;
    stop_ = true;
    thread_->wait();
    // What the stopped work posted is of no use to anyone now.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    delete thread_;
    thread_ = nullptr;
}

void WorkerJob::post(std::function<void()> onGuiThread) {
    QMetaObject::invokeMethod(this, std::move(onGuiThread), Qt::QueuedConnection);
}

void WorkerJob::ended() {
    if (!thread_) return;  // stopped and waited for already
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished();
}

}  // namespace veltrano
