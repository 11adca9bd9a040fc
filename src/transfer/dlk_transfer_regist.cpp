// Request kind 5: contents registration. After the send decisions and the
// disk check (dlk_transfer_send_attributes.cpp) every queued entry is
// uploaded with its registration files and loaded by the player with "LTBL";
// the player's list files in the player folder follow each success.

#include "transfer/dlk_transfer.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/path_utils.h"
#include "core/remote_path.h"
#include "core/syslog.h"
#include "player/ltbl_command.h"
#include "transfer/dlk_request_send.h"
#include "transfer/transfer_status_xml.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Calendar send status of a queue entry.
constexpr qint32 kCalendarSent = 3;
constexpr qint32 kCalendarFailed = 4;

QString RegistStepText(const CPropertyBase &entry, quint32 flags)
{
    const QString number = FormatContentId(entry.GetIndex());
    switch (entry.GetContentType()) {
    case CONTENT_CALENDAR: return QStringLiteral("Transfer Calendar");
    case CONTENT_SCHEDULE: return QStringLiteral("Transfer Schedule(Index = %1)").arg(number);
    case CONTENT_PLAYLIST: return QStringLiteral("Transfer Playlist(Index = %1)").arg(number);
    case CONTENT_SEQUENCE: return QStringLiteral("Transfer Sequence(Index = %1)").arg(number);
    default:
        return (flags & SEND_FILE_SEND) ? QStringLiteral("Transfer Content(Index = %1)").arg(number)
                                        : QStringLiteral("Update Content(Index = %1)").arg(number);
    }
}

// The folders below "/import/web" that the files of a web content need,
// each once, in the order first met.
QStringList WebRemoteFolders(const QStringList &remoteFiles)
{
    QStringList folders;
    for (const QString &file : remoteFiles) {
        const QString folder = file.left(file.lastIndexOf(QLatin1Char('/')));
        if (folder.size() > RemoteWebRoot().size() && !folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

} // namespace

bool CDlkTransfer::transferRegist(CDlkRequestSend *request)
{
    if (m_status) {
        m_status->SetSendFileTotal(m_playerNumber, 0);
        m_status->SetCheckFileCount(m_playerNumber, 0);
        // The progress of a job counts its queue, so the totals are true
        // before the first entry is checked.
        m_status->SetCheckFileTotal(m_playerNumber, request->GetCount());
    }
    setTransferState(DLK_STATE_REGIST_BEGUN, DLK_DETAIL_NONE);
    if (!checkDlkVersion(nullptr))
        return false;
    if (m_multiSend)
        WriteSyslog(LOG_DEBUG, "[%s] : Multi Send Enable", qUtf8Printable(m_name));
    m_registFileName = registFileName("Calendar");
    m_groupFileName = registFileName("group");

    m_sentLists.clear();
    std::vector<SendFileAttribute> attributes;
    if (!makeSendFileAttributes(request, attributes))
        return false;
    setTransferState(DLK_STATE_LIST_MADE, DLK_DETAIL_NONE);
    if (m_status)
        m_status->SetSendFileTotal(m_playerNumber, m_status->GetCheckFileTotal(m_playerNumber));

    const bool sent = sendContentsFile(request, attributes);
    removeRegistFiles();
    saveSentLists();
    if (!sent || !sendPlayCommand(request))
        return false;
    return !m_calendarRefresh || refreshCalendarList();
}

void CDlkTransfer::removeRegistFiles()
{
    // Each entry's files are made afresh before its upload, and the property
    // file holds the passwords of web and camera contents: none outlives the send.
    for (const QString &name : {registFileName("property"), m_groupFileName, m_registFileName})
        QFile::remove(JoinPath(m_playerFolder, name));
}

// The player's calendar table after a calendar change, as the player now has it.
bool CDlkTransfer::refreshCalendarList()
{
    m_calendarList.RemoveAll();
    if (!sendGetCalendarList(m_calendarList, false))
        return false;
    const QString path = playerListPath(CONTENT_CALENDAR);
    if (!m_calendarList.Save(path, 0)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Save Error : File Name = %s", qUtf8Printable(m_name),
                    qUtf8Printable(path));
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    return true;
}

bool CDlkTransfer::sendContentsFile(CDlkRequestSend *request, const std::vector<SendFileAttribute> &attributes)
{
    for (int i = 0; i < request->GetCount(); ++i) {
        setContFileSize(0);
        if (checkStopRequest())
            return false;
        const CPropertyBase *entry = registEntry(request, i, "sendContentsFile");
        if (!entry)
            return false;
        setErrorIndexSource(entry->GetIndex());
        const SendFileAttribute &attribute = attributes[size_t(i)];
        const bool calendar = entry->GetContentType() == CONTENT_CALENDAR;
        if (attribute.flags != 0) {
            WriteSyslog(LOG_NOTICE, "[%s] : %s", qUtf8Printable(m_name),
                        qUtf8Printable(RegistStepText(*entry, attribute.flags)));
            if (!sendEntry(request, i, *entry, attribute)) {
                if (calendar)
                    request->SetCalendarStatus(i, kCalendarFailed);
                return false;
            }
        }
        if (calendar)
            request->SetCalendarStatus(i, kCalendarSent);
        countUnitDone();
        setErrorIndexSource(-1);
    }
    return true;
}

bool CDlkTransfer::sendEntry(CDlkRequestSend *request, int position, const CPropertyBase &entry,
                             const SendFileAttribute &attribute)
{
    // Other workers set the calendar status of the queue meanwhile.
    std::unique_ptr<CPropertyBase> record = request->CopyAt(position);
    if (!record) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::sendContentsFile : Contents Property Get Error : Index = %d",
                    qUtf8Printable(m_name), position);
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    QStringList localFiles;
    QStringList remoteFiles;
    if (!getSendFiles(request, entry, attribute.letter, localFiles, remoteFiles))
        return false;
    const bool sendFiles = (attribute.flags & SEND_FILE_SEND) != 0;
    if (entry.GetContentType() == CONTENT_CALENDAR && sendFiles) {
        if (!makeCalendarFile(request, position))
            return false;
        m_calendarRefresh = true;
    }
    const QString firstContentFile = hasLocalFiles(request, entry) ? localFiles.value(0) : QString();
    stampDeliveredFile(*record, firstContentFile);

    const qsizetype contentFiles = localFiles.size();
    if (!makeRegistXml(*record, localFiles, remoteFiles, !sendFiles))
        return false;
    if (!sendFiles) {
        // The player holds the files: only the registration travels.
        localFiles.remove(0, contentFiles);
        remoteFiles.remove(0, contentFiles);
    }
    const int uploadedContentFiles = sendFiles ? int(contentFiles) : 0;
    quint64 entryBytes = 0;
    if (!checkEntryDisk(*record, attribute, localFiles, uploadedContentFiles, entryBytes))
        return false;
    if (!uploadEntryFiles(*record, attribute, localFiles, remoteFiles, uploadedContentFiles) || !sendLoadTable()) {
        if (!firstContentFile.isEmpty())
            addErrList(*record, firstContentFile);
        return false;
    }
    setSendContFileSize(entryBytes);
    recordSentEntry(request, *record);
    return true;
}

// The registered row carries the write time of the content's file (at the
// precision the row keeps), so a later job can tell whether the player holds
// this very file.
void CDlkTransfer::stampDeliveredFile(CPropertyBase &record, const QString &firstContentFile)
{
    FileTime writeTime = 0;
    if (!firstContentFile.isEmpty() && GetFileWriteTime(firstContentFile, writeTime))
        record.SetDDate(ToSystemTime(FromFileTime(storedFileTime(writeTime), Qt::UTC)));
}

// The player's space once more for this entry's files, now with its
// registration files, against the bytes still to send; the entry's files,
// whole, join ContFileSize.
bool CDlkTransfer::checkEntryDisk(const CPropertyBase &record, const SendFileAttribute &attribute,
                                  const QStringList &localFiles, int contentFiles, quint64 &entryBytes)
{
    quint64 total = 0;
    quint64 totalAV = 0;
    entryBytes = 0;
    for (int f = 0; f < localFiles.size(); ++f) {
        const quint64 size = quint64(QFileInfo(localFiles[f]).size());
        addFileSize(record.GetContentType(), f == 0 && contentFiles > 0, size, attribute, total, totalAV);
        entryBytes = SaturatingAdd(entryBytes, size);
    }
    if (!checkDisk(total, totalAV))
        return false;
    setContFileSize(entryBytes);
    return true;
}

bool CDlkTransfer::uploadEntryFiles(const CPropertyBase &record, const SendFileAttribute &attribute,
                                    const QStringList &localFiles, const QStringList &remoteFiles, int contentFiles)
{
    m_contentSizeCounting = true;
    const bool uploaded = (record.GetContentType() != CONTENT_WEB
                           || makeWebRemoteFolders(remoteFiles.mid(0, contentFiles)))
                          && uploadFiles(attribute, localFiles, remoteFiles, contentFiles);
    m_contentSizeCounting = false;
    return uploaded;
}

bool CDlkTransfer::makeWebRemoteFolders(const QStringList &remoteFiles)
{
    for (const QString &folder : WebRemoteFolders(remoteFiles)) {
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Local URL Create Directory : %s", qUtf8Printable(m_name),
                    qUtf8Printable(folder));
        if (!m_http.MakeDirectory(folder)) {
            setSendFileError(QString(), folder);
            return false;
        }
    }
    return true;
}

bool CDlkTransfer::uploadFiles(const SendFileAttribute &attribute, const QStringList &localFiles,
                               const QStringList &remoteFiles, int contentFiles)
{
    const QByteArray name = m_name.toUtf8();
    for (int f = 0; f < localFiles.size(); ++f) {
        const QString &local = localFiles[f];
        const QString &remote = remoteFiles[f];
        if (f == 0 && contentFiles > 0 && (attribute.flags & SEND_FILE_APPEND)) {
            // A partial copy that is already whole needs nothing more.
            if (attribute.playerSize >= quint64(QFileInfo(local).size()))
                continue;
            WriteSyslog(LOG_NOTICE, "[%s] : R40 Send File(Append) : PC(%s) -> DLK(%s)", name.constData(),
                        qUtf8Printable(local), qUtf8Printable(remote));
            addSendContFileSize(attribute.playerSize);
            if (!m_http.SendFile(local, remote, attribute.playerSize)) {
                setSendFileError(local, remote);
                return false;
            }
            WriteSyslog(LOG_NOTICE, "[%s] : R40 Send File(Append) : OK", name.constData());
            continue;
        }
        if (!uploadWhole(local, remote, "DLK"))
            return false;
        WriteSyslog(LOG_NOTICE, "[%s] : R40 Send File : OK", name.constData());
    }
    return true;
}

bool CDlkTransfer::sendLoadTable()
{
    CLtblCommand command;
    return commandBuilt(command.MakeRequest(MakeRemoteGroupPath(m_groupFileName)), command)
        && sendCommandStep(command);
}

// The entry joins the player's list of its type, or replaces its row there.
// The lists are written once the job's entries are done, whether they all
// went or not: writing a whole list after every entry would make a long queue
// cost its square.
void CDlkTransfer::recordSentEntry(CDlkRequestSend *request, const CPropertyBase &record)
{
    removeErrList(record);
    CContentsList *list = sentList(record.GetContentType());
    std::unique_ptr<CPropertyBase> row = CreateProperty(record.GetContentType());
    if (!list || !row || !row->Copy(&record))
        return;
    if (row->GetContentType() == CONTENT_CALENDAR)
        static_cast<CCalendarProperty &>(*row).SetDate(GetLocalTime());
    else if (row->GetContentType() == CONTENT_WEB && request->HasPackagePath())
        static_cast<CWebProperty &>(*row).SetUrl(request->GetPackagePath());
    const int position = list->FindCode(row->GetIndex());
    if (position >= 0 ? list->Update(position, row.get()) : list->Add(row.get()))
        m_sentLists[record.GetContentType()].changed = true;
}

// A list file that does not read is left as it is rather than replaced by a
// list holding only what this job sent.
CContentsList *CDlkTransfer::sentList(int contentType)
{
    const QString path = playerListPath(contentType);
    if (path.isEmpty())
        return nullptr;
    const auto known = m_sentLists.find(contentType);
    if (known != m_sentLists.end())
        return known->second.list.get();
    std::unique_ptr<CContentsList> list = CreateContentsList(contentType);
    if (list && !list->Load(path)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Load Error : File Name = %s", qUtf8Printable(m_name),
                    qUtf8Printable(path));
        list.reset();
    }
    return m_sentLists.emplace(contentType, SentList{std::move(list), false}).first->second.list.get();
}

void CDlkTransfer::saveSentLists()
{
    for (const auto &[contentType, sent] : m_sentLists) {
        const QString path = playerListPath(contentType);
        if (sent.changed && !sent.list->Save(path, 0))
            WriteSyslog(LOG_ERR_APP, "[%s] : CContentsList::Save Error : File Name = %s", qUtf8Printable(m_name),
                        qUtf8Printable(path));
    }
    m_sentLists.clear();
}
