#pragma once
// A worker thread of the main frame's long operations. It is made without
// running ("created suspended"), started with Resume once the frame has
// disabled itself and kept it, and joined by the end handler of its operation
// (Join waits without limit). The body never touches a window: it reports by
// posting application messages and reaches what the window reads only
// through RunOnOwnerThread, whose steps Join runs while it waits. A worker
// still running when it is destroyed is joined there, so no thread outlives
// its owner.

#include <atomic>
#include <functional>
#include <thread>

class CFrameWorker {
public:
    explicit CFrameWorker(std::function<void()> body);
    ~CFrameWorker();
    CFrameWorker(const CFrameWorker &) = delete;
    CFrameWorker &operator=(const CFrameWorker &) = delete;

    // Starts the body; false when it was started before or has no body.
    bool Resume();
    bool IsStarted() const { return m_thread.joinable() || m_joined; }
    // Waits for the body to end; true when a started thread was joined.
    bool Join();

private:
    std::function<void()> m_body;
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    bool m_joined = false;
};
