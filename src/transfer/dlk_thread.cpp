#include "transfer/dlk_thread.h"

#include "core/last_error.h"

#include <system_error>

CDlkThread::~CDlkThread()
{
    Join();
}

bool CDlkThread::Start(std::function<void()> body)
{
    if (m_thread.joinable()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_done = false;
    try {
        m_thread = std::thread([this, body = std::move(body)] {
            body();
            std::lock_guard lock(m_mutex);
            m_done = true;
            m_ended.notify_all();
        });
    } catch (const std::system_error &error) {
        SetLastErrorFromErrno(error.code().value());
        return false;
    }
    return true;
}

bool CDlkThread::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, timeout, [this] { return m_done; });
}

void CDlkThread::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}
