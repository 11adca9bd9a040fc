#include "app/frame_worker.h"

#include "core/owner_thread.h"

namespace {

// How long Join waits for a step of the worker before it looks whether the
// worker has ended.
constexpr std::chrono::milliseconds kEndPoll{5};

} // namespace

CFrameWorker::CFrameWorker(std::function<void()> body) : m_body(std::move(body)) {}

CFrameWorker::~CFrameWorker()
{
    Join();
}

bool CFrameWorker::Resume()
{
    if (!m_body || IsStarted())
        return false;
    m_thread = std::thread([this] {
        m_body();
        m_ended.store(true);
    });
    return true;
}

bool CFrameWorker::Join()
{
    if (!m_thread.joinable())
        return false;
    // The worker may be waiting for this thread to run a step of its own.
    while (!m_ended.load())
        RunOwnerSteps(kEndPoll);
    m_thread.join();
    m_joined = true;
    return true;
}
