#pragma once
// Records every call of the transfer manager's callback (from any thread)
// with the document-wide transfer state seen at that moment.

#include <QtGlobal>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

class CTransferStatusXml;

class CallbackLog {
public:
    struct Call {
        qint32 code;
        qint64 value;
        qint32 documentState; // -1 without a status document
    };

    explicit CallbackLog(const CTransferStatusXml *status = nullptr)
        : m_status(status)
    {
    }

    static void callback(void *context, qint32 code, qint64 value);

    std::vector<Call> calls() const;
    // The values of every call with the code, in order.
    std::vector<qint64> values(qint32 code) const;
    int count(qint32 code) const;
    // Waits (bounded by seconds) for the end code 6; false when it did not come.
    bool waitEnd(int seconds = 30);
    // Waits (bounded) for the first call with the code.
    bool waitFor(qint32 code, int seconds = 30);
    // Waits (bounded) until ready() holds; it is looked at again after each
    // call, so it should read what the manager changes before it calls back.
    bool waitUntil(const std::function<bool()> &ready, int seconds = 30);

private:
    const CTransferStatusXml *m_status;
    mutable std::mutex m_mutex;
    std::condition_variable m_called;
    std::vector<Call> m_calls;
};
