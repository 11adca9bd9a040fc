#include "ops/send_info.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/playlist_file.h"
#include "model/playlist_property.h"
#include "model/schedule_file.h"
#include "model/sequence_file.h"
#include "model/sequence_property.h"
#include "model/telop_property.h"
#include "ops/frame_checks.h"
#include "transfer/dlk_request_send.h"

#include <QDate>
#include <QFileInfo>

namespace {

constexpr quint32 kMsgFileMissing = 5116;
constexpr quint32 kMsgContentMissing = 5366;
// Serials above this are sample data beside the program.
constexpr int kLastLibrarySerial = 998999;
// Sequences of this kind play nothing that is sent on its own.
constexpr int kContentlessLayer = 23;

} // namespace

quint32 TypeNameId(int type)
{
    switch (type) {
    case 1: return 5681;
    case 8: return 5682;
    case 2: return 5683;
    case 4: return 5684;
    case 5: return 5685;
    case 3: return 5686;
    case 6: return 5687;
    case 7: return 5688;
    case 10: return 5689;
    case CONTENT_PLAYLIST: return 5690;
    case CONTENT_BGMLIST: return 5691;
    case CONTENT_SCHEDULE: return 5692;
    default: return 0;
    }
}

QString ContentLabel(qint32 number, int type)
{
    return QStringLiteral("%1(%2)").arg(FormatContentIdFixed(number), LoadString(TypeNameId(type)).trimmed());
}

namespace {

bool IsFileType(int type)
{
    return (type >= 1 && type <= 8) || type == 10;
}

SystemTime WriteTimeOf(const QFileInfo &file)
{
    return ToSystemTime(file.lastModified().toLocalTime());
}

} // namespace

DateValue DateOf(const SystemTime &time)
{
    return DateValue{time.year, time.month, time.day};
}

DateValue AddDays(const DateValue &date, int keepDays)
{
    const QDate end = ToQDate(date).addDays(keepDays);
    if (!end.isValid() || end.year() > kNeverDeleteDate.year)
        return kNeverDeleteDate;
    return ToDateValue(end);
}

CSendInfoBuilder::CSendInfoBuilder(CContentsStore &store, CDlkRequestSend &request, const SystemTime &sendTime,
                                   int keepDays, const QString &dataRoot, QObject *owner)
    : m_store(store)
    , m_request(request)
    , m_sendTime(sendTime)
    , m_keepDays(keepDays)
    , m_dataRoot(dataRoot)
    , m_owner(owner)
{
}

DateValue CSendInfoBuilder::GetKeepLimit() const
{
    return AddDays(DateOf(m_sendTime), m_keepDays);
}

bool CSendInfoBuilder::AddR40SendInfo(CContentsList *list, int position, CPropertyBase &record,
                                      const DateValue *deleteDate, bool noUpdate)
{
    const int type = record.GetContentType();
    bool changed = false;
    bool prepared = true;
    if (IsFileType(type))
        prepared = MakeFileSendInfo(record, deleteDate, changed);
    else if (type == CONTENT_SCHEDULE)
        prepared = AddScheduleSendInfo(record, deleteDate, changed);
    else if ((type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST) && record.GetIndex() < kTouchPanelIndexBase)
        prepared = AddPlaylistSendInfo(record, deleteDate, changed);
    if (!prepared)
        return false;
    if (!noUpdate && changed && list && !DeferUpdate(list, position, record))
        return false;
    return AddRecord(record, "AddR40SendInfo");
}

bool CSendInfoBuilder::AddRecord(const CPropertyBase &record, const char *operation)
{
    // The players keep background-music lists in their playlist table: one
    // goes into the queue as a playlist.
    CPlaylistProperty asPlaylist;
    const CPropertyBase *queued = &record;
    if (record.GetContentType() == CONTENT_BGMLIST && asPlaylist.Copy(&record)
        && asPlaylist.SetListType(CONTENT_PLAYLIST))
        queued = &asPlaylist;
    if (m_request.Add(queued))
        return true;
    WriteSyslog(LOG_ERR_APP, "%s : CDlkRequestSend::Add error : error code = %d", operation,
                int(m_request.GetLastError()));
    return false;
}

bool CSendInfoBuilder::MakeFileSendInfo(CPropertyBase &record, const DateValue *deleteDate, bool &changed)
{
    return checkContentFile(record, changed) && moveDeleteDate(record, deleteDate, changed);
}

bool CSendInfoBuilder::moveDeleteDate(CPropertyBase &record, const DateValue *deleteDate, bool &changed) const
{
    if (deleteDate) {
        if (CompareDate(*deleteDate, record.GetDeleteDate()) <= 0)
            return true;
        record.SetDeleteDate(*deleteDate);
    } else {
        // A member of a list must not vanish from the player while its list
        // still plays it: a date before the keep limit is dropped.
        if (record.GetDeleteDate().year != 0 && CompareDate(record.GetDeleteDate(), GetKeepLimit()) >= 0)
            return true;
        record.SetDeleteDate(DateValue{});
    }
    record.SetCreateDate(m_sendTime);
    changed = true;
    return true;
}

bool CSendInfoBuilder::checkContentFile(CPropertyBase &record, bool &changed)
{
    const int type = record.GetContentType();
    if (type == 3) {
        SystemTime fileDate;
        return MakeTelopSendInfo(record, fileDate);
    }
    auto *media = dynamic_cast<CMediaProperty *>(&record);
    if (!media || type > 6)
        return true;
    const QString &link = media->GetLink();
    if (type == 4 && IsHttpUrl(link))
        return true;
    QString path = link;
    if (!(type == 4 && IsAbsolutePath(link)) && !m_store.MakeContentFilePath(type, link, path))
        path.clear();
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile()) {
        return showFileMissing(record);
    }
    SystemTime written;
    bool refreshed = false;
    if (!RefreshFileFacts(record, file.absoluteFilePath(), m_dataRoot, written, refreshed, false)) {
        m_reported = true;
        return false;
    }
    changed = changed || refreshed;
    return true;
}

bool CSendInfoBuilder::showFileMissing(const CPropertyBase &record)
{
    ShowMessageFormat(m_owner, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgFileMissing,
                      FormatContentIdFixed(record.GetIndex()));
    m_reported = true;
    return false;
}

bool CSendInfoBuilder::MakeTelopSendInfo(CPropertyBase &record, SystemTime &fileDate)
{
    const auto *telop = dynamic_cast<const CTelopProperty *>(&record);
    const QStringList files = telop ? TelopFilePaths(TextFolderOf(m_dataRoot), *telop) : QStringList();
    if (files.isEmpty()) {
        WriteSyslog(LOG_ERR_APP, "MakeTelopSendInfo : telop path error : cont index = %d", record.GetIndex());
        return false;
    }
    if (!HasTelopFiles(TextFolderOf(m_dataRoot), *telop))
        return showFileMissing(record);
    const QFileInfo file(files.first());
    fileDate = WriteTimeOf(file);
    record.SetDDate(fileDate);
    return true;
}

DateValue CSendInfoBuilder::timetableDeleteDate(CPropertyBase &record, CTimetableFile &file,
                                                const DateValue *deleteDate, bool &changed) const
{
    moveDeleteDate(record, deleteDate, changed);
    file.SetDeleteDate(record.GetDeleteDate());
    // A list whose date was dropped keeps its sequences for good: they go
    // with the list, not by a date of their own.
    return !deleteDate && record.GetDeleteDate().year == 0 ? kNeverDeleteDate : record.GetDeleteDate();
}

bool CSendInfoBuilder::AddPlaylistSendInfo(CPropertyBase &record, const DateValue *deleteDate, bool &changed)
{
    int serial = 0;
    if (!SplitContentId(record.GetIndex(), nullptr, nullptr, &serial))
        return false;
    // A sample list is read from beside the program and never written
    // there: the copy that is sent goes into the library folders the
    // workers read from.
    const bool sample = serial > kLastLibrarySerial;
    const QString playlistFolder = sample ? m_store.m_secondPlaylistFolder : m_store.m_playlistFolder;
    const QString sequenceFolder = sample ? m_store.m_secondSequenceFolder : m_store.m_sequenceFolder;
    auto playlistFile = std::make_shared<CPlaylistFile>();
    CPlaylistFile &playlist = *playlistFile;
    if (!playlist.LoadFrom(playlistFolder, record.GetIndex())) {
        WriteSyslog(LOG_ERR_APP, "AddPlaylistSendInfo : playlist load error : cont index = %d : error = %u",
                    record.GetIndex(), GetLastError());
        return false;
    }
    bool dateChanged = false;
    const DateValue sequenceDate = timetableDeleteDate(record, playlist, deleteDate, dateChanged);
    if (dateChanged || sample)
        deferSave(playlistFile, m_request.GetPlaylistFolder());
    changed = changed || dateChanged;
    for (int i = 0; i < playlist.GetItemCount(); ++i) {
        CTimetableItem item;
        if (!playlist.GetItem(i, item)
            || !addSequence(item.GetIndex(), sequenceFolder, m_request.GetSequenceFolder(), sequenceDate,
                            item.GetKind() != kContentlessLayer))
            return false;
    }
    return true;
}

bool CSendInfoBuilder::AddScheduleSendInfo(CPropertyBase &record, const DateValue *deleteDate, bool &changed)
{
    auto scheduleFile = std::make_shared<CScheduleFile>();
    CScheduleFile &schedule = *scheduleFile;
    if (!schedule.LoadFrom(m_request.GetGroupScheduleFolder(), record.GetIndex())) {
        WriteSyslog(LOG_ERR_APP, "AddScheduleSendInfo : schedule load error : cont index = %d : error = %u",
                    record.GetIndex(), GetLastError());
        return false;
    }
    bool dateChanged = false;
    const DateValue sequenceDate = timetableDeleteDate(record, schedule, deleteDate, dateChanged);
    if (dateChanged)
        deferSave(scheduleFile, m_request.GetGroupScheduleFolder());
    changed = changed || dateChanged;
    for (int i = 0; i < schedule.GetItemCount(); ++i) {
        if (!addScheduleItem(schedule, i, sequenceDate))
            return false;
    }
    return true;
}

bool CSendInfoBuilder::addScheduleItem(const CTimetableFile &schedule, int position, const DateValue &deleteDate)
{
    CTimetableItem item;
    if (!schedule.GetItem(position, item))
        return false;
    const int type = item.GetContentType();
    if (type == 54) {
        const QString folder = m_request.GetGroupSequenceFolder();
        return addSequence(item.GetIndex(), folder, folder, deleteDate, true);
    }
    CContentsList *list = m_store.GetList(type);
    const int found = list ? list->FindCode(item.GetIndex()) : -1;
    std::unique_ptr<CPropertyBase> member = CreateProperty(type);
    if (found < 0 || !member || !list->Get(found, member.get())) {
        showMissing(item.GetIndex(), type);
        return false;
    }
    return AddR40SendInfo(list, found, *member, nullptr, false);
}

bool CSendInfoBuilder::addSequence(qint32 number, const QString &loadFolder, const QString &sendFolder,
                                   const DateValue &deleteDate, bool addContents)
{
    auto sequenceFile = std::make_shared<CSequenceFile>();
    CSequenceFile &sequence = *sequenceFile;
    if (!sequence.LoadFrom(loadFolder, number)) {
        WriteSyslog(LOG_ERR_APP, "AddPlaylistSendInfo : sequence load error : %s : error = %u",
                    qUtf8Printable(MakeSequenceTableName(number)), GetLastError());
        return false;
    }
    if (addContents && !AddListSendInfo(sequence))
        return false;
    CSequenceProperty record;
    sequence.SetDeleteDate(deleteDate);
    if (!record.SetIndex(number) || !record.SetTitle(sequence.GetTitle()) || !record.SetInfo(sequence.GetInfo())
        || !record.SetDeleteDate(deleteDate) || !record.SetCreateDate(m_sendTime))
        return false;
    deferSave(sequenceFile, sendFolder);
    return AddRecord(record, "AddPlaylistSendInfo");
}

bool NamesLibraryContent(const CTimetableItem &item)
{
    return item.GetIndex() != kPlaceholderIndex && item.GetContentType() != 11;
}

bool CSendInfoBuilder::AddListSendInfo(const CTimetableFile &sequence)
{
    for (int i = 0; i < sequence.GetItemCount(); ++i) {
        CTimetableItem item;
        if (!sequence.GetItem(i, item))
            return false;
        if (!NamesLibraryContent(item))
            continue;
        const int type = item.GetContentType();
        CContentsList *list = m_store.GetList(type);
        const int position = list ? list->FindCode(item.GetIndex()) : -1;
        std::unique_ptr<CPropertyBase> record = CreateProperty(type);
        if (position < 0 || !record || !list->Get(position, record.get())) {
            showMissing(item.GetIndex(), type);
            return false;
        }
        if (!AddR40SendInfo(list, position, *record, nullptr, false))
            return false;
    }
    return true;
}

bool CSendInfoBuilder::DeferUpdate(CContentsList *list, int position, const CPropertyBase &record)
{
    std::shared_ptr<CPropertyBase> copy = CreateProperty(record.GetContentType());
    if (!copy || !copy->Copy(&record))
        return false;
    m_commits.push_back([list, position, copy] {
        if (list->Update(position, copy.get()))
            return true;
        WriteSyslog(LOG_ERR_APP, "AddR40SendInfo : CContentsList::Update error : error code = %d",
                    int(list->GetLastError()));
        return false;
    });
    return true;
}

void CSendInfoBuilder::deferSave(std::shared_ptr<CTimetableFile> file, const QString &folder)
{
    m_commits.push_back([file, folder] {
        if (file->SaveTo(folder))
            return true;
        WriteSyslog(LOG_ERR_APP, "AddR40SendInfo : file save error : %09d : error = %u", file->GetIndex(),
                    GetLastError());
        return false;
    });
}

bool CSendInfoBuilder::Commit()
{
    std::vector<std::function<bool()>> commits;
    commits.swap(m_commits);
    for (const auto &commit : commits) {
        if (!commit())
            return false;
    }
    return true;
}

void CSendInfoBuilder::ShowRefusal(const QString &text)
{
    MessageBoxWithCaptionId(m_owner, text, kTitleCaption, MB_OK | MB_ICONWARNING);
    m_reported = true;
}

void CSendInfoBuilder::showMissing(qint32 number, int type)
{
    ShowMessageFormat(m_owner, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgContentMissing, ContentLabel(number, type));
    m_reported = true;
}
