// Contents registration, first half: what to do with each queued entry. The
// player is asked what it already holds; an entry is sent whole, resumed by
// appending to the partial file a failed upload left, only re-registered, or
// left alone; then the player's free space is checked against the bytes to
// send.

#include "transfer/dlk_transfer.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "core/time_utils.h"
#include "model/playlist_file.h"
#include "model/schedule_file.h"
#include "player/clst_command.h"
#include "player/drst_command.h"
#include "player/finf_command.h"
#include "player/stbl_command.h"
#include "transfer/dlk_request_send.h"
#include "transfer/transfer_status_xml.h"

#include <QFileInfo>
#include <QSet>

namespace {

// The CLST table of a content; 0 for a control type or content type without one.
int ContentTableOf(const CPropertyBase &entry)
{
    switch (entry.GetContentType()) {
    case CONTENT_MOVIE: return CLST_MOVIE;
    case CONTENT_IMAGE: return CLST_STILL;
    case CONTENT_TELOP: return CLST_TELOP;
    case CONTENT_WEB: return CLST_WEB;
    case CONTENT_FLASH: return CLST_FLASH;
    case CONTENT_AUDIO: return CLST_AUDIO;
    case CONTENT_STREAMING: return CLST_STREAMING;
    case CONTENT_PINP: return CLST_PINP;
    case CONTENT_CONTROL:
        switch (static_cast<const CControlProperty &>(entry).GetCtrlType()) {
        case CControlProperty::CTRL_VOLUME: return CLST_VOLUME_CONTROL;
        case CControlProperty::CTRL_COM:
        case CControlProperty::CTRL_DISPLAY: return CLST_COM_CONTROL;
        case CControlProperty::CTRL_GPIO: return CLST_GPIO_CONTROL;
        default: return 0;
        }
    default: return 0;
    }
}

// The player's path of the content's current file, as its row names it.
QString PlayerLinkOf(const CPropertyBase &row)
{
    switch (row.GetContentType()) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_TELOP:
    case CONTENT_WEB:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        return static_cast<const CMediaProperty &>(row).GetLink();
    default:
        return QString();
    }
}

// The file time of a "ddate" as the lists keep it: its fields read as they
// stand, 0 for no date.
FileTime FileTimeOfStamp(const SystemTime &stamp)
{
    return stamp.month == 0 ? 0 : ToFileTime(FromSystemTime(stamp, Qt::UTC));
}

bool IsFirstFileAv(int type)
{
    return type == CONTENT_MOVIE || type == CONTENT_AUDIO;
}

} // namespace

bool CDlkTransfer::makeSendFileAttributes(CDlkRequestSend *request, std::vector<SendFileAttribute> &attributes)
{
    if (!loadErrList())
        return false;
    QSet<qint32> currentSequences;
    for (int i = 0; i < request->GetCount(); ++i) {
        if (checkStopRequest())
            return false;
        const CPropertyBase *entry = registEntry(request, i, "makeSendFileAttributes");
        if (!entry)
            return false;
        setErrorIndexSource(entry->GetIndex());
        SendFileAttribute attribute;
        bool made = true;
        switch (entry->GetContentType()) {
        case CONTENT_PLAYLIST:
            made = makePlaylistSendFileAttributes(request, *entry, attribute, currentSequences);
            break;
        case CONTENT_SCHEDULE:
            made = makeScheduleSendFileAttributes(request, *entry, attribute, currentSequences);
            break;
        case CONTENT_CALENDAR:
            checkCalendarSchedule(request, i, static_cast<const CCalendarProperty &>(*entry));
            break;
        case CONTENT_SEQUENCE:
            break;
        default:
            made = makeContentsSendFileAttributes(request, *entry, attribute);
            break;
        }
        if (!made)
            return false;
        attributes.push_back(attribute);
        addCheckFileCount(1);
        setErrorIndexSource(-1);
    }
    // A sequence belongs to the playlist or schedule whose file names it: when
    // that is current on the player, so is the sequence.
    for (int i = 0; i < request->GetCount(); ++i) {
        const CPropertyBase *entry = request->GetAt(i);
        if (entry->GetContentType() == CONTENT_SEQUENCE && currentSequences.contains(entry->GetIndex()))
            attributes[size_t(i)].flags = 0;
    }
    quint64 total = 0;
    quint64 totalAV = 0;
    quint64 whole = 0;
    quint64 held = 0;
    if (!addSendFileTotals(request, attributes, total, totalAV, whole, held))
        return false;
    setJobBytesTotal(whole, held);
    return checkDisk(total, totalAV);
}

const CPropertyBase *CDlkTransfer::registEntry(CDlkRequestSend *request, int position, const char *step)
{
    const CPropertyBase *entry = request->GetAt(position);
    if (!entry) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::%s : Contents Property Get Error : Index = %d",
                    qUtf8Printable(m_name), step, position);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
    }
    return entry;
}

void CDlkTransfer::addCheckFileCount(qint32 count)
{
    if (m_status)
        m_status->SetCheckFileCount(m_playerNumber, m_status->GetCheckFileCount(m_playerNumber) + count);
}

// A calendar row that plays a schedule should travel with it; a row whose
// schedule is not queued is only logged, as the player may hold it already.
void CDlkTransfer::checkCalendarSchedule(CDlkRequestSend *request, int position, const CCalendarProperty &calendar)
{
    if (calendar.GetFlag() != CCalendarProperty::FLAG_PLAY)
        return;
    for (int j = position - 1; j >= 0; --j) {
        const CPropertyBase *entry = request->GetAt(j);
        if (entry && entry->GetContentType() == CONTENT_SCHEDULE && entry->GetIndex() == calendar.GetSchedule())
            return;
    }
    WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeSendFileAttributes : Invalid calendar : contents index = %d",
                qUtf8Printable(m_name), calendar.GetIndex());
}

bool CDlkTransfer::addSendFileTotals(CDlkRequestSend *request, const std::vector<SendFileAttribute> &attributes,
                                     quint64 &total, quint64 &totalAV, quint64 &whole, quint64 &held)
{
    for (int i = 0; i < request->GetCount(); ++i) {
        const CPropertyBase *entry = request->GetAt(i);
        const SendFileAttribute &attribute = attributes[size_t(i)];
        held = SaturatingAdd(held, attribute.heldSize);
        whole = SaturatingAdd(whole, attribute.heldSize);
        if (!(attribute.flags & SEND_FILE_SEND) || entry->GetContentType() == CONTENT_CALENDAR)
            continue;
        setErrorIndexSource(entry->GetIndex());
        QStringList files;
        if (!getSendLocalFilename(request, *entry, files))
            return false;
        for (int f = 0; f < files.size(); ++f) {
            const QFileInfo info(files[f]);
            if (!info.isFile()) {
                WriteSyslog(LOG_ERR_APP, "[%s] : File Not Found : %s", qUtf8Printable(m_name), qUtf8Printable(files[f]));
                setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_FILE_NOT_FOUND);
                return false;
            }
            addFileSize(entry->GetContentType(), f == 0, quint64(info.size()), attribute, total, totalAV);
            whole = SaturatingAdd(whole, quint64(info.size()));
        }
        setErrorIndexSource(-1);
    }
    return true;
}

// The first file of a movie or audio content goes to the AV area, less what
// a resumed upload finds on the player; every other file to the normal area.
void CDlkTransfer::addFileSize(int type, bool firstContentFile, quint64 size, const SendFileAttribute &attribute,
                               quint64 &total, quint64 &totalAV)
{
    const quint64 onPlayer = (firstContentFile && (attribute.flags & SEND_FILE_APPEND)) ? attribute.playerSize : 0;
    const quint64 toSend = size > onPlayer ? size - onPlayer : 0;
    if (firstContentFile && IsFirstFileAv(type))
        totalAV = SaturatingAdd(totalAV, toSend);
    else
        total = SaturatingAdd(total, toSend);
}

CPropertyBase *CDlkTransfer::workingRecord(int type)
{
    CPropertyBase *const records[] = {&m_movieRecord, &m_imgRecord,     &m_telopRecord,     &m_webRecord,
                                      &m_flashRecord, &m_audioRecord,   &m_controlRecord,   &m_streamingRecord,
                                      &m_pinPRecord,  &m_playlistRecord, &m_scheduleRecord, &m_calendarRecord};
    for (CPropertyBase *record : records) {
        if (record->GetContentType() == type)
            return record;
    }
    return nullptr;
}

bool CDlkTransfer::makeContentsSendFileAttributes(CDlkRequestSend *request, const CPropertyBase &entry,
                                                  SendFileAttribute &attribute)
{
    const int table = ContentTableOf(entry);
    CPropertyBase *row = workingRecord(entry.GetContentType());
    if (table == 0 || !row) {
        const bool control = entry.GetContentType() == CONTENT_CONTROL;
        WriteSyslog(LOG_ERR_APP,
                    control ? "[%s] : CDlkTransfer::makeContentsSendFileAttributes : Invalid Ctrl Type : Contents Index "
                              "= %d, Type = %d"
                            : "[%s] : CDlkTransfer::makeContentsSendFileAttributes : Invalid Contents Type : Contents "
                              "Index = %d, Type = %d",
                    qUtf8Printable(m_name), entry.GetIndex(),
                    control ? static_cast<const CControlProperty &>(entry).GetCtrlType() : entry.GetContentType());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    CClstCommand query;
    bool empty = false;
    if (!sendRowQuery(query, query.MakeRequest(table, entry.GetIndex()), empty))
        return false;
    if (empty) {
        // The player does not hold the content: it is sent, resumed when a
        // failed upload left part of it. A package replaces the files of a
        // content the player must hold already.
        if (request->HasPackagePath()) {
            setCommandReplyError(kSerrNoRows, query.GetDescription());
            return false;
        }
        return checkAppend(request, entry, attribute);
    }
    if (!query.GetRecord(*row)) {
        setCommandSendError(R40_ERROR_ANALYZE);
        return false;
    }
    return decideFromPlayerRow(request, entry, *row, attribute);
}

bool CDlkTransfer::decideFromPlayerRow(CDlkRequestSend *request, const CPropertyBase &entry, const CPropertyBase &row,
                                       SendFileAttribute &attribute)
{
    const QChar playerLetter = FileLetterOfPlayerPath(PlayerLinkOf(row));
    if (request->HasPackagePath()) {
        if (!hasLocalFilesOfItsOwn(entry)) {
            WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeContentsSendFileAttributes : Package For A Web Address : "
                        "Contents Index = %d", qUtf8Printable(m_name), entry.GetIndex());
            setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
            return false;
        }
        attribute.letter = OtherFileLetter(playerLetter);
        return true;
    }
    if (entry.GetContentType() == CONTENT_IMAGE && entry.GetIndex() == 0) {
        attribute.letter = OtherFileLetter(playerLetter);
        attribute.flags |= SEND_FILE_UPDATE_ONLY;
        return true;
    }
    if (CompareSystemTime(entry.GetCreateDate(), row.GetCreateDate()) <= 0) {
        attribute.flags = 0;
        attribute.heldSize = row.GetSize();
        return true;
    }
    attribute.flags |= SEND_FILE_UPDATE_ONLY;
    // A content without a file of its own has only its registration to renew.
    if (!hasLocalFiles(request, entry))
        return true;
    QStringList files;
    if (!getSendLocalFilename(request, entry, files))
        return false;
    FileTime writeTime = 0;
    if (!readLocalFileTime(files.first(), writeTime))
        return false;
    if (storedFileTime(writeTime) == FileTimeOfStamp(row.GetDDate())
        && quint64(QFileInfo(files.first()).size()) == row.GetSize()) {
        // The player holds this very file: its registration points there.
        attribute.flags &= ~SEND_FILE_SEND;
        attribute.heldSize = row.GetSize();
        attribute.letter = playerLetter.isNull() ? QLatin1Char('A') : playerLetter;
        return true;
    }
    attribute.letter = OtherFileLetter(playerLetter);
    return checkAppend(request, entry, attribute);
}

bool CDlkTransfer::hasLocalFiles(CDlkRequestSend *request, const CPropertyBase &entry) const
{
    if (entry.GetContentType() == CONTENT_WEB && request->HasPackagePath())
        return true;
    return hasLocalFilesOfItsOwn(entry);
}

// Web contents at a web address, controls, streams and picture-in-picture
// have no file to send.
bool CDlkTransfer::hasLocalFilesOfItsOwn(const CPropertyBase &entry)
{
    switch (entry.GetContentType()) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_TELOP:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        return true;
    case CONTENT_WEB:
        return !IsHttpUrl(static_cast<const CWebProperty &>(entry).GetUrl());
    default:
        return false;
    }
}

bool CDlkTransfer::readLocalFileTime(const QString &path, FileTime &time)
{
    if (GetFileWriteTime(path, time))
        return true;
    const quint32 error = GetLastError();
    const QByteArray name = m_name.toUtf8();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        WriteSyslog(LOG_ERR_APP, "[%s] : File Update Time Get Error(File Not Found) : File Name = %s", name.constData(),
                    qUtf8Printable(path));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_FILE_NOT_FOUND);
    } else if (error == ERROR_SHARING_VIOLATION) {
        WriteSyslog(LOG_ERR_APP, "[%s] : File Update Time Get Error(File Another Open) : File Name = %s",
                    name.constData(), qUtf8Printable(path));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_FILE_IN_USE);
    } else {
        WriteSyslog(LOG_ERR_WIN, "[%s] : File Update Time Get Error : GetLastError = %u : File Name = %s",
                    name.constData(), error, qUtf8Printable(path));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_SEND_ERROR);
    }
    return false;
}

bool CDlkTransfer::checkAppend(CDlkRequestSend *request, const CPropertyBase &entry, SendFileAttribute &attribute)
{
    CContentsList *list = nullptr;
    QString listPath;
    if (!m_append || !getErrListInfo(entry.GetContentType(), list, listPath))
        return true;
    const int position = list->FindCode(entry.GetIndex());
    if (position < 0)
        return true;
    FileTime recorded = 0;
    if (!getErrFileDateTime(entry.GetContentType(), list, position, recorded))
        return false;
    QStringList localFiles;
    QStringList remoteFiles;
    if (!getSendFiles(request, entry, attribute.letter, localFiles, remoteFiles))
        return false;
    FileTime writeTime = 0;
    if (!readLocalFileTime(localFiles.first(), writeTime))
        return false;
    if (recorded != storedFileTime(writeTime)) {
        // The file changed since the failed upload: what the player holds is
        // of no use.
        removeErrList(entry);
        return true;
    }
    quint64 playerSize = 0;
    bool onPlayer = false;
    if (!queryPlayerFileSize(remoteFiles.first(), playerSize, onPlayer))
        return false;
    if (!onPlayer)
        return true;
    const quint64 localSize = quint64(QFileInfo(localFiles.first()).size());
    if (playerSize > localSize) {
        WriteSyslog(LOG_ERR_APP, "[%s] : Append Size Check Error(No Append) : PC=%llu : R40=%llu : Contents Index = %d",
                    qUtf8Printable(m_name), static_cast<unsigned long long>(localSize),
                    static_cast<unsigned long long>(playerSize), entry.GetIndex());
        return true;
    }
    attribute.flags |= SEND_FILE_APPEND;
    attribute.playerSize = playerSize;
    return true;
}

bool CDlkTransfer::queryPlayerFileSize(const QString &remoteFile, quint64 &size, bool &exists)
{
    CFinfCommand query;
    if (!commandBuilt(query.MakeRequest(remoteFile), query))
        return false;
    if (!m_http.SendCommand(&query)) {
        setCommandError();
        return false;
    }
    int code = 0;
    if (query.GetErrorCode(code) && (code == kSerrNoFile || code == kSerrNotFound)) {
        exists = false;
        return true;
    }
    if (!checkReplyStatus(query))
        return false;
    if (!query.GetFileSize(size)) {
        setCommandSendError(R40_ERROR_ANALYZE);
        return false;
    }
    exists = true;
    return true;
}

bool CDlkTransfer::sendRowQuery(CR40TableQuery &query, bool built, bool &empty)
{
    return commandBuilt(built, query) && sendTableQuery(query, empty);
}

bool CDlkTransfer::makePlaylistSendFileAttributes(CDlkRequestSend *request, const CPropertyBase &entry,
                                                  SendFileAttribute &attribute, QSet<qint32> &currentSequences)
{
    CPlaylistFile file;
    return decideTimetableEntry(request, entry, STBL_PLAYLIST, m_playlistRecord, file, attribute, currentSequences);
}

bool CDlkTransfer::makeScheduleSendFileAttributes(CDlkRequestSend *request, const CPropertyBase &entry,
                                                  SendFileAttribute &attribute, QSet<qint32> &currentSequences)
{
    CScheduleFile file;
    return decideTimetableEntry(request, entry, STBL_SCHEDULE, m_scheduleRecord, file, attribute, currentSequences);
}

// A playlist or schedule that the player registered after its last change
// needs nothing, and neither do the sequences its file names.
bool CDlkTransfer::decideTimetableEntry(CDlkRequestSend *request, const CPropertyBase &entry, int table,
                                        CPropertyBase &row, CTimetableFile &file, SendFileAttribute &attribute,
                                        QSet<qint32> &currentSequences)
{
    CStblCommand query;
    bool empty = false;
    if (!sendRowQuery(query, query.MakeRequest(table, entry.GetIndex()), empty))
        return false;
    if (empty || query.GetRowCount() == 0)
        return true;
    if (!query.GetRecord(row)) {
        setCommandSendError(R40_ERROR_ANALYZE);
        return false;
    }
    if (CompareSystemTime(entry.GetCreateDate(), row.GetCreateDate()) > 0)
        return true;
    attribute.flags = 0;
    QStringList files;
    if (!getSendLocalFilename(request, entry, files))
        return false;
    if (!file.Load(files.first())) {
        // Without the file its sequences are sent; the player takes them again.
        WriteSyslog(LOG_ERR_APP, "[%s] : Sequence Reference Read Error : File Name = %s", qUtf8Printable(m_name),
                    qUtf8Printable(files.first()));
        return true;
    }
    CTimetableItem item;
    for (int i = 0; i < file.GetItemCount(); ++i) {
        if (file.GetItem(i, item) && item.GetContentType() == CONTENT_SEQUENCE)
            currentSequences.insert(item.GetIndex());
    }
    return true;
}

bool CDlkTransfer::checkDisk(quint64 total, quint64 totalAV)
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_DEBUG, "[%s] : Total Size = %llu : Total Size(AV) = %llu", name.constData(),
                static_cast<unsigned long long>(total), static_cast<unsigned long long>(totalAV));
    CDrstCommand query;
    if (!commandBuilt(query.MakeRequest(), query) || !sendCommandChecked(query, LOG_DEBUG))
        return false;
    quint64 diskTotal = 0;
    quint64 remain = 0;
    quint64 diskTotalAV = 0;
    quint64 remainAV = 0;
    if (!query.IsCapacityValid() || !query.IsCapacityAVValid() || !query.GetCapacity(diskTotal, remain)
        || !query.GetCapacityAV(diskTotalAV, remainAV)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : DRST Response Invalid", name.constData());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    const SystemSettings defaults;
    const quint64 threshold = m_settings ? m_settings->Settings().R40CheckFreeThreshold : defaults.R40CheckFreeThreshold;
    const quint64 thresholdAV =
        m_settings ? m_settings->Settings().R40CheckFreeThresholdAV : defaults.R40CheckFreeThresholdAV;
    if (total > 0 && SaturatingAdd(total, threshold) > remain) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 Disk Full : Transfer Total = %llu : Threshold = %llu : R40 Free = %llu",
                    name.constData(), static_cast<unsigned long long>(total), static_cast<unsigned long long>(threshold),
                    static_cast<unsigned long long>(remain));
        setTransferState(DLK_STATE_DISK_FULL, DLK_DETAIL_DISK_FULL);
        return false;
    }
    if (totalAV > 0 && SaturatingAdd(totalAV, thresholdAV) > remainAV) {
        WriteSyslog(LOG_ERR_APP, "[%s] : R40 AV Disk Full : Transfer Total = %llu : Threshold = %llu : R40 Free = %llu",
                    name.constData(), static_cast<unsigned long long>(totalAV),
                    static_cast<unsigned long long>(thresholdAV), static_cast<unsigned long long>(remainAV));
        setTransferState(DLK_STATE_AV_DISK_FULL, DLK_DETAIL_AV_DISK_FULL);
        return false;
    }
    return true;
}
