#include "transfer/dlk_request_send.h"

#include "core/last_error.h"
#include "core/path_utils.h"
#include "model/calendar_property.h"
#include "model/property_base.h"

namespace {

// The content types a player registers: media 1 to 8, picture-in-picture,
// calendars, schedules, playlists and sequences. Background-music lists (53)
// are not sent on their own.
bool IsSendableType(int type)
{
    switch (type) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_TELOP:
    case CONTENT_WEB:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
    case CONTENT_CONTROL:
    case CONTENT_STREAMING:
    case CONTENT_PINP:
    case CONTENT_CALENDAR:
    case CONTENT_SCHEDULE:
    case CONTENT_PLAYLIST:
    case CONTENT_SEQUENCE:
        return true;
    default:
        return false;
    }
}

// An empty path leaves a folder unset.
bool IsAcceptedFolder(const QString &path)
{
    return path.isEmpty() || IsValidFolderPath(path);
}

CCalendarProperty *AsCalendar(CPropertyBase *entry)
{
    return entry->GetContentType() == CONTENT_CALENDAR ? static_cast<CCalendarProperty *>(entry) : nullptr;
}

} // namespace

CDlkRequestSend::CDlkRequestSend()
    : CDlkRequest(DLK_REQUEST_SEND)
{
    m_playValues.fill(-1);
}

CDlkRequestSend::~CDlkRequestSend() = default;

int CDlkRequestSend::findLocked(qint32 contentIndex, int contentType) const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const CPropertyBase &entry = *m_entries[i];
        if (entry.GetIndex() == contentIndex && entry.GetContentType() == contentType)
            return int(i);
    }
    return -1;
}

int CDlkRequestSend::Find(qint32 contentIndex, int contentType) const
{
    std::lock_guard guard(m_lock);
    return findLocked(contentIndex, contentType);
}

int CDlkRequestSend::GetCount() const
{
    std::lock_guard guard(m_lock);
    return int(m_entries.size());
}

const CPropertyBase *CDlkRequestSend::GetAt(int position) const
{
    std::lock_guard guard(m_lock);
    if (position < 0 || size_t(position) >= m_entries.size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return m_entries[size_t(position)].get();
}

std::unique_ptr<CPropertyBase> CDlkRequestSend::CopyAt(int position) const
{
    std::lock_guard guard(m_lock);
    if (position < 0 || size_t(position) >= m_entries.size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const CPropertyBase &entry = *m_entries[size_t(position)];
    std::unique_ptr<CPropertyBase> copy = CreateProperty(entry.GetContentType());
    if (!copy || !copy->Copy(&entry)) {
        SetLastError(ERROR_OUTOFMEMORY);
        return nullptr;
    }
    return copy;
}

// The record is copied into a fresh entry first, so a failed copy never
// leaves a half-overwritten entry in the queue.
bool CDlkRequestSend::Add(const CPropertyBase *record)
{
    if (!record || HasPackagePath())
        return fail(ERROR_INVALID_PARAMETER);
    const int type = record->GetContentType();
    std::lock_guard guard(m_lock);
    const int position = findLocked(record->GetIndex(), type);
    if (position < 0 && !IsSendableType(type))
        return fail(ERROR_INVALID_PARAMETER);
    std::unique_ptr<CPropertyBase> copy = CreateProperty(type);
    if (!copy)
        return fail(ERROR_OUTOFMEMORY);
    if (!copy->Copy(record))
        return fail(copy->GetLastError());
    if (position >= 0)
        m_entries[size_t(position)] = std::move(copy);
    else
        m_entries.push_back(std::move(copy));
    clearError();
    return true;
}

bool CDlkRequestSend::setFolders(QString &first, const QString &firstPath, QString *second,
                                 const QString &secondPath)
{
    if (!IsAcceptedFolder(firstPath) || (second && !IsAcceptedFolder(secondPath)))
        return fail(ERROR_INVALID_PARAMETER);
    first = WithoutTrailingSeparator(firstPath);
    if (second)
        *second = WithoutTrailingSeparator(secondPath);
    return true;
}

bool CDlkRequestSend::SetPlaylistFolders(const QString &playlistFolder, const QString &sequenceFolder)
{
    return setFolders(m_playlistFolder, playlistFolder, &m_sequenceFolder, sequenceFolder);
}

bool CDlkRequestSend::SetWorkPlaylistFolders(const QString &playlistFolder, const QString &sequenceFolder)
{
    return setFolders(m_workPlaylistFolder, playlistFolder, &m_workSequenceFolder, sequenceFolder);
}

bool CDlkRequestSend::SetGroupFolders(const QString &scheduleFolder, const QString &sequenceFolder)
{
    return setFolders(m_groupScheduleFolder, scheduleFolder, &m_groupSequenceFolder, sequenceFolder);
}

bool CDlkRequestSend::SetTextFolder(const QString &folder)
{
    return setFolders(m_textFolder, folder, nullptr, QString());
}

bool CDlkRequestSend::SetPlayParameter(qint32 playType, qint32 contentIndex, qint32 value8, qint32 value1,
                                       qint32 value2, qint32 value3, qint32 value4, qint32 value5,
                                       qint32 value6, qint32 value7)
{
    m_playType = playType;
    m_contentIndex = contentIndex;
    m_playValues = {value1, value2, value3, value4, value5, value6, value7, value8};
    return true;
}

void CDlkRequestSend::GetPlayParameter(qint32 &playType, qint32 &contentIndex) const
{
    playType = m_playType;
    contentIndex = m_contentIndex;
}

qint32 CDlkRequestSend::GetPlayValue(int number) const
{
    if (number < 1 || number > kPlayValueCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return m_playValues[size_t(number - 1)];
}

bool CDlkRequestSend::ResetCalendarStatus()
{
    std::lock_guard guard(m_lock);
    for (const auto &entry : m_entries) {
        if (CCalendarProperty *calendar = AsCalendar(entry.get()))
            calendar->SetStatus(2);
    }
    return true;
}

bool CDlkRequestSend::SetCalendarStatus(int position, qint32 status)
{
    std::lock_guard guard(m_lock);
    if (position < 0 || size_t(position) >= m_entries.size())
        return fail(ERROR_INVALID_PARAMETER);
    CCalendarProperty *calendar = AsCalendar(m_entries[size_t(position)].get());
    if (calendar && calendar->GetStatus() != 4)
        calendar->SetStatus(status);
    return true;
}

CDlkRequest *CDlkRequestSend::Create() const
{
    return new (std::nothrow) CDlkRequestSend;
}

bool CDlkRequestSend::CopyFrom(const CDlkRequest *other)
{
    if (other == this)
        return fail(ERROR_INVALID_PARAMETER);
    const auto *source = dynamic_cast<const CDlkRequestSend *>(other);
    if (other && !source)
        return fail(ERROR_INVALID_PARAMETER);
    if (!CDlkRequest::CopyFrom(other))
        return false;
    {
        // The source's calendar statuses may be changing on other threads.
        std::lock_guard sourceGuard(source->m_lock);
        for (const auto &entry : source->m_entries) {
            if (!Add(entry.get()))
                return false;
        }
    }
    m_playType = source->m_playType;
    m_contentIndex = source->m_contentIndex;
    m_playValues = source->m_playValues;
    m_playlistFolder = source->m_playlistFolder;
    m_sequenceFolder = source->m_sequenceFolder;
    m_groupScheduleFolder = source->m_groupScheduleFolder;
    m_groupSequenceFolder = source->m_groupSequenceFolder;
    m_textFolder = source->m_textFolder;
    m_workPlaylistFolder = source->m_workPlaylistFolder;
    m_workSequenceFolder = source->m_workSequenceFolder;
    m_packagePath = source->m_packagePath;
    clearError();
    return true;
}

void CDlkRequestSend::Release()
{
    delete this;
}
