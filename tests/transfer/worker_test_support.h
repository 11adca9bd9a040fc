#pragma once
// Helpers of the tests that run real transfer workers: a scripted ping that
// can make a loopback player look unreachable or hold the worker in its ping,
// a record of the worker's notices, and a system settings file written for
// a test.

#include "transfer/dlk_ping.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

class CSystemIni;

// What the pings of the workers made by factory() answer.
class PingScript {
public:
    void setOpenFails(bool fails);
    // Addresses that do not answer; every other one does.
    void setUnreachable(const QString &address);
    // Holds every ping until release(), which gives the answer.
    void hold();
    void release(bool answer);
    // Waits (bounded) until a ping is being held.
    bool waitHeld();

    DlkPingFactory factory();

    // Called by the pings.
    bool open();
    bool ping(const QString &address);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_openFails = false;
    std::set<QString> m_unreachable;
    bool m_hold = false;
    bool m_held = false;
    bool m_released = false;
    bool m_answer = true;
};

// The notices of a worker, recorded from its thread.
class NoticeLog {
public:
    static qint32 callback(void *context, quint16 kind, quint32 low, quint32 high);
    std::vector<std::pair<quint16, quint64>> notices() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<quint16, quint64>> m_notices;
};

// A system settings store read from a "Q9S.ini" with the given text, written
// into folder.
std::unique_ptr<CSystemIni> OpenSystemIni(const QString &folder, const QByteArray &text);
