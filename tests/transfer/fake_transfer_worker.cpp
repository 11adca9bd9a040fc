#include "fake_transfer_worker.h"

#include "core/clock.h"

#include <atomic>
#include <thread>

namespace {

class FakeWorker final : public IDlkTransferWorker {
public:
    explicit FakeWorker(FakeWorkerHub &hub)
        : m_hub(hub)
    {
    }
    ~FakeWorker() override { FinishTransfer(); }

    bool EnableCallback(bool enable, DlkTransferNotify callback, void *context) override
    {
        m_callback = enable ? callback : nullptr;
        m_context = context;
        return true;
    }
    void SetMultiSend(bool, quint32) override {}
    bool SetDlkName(const QString &) override { return true; }
    bool SetPcFolder(const QString &, const QString &) override { return true; }
    void SetContentFolder(int, const QString &) override {}
    void SetPowerOn(bool) override {}
    void SetStatusDocument(CTransferStatusXml *, qint32 playerNumber) override { m_number = playerNumber; }
    void SetPlayerTable(CHarlPlayerXml *, const QString &) override {}
    void SetDisplayLinkValues(CQ9DisplayXml *, std::mutex *) override {}
    void SetAppendSend(bool) override {}

    bool StartTransfer(const QString &, const QString &, const QString &password, quint16 port, quint32,
                       CDlkRequestList *, int) override
    {
        m_plan = m_hub.beginJob(m_number, password, port);
        if (m_plan.failStart) {
            m_hub.endJob();
            setState(4, 1000);
            return false;
        }
        m_running = true;
        m_thread = std::thread([this] { run(); });
        return true;
    }

    void Stop() override
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_stopped.notify_all();
    }

    bool FinishTransfer() override
    {
        if (!m_thread.joinable())
            return true;
        m_thread.join();
        if (m_stop) {
            setState(9, 0);
            return false;
        }
        return true;
    }

    bool IsRunning() const override { return m_running; }
    void SetEndSignal(std::function<void()> signal) override { m_endSignal = std::move(signal); }
    quint32 GetState() const override { return quint32(m_state); }
    quint32 GetDetail() const override { return quint32(m_detail); }
    qint32 GetErrorIndex() const override { return m_errorIndex; }

private:
    void run()
    {
        for (const auto &[kind, value] : m_plan.notices)
            if (m_callback)
                m_callback(m_context, kind, quint32(value), quint32(value >> 32));
        std::unique_lock lock(m_mutex);
        if (m_plan.holdUntilStop)
            m_stopped.wait(lock, [this] { return m_stop; });
        else
            m_stopped.wait_for(lock, std::chrono::milliseconds(m_plan.workMs), [this] { return m_stop; });
        bool stopped = m_stop;
        lock.unlock();
        if (!stopped && m_plan.beforeEnd) {
            m_plan.beforeEnd();
            lock.lock();
            stopped = m_stop;
            lock.unlock();
        }
        if (!stopped) {
            m_errorIndex = m_plan.errorIndex;
            setState(m_plan.state, m_plan.detail);
        }
        m_hub.endJob();
        m_running = false;
        if (m_endSignal)
            m_endSignal();
    }

    void setState(qint32 state, qint32 detail)
    {
        m_state = state;
        m_detail = detail;
    }

    FakeWorkerHub &m_hub;
    FakeWorkerPlan m_plan;
    qint32 m_number = 0;
    DlkTransferNotify m_callback = nullptr;
    void *m_context = nullptr;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::atomic<bool> m_running{false};
    std::function<void()> m_endSignal;
    qint32 m_state = 0;
    qint32 m_detail = 0;
    qint32 m_errorIndex = -1;
};

} // namespace

void FakeWorkerHub::setPlans(qint32 number, std::vector<FakeWorkerPlan> plans)
{
    std::lock_guard lock(m_mutex);
    m_plans[number] = std::move(plans);
}

DlkWorkerFactory FakeWorkerHub::factory()
{
    return [this](CSystemIni *, CSettingIni *) -> std::unique_ptr<IDlkTransferWorker> {
        return std::make_unique<FakeWorker>(*this);
    };
}

FakeWorkerPlan FakeWorkerHub::beginJob(qint32 number, const QString &password, quint16 port)
{
    std::lock_guard lock(m_mutex);
    const int start = m_startCounts[number]++;
    m_starts.push_back(number);
    // The program's clock: a benchmark built with this file has a Clock of its own.
    m_startTimes.push_back(::Clock().now());
    m_credentials[number] = {password, port};
    m_maxActive = std::max(m_maxActive, ++m_active);
    m_changed.notify_all();
    const auto plans = m_plans.find(number);
    if (plans == m_plans.end() || plans->second.empty())
        return FakeWorkerPlan();
    return plans->second[std::min<size_t>(size_t(start), plans->second.size() - 1)];
}

void FakeWorkerHub::endJob()
{
    std::lock_guard lock(m_mutex);
    --m_active;
    m_changed.notify_all();
}

int FakeWorkerHub::maxActive() const
{
    std::lock_guard lock(m_mutex);
    return m_maxActive;
}

std::vector<qint32> FakeWorkerHub::starts() const
{
    std::lock_guard lock(m_mutex);
    return m_starts;
}

int FakeWorkerHub::startCount(qint32 number) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_startCounts.find(number);
    return found == m_startCounts.end() ? 0 : found->second;
}

std::vector<QDateTime> FakeWorkerHub::startTimes() const
{
    std::lock_guard lock(m_mutex);
    return m_startTimes;
}

std::pair<QString, quint16> FakeWorkerHub::credentialsOf(qint32 number) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_credentials.find(number);
    return found == m_credentials.end() ? std::pair<QString, quint16>() : found->second;
}

bool FakeWorkerHub::waitActive(int count)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_active >= count; });
}

bool FakeWorkerHub::waitMaxActive(int count)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_maxActive >= count; });
}
