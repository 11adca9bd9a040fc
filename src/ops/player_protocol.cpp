#include "ops/player_protocol.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/printf_format.h"
#include "core/syslog.h"
#include "model/control_property.h"
#include "model/property_base.h"
#include "player/calendar_table_command.h"
#include "player/dlk_request_command.h"
#include "player/r40_http.h"
#include "player/sequence_table_command.h"

#include <cstdlib>

namespace {

constexpr quint32 kReplyAnalyzeError = 0x2000000A;
constexpr int kNotStartedCode = 100;
constexpr int kHttpStatusLimit = 1000;

QByteArray NameOf(const QString &playerName)
{
    return playerName.toUtf8();
}

} // namespace

ContentCodes GetContentCodes(int contentType, int controlKind)
{
    switch (contentType) {
    case 1: return {1, 1, 2};
    case 2: return {2, 3, 3};
    case 3: return {3, 6, 7};
    case 4: return {4, 5, 6};
    case 5: return {5, 4, 5};
    case 6: return {6, 7, 21};
    case 7:
        switch (controlKind) {
        case CControlProperty::CTRL_COM: return {8, 9, 0};
        case CControlProperty::CTRL_VOLUME: return {7, 8, 0};
        case CControlProperty::CTRL_DISPLAY: return {17, 9, 0};
        default: return {};
        }
    case 8: return {13, 2, 11};
    case 10: return {16, 9, 22};
    case 52: return {10, 0, 0};
    case 53: return {11, 0, 0};
    default: return {};
    }
}

ContentCodes GetContentCodes(const CPropertyBase &record)
{
    const auto *control = dynamic_cast<const CControlProperty *>(&record);
    return GetContentCodes(record.GetContentType(), control ? control->GetCtrlType() : 0);
}

CommandOutcome MapCommandSendError(quint32 error, const QString &playerName)
{
    if (error == kReplyAnalyzeError)
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 http analyze error", NameOf(playerName).constData());
    else
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 command send error : error = %d", NameOf(playerName).constData(),
                    int(error));
    return {COMMAND_RESULT_NOT_MADE, kCommandDetailOther};
}

CommandOutcome MapCommandError(quint32 error, const QString &playerName)
{
    const QByteArray name = NameOf(playerName);
    if ((error & R40_ERROR_OWN) == 0) {
        WriteSyslog(LOG_ERR_WIN, "[%s] : R40 send command error : error = %d", name.constData(), int(error));
        return {COMMAND_RESULT_FAILED, 1004};
    }
    if (error == R40_ERROR_STOPPED) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 command request stop", name.constData());
        return {COMMAND_RESULT_STOPPED, 0};
    }
    if (error == R40_ERROR_TIMEOUT) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 command timeout", name.constData());
        return {COMMAND_RESULT_FAILED, 1006};
    }
    if (error >= R40_ERROR_HTTP_STATUS && error - R40_ERROR_HTTP_STATUS < quint32(kHttpStatusLimit)) {
        const int status = int(error - R40_ERROR_HTTP_STATUS);
        if (status == kHttpStatusUnauthorized) {
            WriteSyslog(LOG_ERR_APP, "[%s] : R40 invalid password", name.constData());
            return {COMMAND_RESULT_FAILED, 1003};
        }
        WriteSyslog(LOG_ERR_HTTP, "[%s] : R40 http status error : status = %d", name.constData(), status);
        return {COMMAND_RESULT_FAILED, 1004};
    }
    return {COMMAND_RESULT_FAILED, kCommandDetailOther};
}

CommandOutcome MapCommandReply(int code, const QString &description, const QString &playerName)
{
    const QByteArray name = NameOf(playerName);
    const QByteArray text = description.toUtf8();
    if (code == kNotStartedCode)
        WriteSyslog(LOG_ERR_DLKX, "[%s] : R40 not start : %s", name.constData(), text.constData());
    else
        WriteSyslog(LOG_ERR_DLKX, "[%s] : R40 command error : SERR = %d : %s", name.constData(), code,
                    text.constData());
    return {COMMAND_RESULT_FAILED, code};
}

bool AddContentSendItems(CDlkRequestCommand &commands, qint32 number, int entryIndex)
{
    CCalendarTableCommand calendarRow;
    if (!calendarRow.MakeRequest(number) || !commands.Add(&calendarRow, entryIndex))
        return false;
    int first = 0;
    int kind = 0;
    int serial = 0;
    if (!SplitContentId(number, &first, &kind, &serial))
        return false;
    if (kind != CONTENT_SCHEDULE && kind != CONTENT_PLAYLIST)
        return true;
    // The number's own file goes through the schedule table for both kinds,
    // as the players have always been sent it (see docs/player-protocol.md).
    CSequenceTableCommand file;
    if (!file.MakeRequest(SEQUENCE_TABLE_SCHEDULE, number) || !commands.Add(&file, entryIndex))
        return false;
    for (int sequenceKind : kScheduleSequenceKinds) {
        CSequenceTableCommand sequence;
        const int sequenceNumber = MakeContentId(first, sequenceKind, serial);
        if (sequenceNumber < 0 || !sequence.MakeRequest(SEQUENCE_TABLE_SEQUENCE, sequenceNumber)
            || !commands.Add(&sequence, entryIndex))
            return false;
    }
    return true;
}

QString FormatTimeZone(int offsetSeconds)
{
    const char *sign = offsetSeconds > 0 ? "+" : offsetSeconds < 0 ? "-" : " ";
    const int minutes = std::abs(offsetSeconds) / 60;
    return FormatPrintf(QStringLiteral("GMT %s%02d:%02d"),
                        {PrintfArg(sign), PrintfArg(minutes / 60), PrintfArg(minutes % 60)});
}

QString FormatTimeZone()
{
    return FormatTimeZone(Clock().now().offsetFromUtc());
}
