#include "callback_log.h"

#include "transfer/transfer_status_xml.h"

#include <algorithm>

void CallbackLog::callback(void *context, qint32 code, qint64 value)
{
    auto *log = static_cast<CallbackLog *>(context);
    const qint32 state = log->m_status ? log->m_status->GetTransferState() : -1;
    std::lock_guard lock(log->m_mutex);
    log->m_calls.push_back({code, value, state});
    log->m_called.notify_all();
}

std::vector<CallbackLog::Call> CallbackLog::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<qint64> CallbackLog::values(qint32 code) const
{
    std::lock_guard lock(m_mutex);
    std::vector<qint64> found;
    for (const Call &call : m_calls)
        if (call.code == code)
            found.push_back(call.value);
    return found;
}

int CallbackLog::count(qint32 code) const
{
    std::lock_guard lock(m_mutex);
    return int(std::count_if(m_calls.begin(), m_calls.end(), [code](const Call &call) { return call.code == code; }));
}

bool CallbackLog::waitEnd(int seconds)
{
    return waitFor(6, seconds);
}

bool CallbackLog::waitFor(qint32 code, int seconds)
{
    return waitUntil(
        [&] {
            return std::any_of(m_calls.begin(), m_calls.end(), [code](const Call &call) { return call.code == code; });
        },
        seconds);
}

bool CallbackLog::waitUntil(const std::function<bool()> &ready, int seconds)
{
    std::unique_lock lock(m_mutex);
    return m_called.wait_for(lock, std::chrono::seconds(seconds), ready);
}
