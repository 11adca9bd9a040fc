// The single command steps that the jobs share: a command sent with its reply
// checked, the system query of the software version, the clock, the loading
// of an uploaded setup, and the play command after a registration.

#include "transfer/dlk_transfer.h"

#include "core/format_utils.h"
#include "core/syslog.h"
#include "player/content_play_command.h"
#include "player/date_time_command.h"
#include "player/lcnf_command.h"
#include "player/playlist_play_command.h"
#include "player/r40_system_command.h"
#include "player/setup_xml.h"
#include "transfer/dlk_request_send.h"

namespace {

// Play types of a registration's play command.
constexpr qint32 kPlayTypeNone = 0;
constexpr qint32 kPlayTypePlaylistFirst = 10;
constexpr qint32 kPlayTypePlaylistLast = 11;

// The sequence id of the content play command for a play type; 0 for a type
// that is not played by content.
int contentPlayId(qint32 playType)
{
    switch (playType) {
    case 1: return 2;
    case 2: return 3;
    case 3: return 7;
    case 4: return 6;
    case 5: return 5;
    case 6: return 21;
    case 7: return 12;
    case 8: return 14;
    case 9: return 15;
    case 13: return 11;
    case 14: return 8;
    case 15: return 20;
    case 16: return 22;
    case 17: return 22;
    default: return 0;
    }
}

// Play values of the request, as the play dialogs fill them: value 8 is the
// mode, values 1 to 5 the position, option and size, value 6 the repeat flag
// and value 7 the play time in seconds.
enum PlayValue : int {
    PLAY_VALUE_XPOS = 1,
    PLAY_VALUE_YPOS = 2,
    PLAY_VALUE_OPT = 3,
    PLAY_VALUE_WIDTH = 4,
    PLAY_VALUE_HEIGHT = 5,
    PLAY_VALUE_REPEAT = 6,
    PLAY_VALUE_PLAY_TIME = 7,
    PLAY_VALUE_MODE = 8,
};

} // namespace

bool CDlkTransfer::commandBuilt(bool built, const CR40Request &command)
{
    if (!built)
        setCommandSendError(command.GetError());
    return built;
}

bool CDlkTransfer::exchangeCommand(CR40Request &command)
{
    if (!m_http.SendCommand(&command)) {
        setCommandError();
        return false;
    }
    return checkReplyStatus(command);
}

bool CDlkTransfer::sendCommandChecked(CR40Request &command, int logLevel)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(logLevel, "[%s] : R40 Send Command : %s", name.constData(), qUtf8Printable(command.GetSerialText()));
    if (!exchangeCommand(command))
        return false;
    WriteSyslog(logLevel, "[%s] : R40 Send Command OK", name.constData());
    return true;
}

bool CDlkTransfer::sendCommandStep(CR40Request &command)
{
    if (checkStopRequest())
        return false;
    return sendCommandChecked(command, LOG_NOTICE);
}

bool CDlkTransfer::checkDlkVersion(PlayerRecord *record)
{
    CR40SystemCommand command;
    if (!commandBuilt(command.MakeRequest(), command))
        return false;
    if (!sendCommandChecked(command, LOG_DEBUG))
        return false;
    m_versionNumber = 0;
    ParseVersionNumber(command.GetVersion(), m_versionNumber);
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Version %s", qUtf8Printable(m_name), qUtf8Printable(command.GetVersion()));
    m_playerConfigDate = SystemTime();
    command.GetConfigDate(m_playerConfigDate);
    if (record) {
        record->MacAddress = command.GetMacAddress();
        record->Serial = command.GetSerialNumber();
    }
    return true;
}

bool CDlkTransfer::sendDateTime(const SystemTime &utcTime)
{
    CDateTimeCommand command;
    if (!commandBuilt(command.MakeRequest(utcTime), command))
        return false;
    return sendCommandStep(command);
}

bool CDlkTransfer::sendLoadConfig(int mode)
{
    CLcnfCommand command;
    if (!commandBuilt(command.MakeRequest(QString::fromLatin1(kSetupSendRemotePath), mode), command))
        return false;
    return sendCommandStep(command);
}

bool CDlkTransfer::sendPlayCommand(const CDlkRequestSend *request)
{
    if (checkStopRequest())
        return false;
    qint32 playType = kPlayTypeNone;
    qint32 index = 0;
    request->GetPlayParameter(playType, index);
    if (playType == kPlayTypeNone)
        return true;

    const auto value = [request](int number) { return request->GetPlayValue(number); };
    std::unique_ptr<CR40Request> command;
    bool built = false;
    if (const int id = contentPlayId(playType)) {
        auto play = std::make_unique<CContentPlayCommand>();
        built = play->MakeRequest(id, index, value(PLAY_VALUE_MODE), value(PLAY_VALUE_XPOS), value(PLAY_VALUE_YPOS),
                                  value(PLAY_VALUE_OPT), value(PLAY_VALUE_WIDTH), value(PLAY_VALUE_HEIGHT),
                                  value(PLAY_VALUE_REPEAT), value(PLAY_VALUE_PLAY_TIME));
        command = std::move(play);
    } else if (playType >= kPlayTypePlaylistFirst && playType <= kPlayTypePlaylistLast) {
        auto play = std::make_unique<CPlaylistPlayCommand>();
        built = play->MakeRequest(1, index, value(PLAY_VALUE_REPEAT), value(PLAY_VALUE_PLAY_TIME));
        command = std::move(play);
    } else {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::sendPlayCommand : Invalid Play Type : Type = %d",
                    qUtf8Printable(m_name), playType);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return commandBuilt(built, *command) && sendCommandChecked(*command, LOG_NOTICE);
}
