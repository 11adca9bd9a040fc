#include "core/last_error.h"

#include <cerrno>

namespace {
thread_local quint32 t_lastError = ERROR_SUCCESS;
}

quint32 GetLastError()
{
    return t_lastError;
}

void SetLastError(quint32 code)
{
    t_lastError = code;
}

quint32 ErrorFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_OUTOFMEMORY;
    case EINVAL:
    case ENAMETOOLONG:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_INTERNAL_ERROR;
    }
}

quint32 SetLastErrorFromErrno(int errnoValue)
{
    const quint32 code = ErrorFromErrno(errnoValue);
    SetLastError(code);
    return code;
}
