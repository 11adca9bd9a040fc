// The (state, detail) pairs of failed steps, from the HTTP client's last error
// or the request's own error, each with its log line.

#include "transfer/dlk_transfer.h"

#include "core/last_error.h"
#include "core/syslog.h"
#include "player/r40_request.h"

namespace {

bool isOwnError(quint32 error)
{
    return (error & R40_ERROR_OWN) != 0;
}

bool isHttpStatusError(quint32 error)
{
    return error >= R40_ERROR_HTTP_STATUS && error <= R40_ERROR_HTTP_STATUS_LAST;
}

int httpStatusOf(quint32 error)
{
    return int(error - R40_ERROR_HTTP_STATUS);
}

} // namespace

void CDlkTransfer::setCommandError()
{
    const quint32 error = m_http.GetLastError();
    const QByteArray name = m_name.toUtf8();
    if (!isOwnError(error)) {
        // A platform error after a stop request is the stop, not a link failure.
        if (m_stop) {
            WriteSyslog(LOG_NOTICE, "[%s] : R40 Transfer Stop", name.constData());
            setTransferState(DLK_STATE_STOPPED, DLK_DETAIL_NONE);
        } else {
            WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Send Command Error : GetLastError = %u", name.constData(), error);
            setTransferState(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR);
        }
    } else if (error == R40_ERROR_STOPPED) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Command Request Stop", name.constData());
        setTransferState(DLK_STATE_STOPPED, DLK_DETAIL_NONE);
    } else if (error == R40_ERROR_TIMEOUT) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Command Timeout", name.constData());
        setTransferState(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_TIMEOUT);
    } else if (isHttpStatusError(error)) {
        const int status = httpStatusOf(error);
        if (status == 401) {
            WriteSyslog(LOG_ERR_APP, "[%s] : R40 Invalid Password", name.constData());
            setTransferState(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_PASSWORD);
        } else {
            WriteSyslog(LOG_ERR_HTTP, "[%s] : HTTP Status Error : Status = %d", name.constData(), status);
            setTransferState(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR);
        }
    } else {
        setTransferState(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_INTERNAL);
    }
}

void CDlkTransfer::setSendFileError(const QString &localPath, const QString &remotePath)
{
    const quint32 error = m_http.GetLastError();
    const QByteArray name = m_name.toUtf8();
    if (error == R40_ERROR_STOPPED) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Transfer Stop", name.constData());
        setTransferState(DLK_STATE_STOPPED, DLK_DETAIL_NONE);
    } else if (error == R40_ERROR_TIMEOUT) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Transfer Timeout", name.constData());
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_TIMEOUT);
    } else if (isHttpStatusError(error)) {
        WriteSyslog(LOG_ERR_HTTP, "[%s] : HTTP Status Error : Status = %d", name.constData(), httpStatusOf(error));
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_SEND_ERROR);
    } else if (isOwnError(error)) {
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_INTERNAL);
    } else if (error == INET_ERROR_CONNECTION_ABORTED || error == INET_ERROR_CONNECTION_RESET
               || error == INET_ERROR_DISCONNECTED) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 Disconnect", name.constData());
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT);
    } else if (error == ERROR_FILE_NOT_FOUND) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Send File Not Found : Local = %s, Remote = %s", name.constData(),
                    qUtf8Printable(localPath), qUtf8Printable(remotePath));
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_FILE_NOT_FOUND);
    } else if (error == ERROR_SHARING_VIOLATION) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Send File Another Open : %s", name.constData(), qUtf8Printable(localPath));
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_FILE_IN_USE);
    } else {
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Send File Error : GetLastError = %u", name.constData(), error);
        setTransferState(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_SEND_ERROR);
    }
}

void CDlkTransfer::setCommandSendError(quint32 requestError)
{
    if (requestError == R40_ERROR_ANALYZE)
        WriteSyslog(LOG_ERR_APP, "[%s] : HTTP Analyze Error", qUtf8Printable(m_name));
    else
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Command Send Error : GetLastError = %u", qUtf8Printable(m_name),
                    requestError);
    setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
}

void CDlkTransfer::setCommandReplyError(int code, const QString &description)
{
    if (code == 100)
        WriteSyslog(LOG_ERR_DLKX, "[%s] : R40 Not Start : %s", qUtf8Printable(m_name), qUtf8Printable(description));
    else
        WriteSyslog(LOG_ERR_DLKX, "[%s] : R40 Command Error : SERR = %d : %s", qUtf8Printable(m_name), code,
                    qUtf8Printable(description));
    setTransferState(DLK_STATE_COMMAND_FAILED, quint32(code));
}

bool CDlkTransfer::checkReplyStatus(const CR40Request &request)
{
    int code = 0;
    switch (request.GetStatus()) {
    case R40_REPLY_PASS:
        return true;
    case R40_REPLY_SERR:
        request.GetErrorCode(code);
        setCommandReplyError(code, request.GetDescription());
        return false;
    default:
        setCommandSendError(request.GetError());
        return false;
    }
}
