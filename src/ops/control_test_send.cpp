#include "ops/control_test_send.h"

#include "core/syslog.h"
#include "model/app_data.h"
#include "model/player_record.h"
#include "player/r40_com_command.h"
#include "player/r40_http.h"
#include "player/r40_request.h"

namespace {

constexpr quint32 kDetailOther = 3000;
constexpr quint32 kDetailSendFailed = 1004;
constexpr quint32 kDetailTimeout = 1006;
constexpr quint32 kDetailPassword = 1003;

// The detail of a request that could not be made or whose reply did not
// analyse.
quint32 mapRequestError(quint32 error, const QByteArray &name)
{
    if (error == R40_ERROR_ANALYZE)
        WriteSyslog(LOG_ERR_APP, "[%s] : HTTP Analyze Error", name.constData());
    else
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Command Send Error : GetLastError = %d", name.constData(), int(error));
    return kDetailOther;
}

bool openClient(CR40Http &http, const PlayerRecord &player, int defaultPort)
{
    R40HttpParam param;
    param.mask = R40_PARAM_PORT;
    param.port = quint16(player.Port >= 1 ? player.Port : defaultPort);
    QString folder;
    GetAppData().MakePlayerFolder(player.Name, folder);
    return http.SetParameter(param) && http.Init()
           && http.Connect(player.IPAddress, DefaultPlayerUser(), player.Pass.isEmpty() ? DefaultPlayerUser() : player.Pass);
}

} // namespace

quint32 MapControlTestError(quint32 error, const QString &playerName)
{
    const QByteArray name = playerName.toUtf8();
    const int httpStatus = int(error - R40_ERROR_HTTP_STATUS);
    if (error < R40_ERROR_OWN) {
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 Send Command Error : GetLastError = %d", name.constData(), int(error));
        return kDetailSendFailed;
    }
    if (error == R40_ERROR_STOPPED) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Command Request Stop", name.constData());
        return 0;
    }
    if (error == R40_ERROR_TIMEOUT) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Command Timeout", name.constData());
        return kDetailTimeout;
    }
    if (error >= R40_ERROR_HTTP_STATUS && error <= R40_ERROR_HTTP_STATUS_LAST) {
        if (httpStatus == kHttpStatusUnauthorized) {
            WriteSyslog(LOG_ERR_APP, "[%s] : R40 Invalid Password", name.constData());
            return kDetailPassword;
        }
        WriteSyslog(LOG_ERR_HTTP, "[%s] : HTTP Status Error : Status = %d", name.constData(), httpStatus);
        return kDetailSendFailed;
    }
    WriteSyslog(LOG_ERR_APP, "[%s] : System Error : Error = %d", name.constData(), int(error));
    return kDetailOther;
}

ControlTestOutcome SendControlTest(CR40Http &http, const PlayerRecord &player, const QString &sendHex,
                                   const QString &responseHex, int target, int defaultPort)
{
    const QByteArray name = player.Name.toUtf8();
    ControlTestOutcome outcome;
    if (!openClient(http, player, defaultPort)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 HTTP Open Error", name.constData());
        outcome.detail = kDetailOther;
        http.Close();
        return outcome;
    }
    CR40ComCommand command;
    if (!command.MakeRequest(sendHex, responseHex, target)) {
        outcome.detail = mapRequestError(command.GetError(), name);
    } else {
        WriteSyslog(LOG_DEBUG, "[%s] : R40 Send Command : %s", name.constData(),
                    qUtf8Printable(command.GetQueryString()));
        if (!http.SendCommand(&command)) {
            outcome.detail = MapControlTestError(http.GetLastError(), player.Name);
        } else if (command.GetStatus() == R40_REPLY_SERR) {
            int code = 0;
            command.GetErrorCode(code);
            outcome.detail = quint32(code);
        } else if (command.GetStatus() == R40_REPLY_NONE) {
            outcome.detail = mapRequestError(command.GetError(), name);
        } else {
            outcome.success = true;
            outcome.received = command.GetReceivedData();
        }
    }
    http.Close();
    return outcome;
}
