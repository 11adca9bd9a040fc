#include "model/timetable_item.h"

#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/last_error.h"
#include "model/media_property.h"
#include "model/playlist_property.h"
#include "model/property_checks.h"

namespace {

bool isContentTypeCode(int type)
{
    return (type >= CONTENT_MOVIE && type <= CONTENT_STREAMING) || type == CONTENT_PINP
        || type == CONTENT_EXTERNAL_INPUT || (type >= CONTENT_CALENDAR && type <= CONTENT_SEQUENCE);
}

bool isListType(int type)
{
    return type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST;
}

QString tablePrefixOf(int contentType)
{
    if (isListType(contentType))
        return QStringLiteral("PL");
    if (contentType == CONTENT_SEQUENCE)
        return QStringLiteral("SQ");
    return {};
}

} // namespace

int TimeCodeToFrames(const TimeValue &time)
{
    return ((time.hour * 60 + time.minute) * 60 + time.second) * 30 + time.frame;
}

int EventFramesOfPlayTime(const PlayLength &length)
{
    return EventSecondsOfPlayTime(length) * 30;
}

int EventSecondsOfPlayTime(const PlayLength &length)
{
    return (length.hour * 60 + length.minute) * 60 + length.second + (length.millisecond > 0 ? 1 : 0);
}

PlayLength PlayedLength(const PlayLength &length)
{
    const int seconds = EventSecondsOfPlayTime(length);
    return {quint16(seconds / 3600), quint16(seconds / 60 % 60), quint16(seconds % 60), 0};
}

PlayLength OwnPlayLength(const CPropertyBase *record)
{
    if (const auto *media = dynamic_cast<const CMediaProperty *>(record))
        return media->GetPlayTime();
    const auto *list = dynamic_cast<const CPlaylistProperty *>(record);
    if (!list)
        return {};
    // The end's frames as milliseconds, rounded up so that none is lost.
    const TimeValue &end = list->GetDuration();
    return {end.hour, end.minute, end.second, quint16((end.frame * 1000 + 29) / 30)};
}

bool CTimetableItem::Set(qint32 index, const TimeValue &start, const TimeValue &end, int contentType, int kind)
{
    const bool valid = index >= 0 && index <= kMaxContentId && IsValidTimeOfDay(start) && IsValidTimeOfDay(end)
        && TimeCodeToFrames(start) < TimeCodeToFrames(end) && isContentTypeCode(contentType) && kind >= 0
        && kind <= 99;
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_index = index;
    m_start = start;
    m_end = end;
    m_contentType = contentType;
    m_kind = kind;
    return true;
}

bool CTimetableItem::SetRect(qint32 x, qint32 y, qint32 width, qint32 height)
{
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    return true;
}

int CTimetableItem::GetStartFrames() const
{
    return TimeCodeToFrames(m_start);
}

int CTimetableItem::GetEndFrames() const
{
    return TimeCodeToFrames(m_end);
}

QString CTimetableItem::GetTableName() const
{
    if (isListType(m_contentType))
        return MakePlaylistTableName(m_index);
    if (m_contentType == CONTENT_SEQUENCE)
        return MakeSequenceTableName(m_index);
    return {};
}

qint32 CTimetableItem::ParseTableName(const QString &name, int contentType)
{
    const QString prefix = tablePrefixOf(contentType);
    static const QString suffix = QStringLiteral("_TBL");
    constexpr int kDigits = 9;
    if (prefix.isEmpty() || name.size() != prefix.size() + kDigits + suffix.size() || !name.startsWith(prefix)
        || !name.endsWith(suffix))
        return -1;
    const QStringView digits = QStringView(name).mid(prefix.size(), kDigits);
    return IsDecimalDigits(digits) ? digits.toInt() : -1;
}
