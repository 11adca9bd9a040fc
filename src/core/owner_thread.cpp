#include "core/owner_thread.h"

#include "core/staged_files.h"

#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

// A step a worker handed over, the staged set the worker has open (the
// step's stored files join it), and whether the owner has run it.
struct HandedStep {
    const std::function<void()> &step;
    CStagedFiles *set = nullptr;
    bool done = false;
};

// The steps waiting for the owner, in the order they were handed over. Its
// lock also orders what a worker wrote before handing a step over with what
// the step reads on the owner, and what the step wrote with what the worker
// reads after it.
struct OwnerQueue {
    std::mutex mutex;
    std::condition_variable changed; // a step was handed over, or was run
    std::deque<HandedStep *> steps;
};

OwnerQueue &Queue()
{
    static OwnerQueue queue;
    return queue;
}

bool IsOwnerThread(const QCoreApplication *app)
{
    return !app || QThread::currentThread() == app->thread();
}

} // namespace

void RunStepOnOwnerThread(const std::function<void()> &step)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (IsOwnerThread(app)) {
        step();
        return;
    }
    OwnerQueue &queue = Queue();
    HandedStep handed{step, CStagedFiles::Open()};
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.steps.push_back(&handed);
    queue.changed.notify_all();
    // Posted under the lock: the owner takes the step only after the
    // wake-up is whole.
    QMetaObject::invokeMethod(app, [] { RunOwnerSteps(); }, Qt::QueuedConnection);
    queue.changed.wait(lock, [&handed] { return handed.done; });
}

void RunOwnerSteps(std::chrono::milliseconds timeout)
{
    if (!IsOwnerThread(QCoreApplication::instance()))
        return;
    OwnerQueue &queue = Queue();
    std::unique_lock<std::mutex> lock(queue.mutex);
    if (queue.steps.empty() && timeout.count() > 0)
        queue.changed.wait_for(lock, timeout, [&queue] { return !queue.steps.empty(); });
    while (!queue.steps.empty()) {
        HandedStep *handed = queue.steps.front();
        queue.steps.pop_front();
        // A step may hand over one of its own, which runs at once here.
        lock.unlock();
        {
            CStagedFilesLoan loan(handed->set);
            handed->step();
        }
        lock.lock();
        handed->done = true;
        queue.changed.notify_all();
    }
}
