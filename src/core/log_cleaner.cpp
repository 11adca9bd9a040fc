#include "core/log_cleaner.h"

#include "core/clock.h"
#include "core/syslog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

CLogCleaner::~CLogCleaner()
{
    Stop();
}

bool CLogCleaner::Start(const QString &folder, const QString &prefix, int keepDays)
{
    std::lock_guard lock(m_mutex);
    if (m_thread.joinable())
        return false;
    m_folder = folder;
    m_prefix = prefix;
    m_keepDays = keepDays;
    m_stop = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void CLogCleaner::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_thread.joinable())
            return;
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

bool CLogCleaner::IsRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_thread.joinable() && !m_stop;
}

int CLogCleaner::DeleteOldLogs(const QString &folder, const QString &prefix, int keepDays, const QDate &today)
{
    if (keepDays <= 0 || !today.isValid())
        return 0;
    const QDate oldestKept = today.addDays(-keepDays);
    const QRegularExpression pattern(QStringLiteral("^%1(\\d{8})\\.log$").arg(QRegularExpression::escape(prefix)),
                                     QRegularExpression::CaseInsensitiveOption);
    int deleted = 0;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
        if (!date.isValid() || date >= oldestKept)
            continue;
        if (QFile::remove(dir.filePath(name)))
            ++deleted;
        else
            WriteSyslog(LOG_WARNING, "CLogCleaner::DeleteOldLogs : cannot delete %s", qUtf8Printable(name));
    }
    return deleted;
}

void CLogCleaner::run()
{
    const auto interval = std::chrono::hours(1);
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        const QString folder = m_folder;
        const QString prefix = m_prefix;
        const int keepDays = m_keepDays;
        lock.unlock();
        DeleteOldLogs(folder, prefix, keepDays, Clock().now().date());
        lock.lock();
        m_wake.wait_for(lock, interval, [this] { return m_stop; });
    }
}
