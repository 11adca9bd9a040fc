#pragma once
// The thread's last error: operations return a bool or a count and leave one of
// these codes behind for the caller to inspect, as the stored logic expects.

#include <QtGlobal>

enum : quint32 {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_DATA = 13,
    ERROR_OUTOFMEMORY = 14,
    ERROR_SHARING_VIOLATION = 32,
    ERROR_HANDLE_DISK_FULL = 39,
    ERROR_TOO_MANY_NAMES = 68, // a list already holds as many entries as it may
    ERROR_INVALID_PARAMETER = 87,
    ERROR_DISK_FULL = 112,
    ERROR_ARITHMETIC_OVERFLOW = 534, // a time or length past its limit
    ERROR_ALREADY_EXISTS = 183,
    ERROR_INTERNAL_ERROR = 1359,
};

quint32 GetLastError();
void SetLastError(quint32 code);

// Leaves `code` behind and returns false, for operations that give up with it.
inline bool FailWith(quint32 code)
{
    SetLastError(code);
    return false;
}

// Maps an errno value to the nearest code above and stores it as the last error.
quint32 SetLastErrorFromErrno(int errnoValue);
quint32 ErrorFromErrno(int errnoValue);
