#include "model/playlist_property.h"

#include "model/property_checks.h"
#include "model/property_fields.h"

CPlaylistProperty::CPlaylistProperty(int listType)
    : CPropertyBase(listType == CONTENT_BGMLIST ? CONTENT_BGMLIST : CONTENT_PLAYLIST)
{
}

bool CPlaylistProperty::Copy(const CPropertyBase *source)
{
    return copyFrom(*this, source);
}

bool CPlaylistProperty::SetListType(int listType)
{
    if (listType != CONTENT_PLAYLIST && listType != CONTENT_BGMLIST)
        return refuse();
    setContentType(listType);
    return accept();
}

bool CPlaylistProperty::SetDuration(const TimeValue &duration)
{
    return setChecked(IsValidTimeOfDay(duration), m_duration, duration);
}

bool CPlaylistProperty::SetResolution(qint32 resolution)
{
    return setChecked(resolution >= 0, m_resolution, resolution);
}

bool CPlaylistProperty::SetOrientation(qint32 orientation)
{
    return setChecked(orientation == 0 || orientation == 1, m_orientation, orientation);
}

int CPlaylistProperty::CompareBy(int column, const CPropertyBase &other) const
{
    const auto *list = dynamic_cast<const CPlaylistProperty *>(&other);
    if (!list)
        return CPropertyBase::CompareBy(column, other);
    switch (column) {
    case SORT_PLAY_TIME:
        return CompareTimes(m_duration, list->m_duration);
    case SORT_IMAGE_SIZE:
        if (const int c = CompareNumbers(m_resolution, list->m_resolution))
            return c;
        return CompareNumbers(m_orientation, list->m_orientation);
    default:
        return CPropertyBase::CompareBy(column, other);
    }
}

void CPlaylistProperty::WriteFields(CPropertyWriter &writer) const
{
    CPropertyBase::WriteFields(writer);
    writer.WriteField(u"playtime", TimeFieldText(m_duration));
    writer.WriteField(u"resolution", QString::number(m_resolution));
    writer.WriteField(u"orientation", QString::number(m_orientation));
}

FieldResult CPlaylistProperty::ReadField(QStringView name, const QString &text)
{
    qint64 number = 0;
    if (name == u"playtime") {
        TimeValue time;
        return FieldResultOf(ParseTimeField(text, time) && SetDuration(time));
    }
    if (name == u"resolution")
        return FieldResultOf(ParseIntField(text, 0, INT32_MAX, number) && SetResolution(qint32(number)));
    if (name == u"orientation")
        return FieldResultOf(ParseIntField(text, 0, 1, number) && SetOrientation(qint32(number)));
    return CPropertyBase::ReadField(name, text);
}
