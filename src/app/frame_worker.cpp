#include "app/frame_worker.h"

CFrameWorker::CFrameWorker(std::function<void()> body) : m_body(std::move(body)) {}

CFrameWorker::~CFrameWorker()
{
    Join();
}

bool CFrameWorker::Resume()
{
    if (!m_body || IsStarted())
        return false;
    m_thread = std::thread(m_body);
    return true;
}

bool CFrameWorker::Join()
{
    if (!m_thread.joinable())
        return false;
    m_thread.join();
    m_joined = true;
    return true;
}
