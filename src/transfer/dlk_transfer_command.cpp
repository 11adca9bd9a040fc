// Request kind 1: the player commands of a command list, in order. The list
// is shared by every worker of the job, so each command is sent and its reply
// read through a clone of the worker's own. After a delete the player's list
// file in the player folder loses the deleted row.

#include "transfer/dlk_transfer.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "core/syslog.h"
#include "player/calendar_table_command.h"
#include "player/delete_command.h"
#include "player/dlk_request_command.h"
#include "player/sequence_table_command.h"

namespace {

// The list a delete command takes a row from: its content type and the
// number of the row; type 0 when the command deletes nothing the player
// folder lists.
struct DeletedRow {
    int contentType = CONTENT_NONE;
    qint32 index = -1;
};

// A content delete names its table; the control table kind "extsio" serves
// both the COM and display controls (type 7) and picture-in-picture (type 10),
// which the type part of the content number tells apart.
int deletedContentType(const CDeleteCommand &command)
{
    switch (command.GetTableKind()) {
    case DELETE_TABLE_MOVIE: return CONTENT_MOVIE;
    case DELETE_TABLE_STREAM: return CONTENT_STREAMING;
    case DELETE_TABLE_STILL: return CONTENT_IMAGE;
    case DELETE_TABLE_FLASH: return CONTENT_FLASH;
    case DELETE_TABLE_WEB: return CONTENT_WEB;
    case DELETE_TABLE_TEXT: return CONTENT_TELOP;
    case DELETE_TABLE_AUDIO: return CONTENT_AUDIO;
    case DELETE_TABLE_AUDCONT: return CONTENT_CONTROL;
    case DELETE_TABLE_EXTGPIO: return CONTENT_CONTROL;
    case DELETE_TABLE_EXTSIO: {
        int typePart = 0;
        if (!SplitContentId(command.GetIndex(), nullptr, &typePart, nullptr))
            return CONTENT_NONE;
        return typePart == CONTENT_CONTROL || typePart == CONTENT_PINP ? typePart : CONTENT_NONE;
    }
    default: return CONTENT_NONE;
    }
}

DeletedRow deletedRowOf(const CR40Request &command)
{
    if (const auto *remove = dynamic_cast<const CDeleteCommand *>(&command))
        return {deletedContentType(*remove), remove->GetIndex()};
    if (const auto *table = dynamic_cast<const CSequenceTableCommand *>(&command)) {
        if (table->GetTable() == SEQUENCE_TABLE_PLAYLIST)
            return {CONTENT_PLAYLIST, table->GetNumber()};
        if (table->GetTable() == SEQUENCE_TABLE_SCHEDULE)
            return {CONTENT_SCHEDULE, table->GetNumber()};
        return {};
    }
    if (const auto *calendar = dynamic_cast<const CCalendarTableCommand *>(&command))
        return {CONTENT_CALENDAR, calendar->GetIndex()};
    return {};
}

// Delete commands whose "nothing to delete" answer means the deletion is done.
bool acceptsNotFound(const CR40Request &command)
{
    const QString code = command.GetCommand();
    return code.compare(QLatin1String("RMCL"), Qt::CaseInsensitive) == 0
           || code.compare(QLatin1String("RMPL"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool CDlkTransfer::transferCommand(CDlkRequestCommand *request)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Command", name.constData());
    for (int i = 0; i < request->GetCount(); ++i) {
        const CR40Request *command = request->GetCommand(i);
        if (!command) {
            setCommandSendError(ERROR_INVALID_PARAMETER);
            return false;
        }
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Command : %s", name.constData(),
                    qUtf8Printable(command->GetSerialText()));
        const std::unique_ptr<CR40Request> own = command->Clone();
        if (!own) {
            setCommandSendError(command->GetError());
            return false;
        }
        setErrorIndexSource(request->GetEntryIndex(i));
        if (!m_http.SendCommand(own.get())) {
            setCommandError();
            return false;
        }
        int code = 0;
        const bool nothingToDelete = own->GetErrorCode(code) && code == kSerrNotFound && acceptsNotFound(*own);
        if (!nothingToDelete && !checkReplyStatus(*own))
            return false;
        setErrorIndexSource(-1);
        followDeletion(*own);
    }
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Command OK", name.constData());
    return true;
}

void CDlkTransfer::followDeletion(const CR40Request &command)
{
    const DeletedRow row = deletedRowOf(command);
    if (row.contentType == CONTENT_NONE)
        return;
    removePlayerListRow(row.contentType, row.index);
    countUnitDone();
}

void CDlkTransfer::removePlayerListRow(int contentType, qint32 index)
{
    const QString path = playerListPath(contentType);
    const std::unique_ptr<CContentsList> list = CreateContentsList(contentType);
    // A list file that does not read stays as it is: saving the rest would
    // replace it by a partial list.
    if (path.isEmpty() || !list || !list->Load(path)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Load Error : File Name = %s", qUtf8Printable(m_name),
                    qUtf8Printable(path));
        return;
    }
    const int position = list->FindCode(index);
    if (position < 0)
        return;
    if (!list->Delete(position) || !list->Save(path, 0))
        WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Save Error : File Name = %s", qUtf8Printable(m_name),
                    qUtf8Printable(path));
}
