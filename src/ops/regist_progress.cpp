#include "ops/regist_progress.h"

void CRegContProgress::SetProgress(quint64 total, quint64 transferred)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_total = total;
    m_transferred = transferred;
}

void CRegContProgress::GetProgress(quint64 &total, quint64 &transferred) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    total = m_total;
    transferred = m_transferred;
}

void CRegContProgress::Reset()
{
    SetProgress(0, 0);
    m_cancelled.store(false);
}
