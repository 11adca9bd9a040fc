#include "worker_test_support.h"

#include "core/last_error.h"
#include "core/system_ini.h"

#include <QDir>
#include <QFile>

namespace {

class ScriptedPing final : public IDlkPing {
public:
    explicit ScriptedPing(PingScript &script)
        : m_script(script)
    {
    }
    bool Open() override { return m_script.open(); }
    bool Ping(const QString &address, quint32) override { return m_script.ping(address); }
    void Close() override {}

private:
    PingScript &m_script;
};

} // namespace

void PingScript::setOpenFails(bool fails)
{
    std::lock_guard lock(m_mutex);
    m_openFails = fails;
}

void PingScript::setUnreachable(const QString &address)
{
    std::lock_guard lock(m_mutex);
    m_unreachable.insert(address);
}

void PingScript::hold()
{
    std::lock_guard lock(m_mutex);
    m_hold = true;
}

void PingScript::release(bool answer)
{
    std::lock_guard lock(m_mutex);
    m_released = true;
    m_answer = answer;
    m_changed.notify_all();
}

bool PingScript::waitHeld()
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_held; });
}

DlkPingFactory PingScript::factory()
{
    return [this] { return std::make_unique<ScriptedPing>(*this); };
}

bool PingScript::open()
{
    std::lock_guard lock(m_mutex);
    if (m_openFails)
        SetLastError(ERROR_ACCESS_DENIED);
    return !m_openFails;
}

bool PingScript::ping(const QString &address)
{
    std::unique_lock lock(m_mutex);
    if (m_hold) {
        m_held = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
        return m_answer;
    }
    return m_unreachable.count(address) == 0;
}

qint32 NoticeLog::callback(void *context, quint16 kind, quint32 low, quint32 high)
{
    auto *log = static_cast<NoticeLog *>(context);
    std::lock_guard lock(log->m_mutex);
    log->m_notices.emplace_back(kind, (quint64(high) << 32) | low);
    return 0;
}

std::vector<std::pair<quint16, quint64>> NoticeLog::notices() const
{
    std::lock_guard lock(m_mutex);
    return m_notices;
}

std::unique_ptr<CSystemIni> OpenSystemIni(const QString &folder, const QByteArray &text)
{
    const QString path = QDir(folder).filePath(QStringLiteral("Q9S.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    file.close();
    auto settings = std::make_unique<CSystemIni>();
    settings->Open(path, folder);
    return settings;
}
