#pragma once
// The last error of a writer or list: kept with the object for its owner to
// read later, and set as the thread's last error at once for the log lines of
// the caller.

#include "core/last_error.h"

class CLastErrorKeeper {
public:
    quint32 GetLastError() const { return m_lastError; }

protected:
    // Keeps error and returns false.
    bool fail(quint32 error)
    {
        m_lastError = error;
        SetLastError(error);
        return false;
    }
    void clearLastError() { m_lastError = ERROR_SUCCESS; }

private:
    quint32 m_lastError = ERROR_SUCCESS;
};
