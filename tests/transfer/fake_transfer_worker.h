#pragma once
// Workers for the transfer manager's tests that end in a scripted state: each
// start of a player takes the next plan of that player (the last plan repeats).
// A plan may hold the worker until it is stopped (a slow upload), let it work
// for a while, or send notices first. The hub counts how many run at once.

#include "transfer/dlk_transfer_worker.h"

#include <QDateTime>

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

struct FakeWorkerPlan {
    qint32 state = 3;
    qint32 detail = 0;
    qint32 errorIndex = -1;
    int workMs = 0;             // real time the job takes
    bool holdUntilStop = false; // the job runs until Stop
    bool failStart = false;     // StartTransfer refuses with (4, 1000)
    // Runs on the job's thread after its work, before it ends: a test makes a
    // job wait there for what must come first (the order of ends is then not
    // left to the scheduler of a loaded machine).
    std::function<void()> beforeEnd;
    // Notices (kind, value) the job sends before it ends.
    std::vector<std::pair<quint16, quint64>> notices;

    static FakeWorkerPlan ending(qint32 state, qint32 detail, int workMs = 0)
    {
        FakeWorkerPlan plan;
        plan.state = state;
        plan.detail = detail;
        plan.workMs = workMs;
        return plan;
    }
    static FakeWorkerPlan held()
    {
        FakeWorkerPlan plan;
        plan.holdUntilStop = true;
        return plan;
    }
};

class FakeWorkerHub {
public:
    // Plans of one player, used by its first, second, ... start.
    void setPlans(qint32 number, std::vector<FakeWorkerPlan> plans);
    DlkWorkerFactory factory();

    int maxActive() const;
    // Player numbers in the order their workers were started.
    std::vector<qint32> starts() const;
    int startCount(qint32 number) const;
    // Local time (installed clock) of each start, in order.
    std::vector<QDateTime> startTimes() const;
    // The password and port given to the last start of a player.
    std::pair<QString, quint16> credentialsOf(qint32 number) const;
    // Waits (bounded) until count workers run at once.
    bool waitActive(int count);
    // Waits (bounded) until count workers have once run at the same time.
    bool waitMaxActive(int count);

    // Called by the workers.
    FakeWorkerPlan beginJob(qint32 number, const QString &password, quint16 port);
    void endJob();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<qint32, std::vector<FakeWorkerPlan>> m_plans;
    std::map<qint32, int> m_startCounts;
    std::map<qint32, std::pair<QString, quint16>> m_credentials;
    std::vector<qint32> m_starts;
    std::vector<QDateTime> m_startTimes;
    int m_active = 0;
    int m_maxActive = 0;
};
