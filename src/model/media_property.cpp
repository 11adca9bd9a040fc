#include "model/media_property.h"

#include "core/time_utils.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

CMediaProperty::CMediaProperty(int contentType, unsigned fields)
    : CPropertyBase(contentType)
    , m_fields(fields)
{
}

bool CMediaProperty::SetLink(const QString &link)
{
    return setChecked(link.size() <= kMaxLink, m_link, link);
}

bool CMediaProperty::SetFileDate(const SystemTime &time)
{
    return setChecked(IsValidSystemTime(time, true), m_fileDate, time);
}

bool CMediaProperty::SetWidth(qint32 width)
{
    return setChecked(width >= 0 && width <= kMaxPictureSide, m_width, width);
}

bool CMediaProperty::SetHeight(qint32 height)
{
    return setChecked(height >= 0 && height <= kMaxPictureSide, m_height, height);
}

bool CMediaProperty::SetPlayTime(const PlayLength &length)
{
    return setChecked(IsValidTimeValue(length.Fields(), 99, 999), m_playTime, length);
}

bool CMediaProperty::SetAudioLevel(bool use, qint32 level)
{
    if (level < -1 || level > 100)
        return refuse();
    m_audioLevelFlag = use;
    m_audioLevel = level;
    return accept();
}

int CMediaProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&other);
    if (!media)
        return CPropertyBase::CompareBy(column, other);
    switch (column) {
    case SORT_IMAGE_SIZE:
        if (const int c = CompareNumbers(m_width, media->m_width))
            return c;
        return CompareNumbers(m_height, media->m_height);
    case SORT_PLAY_TIME:
        return ComparePlayLengths(m_playTime, media->m_playTime);
    case SORT_FILE_NAME:
    case SORT_ADDRESS:
        return CompareText(m_link, media->m_link);
    default:
        return CPropertyBase::CompareBy(column, other);
    }
}

void CMediaProperty::WriteFields(CPropertyWriter &writer) const
{
    CPropertyBase::WriteFields(writer);
    writer.WriteField(u"link", m_link);
    if (m_fileDate.month != 0)
        writer.WriteField(u"filedate", DateTimeFieldText(m_fileDate));
    if (m_fields & MEDIA_PICTURE) {
        writer.WriteField(u"width", QString::number(m_width));
        writer.WriteField(u"height", QString::number(m_height));
    }
    if (m_fields & MEDIA_LENGTH) {
        writer.WriteField(u"duration", QString::number(m_duration));
        writer.WriteField(u"playtime", TimeFieldText(m_playTime.Fields()));
    }
    if ((m_fields & MEDIA_AUDIO) && m_audioLevelFlag)
        writer.WriteField(u"audiolevel", QString::number(m_audioLevel));
}

FieldResult CMediaProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"link")
        return FieldResultOf(SetLink(text));
    if (name == u"filedate") {
        SystemTime time;
        return FieldResultOf(ParseDateTimeField(text, time) && SetFileDate(time));
    }
    if ((m_fields & MEDIA_PICTURE) && name == u"width")
        return FieldResultOf(ParseIntField(text, 0, kMaxPictureSide, number) && SetWidth(qint32(number)));
    if ((m_fields & MEDIA_PICTURE) && name == u"height")
        return FieldResultOf(ParseIntField(text, 0, kMaxPictureSide, number) && SetHeight(qint32(number)));
    if ((m_fields & MEDIA_LENGTH) && name == u"duration")
        return FieldResultOf(ParseUInt64Field(text, m_duration));
    if ((m_fields & MEDIA_LENGTH) && name == u"playtime") {
        TimeValue fields;
        return FieldResultOf(ParseTimeField(text, fields) && SetPlayTime(PlayLength::FromFields(fields)));
    }
    if ((m_fields & MEDIA_AUDIO) && name == u"audiolevel")
        return FieldResultOf(ParseIntField(text, -1, 100, number) && SetAudioLevel(true, qint32(number)));
    return CPropertyBase::ReadField(name, text);
}
