#pragma once
// The record of a playlist (type 52) or background-music list (type 53): its
// length and, for playlists, the screen resolution and orientation it was
// laid out for.

#include "model/property_base.h"

class CPlaylistProperty : public CPropertyBase {
public:
    explicit CPlaylistProperty(int listType = CONTENT_PLAYLIST);
    bool Copy(const CPropertyBase *source) override;

    // 52 playlist or 53 background-music list.
    bool SetListType(int listType);
    // How long the whole list plays: the end of its last event, a time code
    // (frames in the fourth field); OwnPlayLength gives it as a play length.
    const TimeValue &GetDuration() const { return m_duration; }
    bool SetDuration(const TimeValue &duration);
    // Id in the screen-resolution table.
    qint32 GetResolution() const { return m_resolution; }
    bool SetResolution(qint32 resolution);
    // 0 landscape, 1 portrait.
    qint32 GetOrientation() const { return m_orientation; }
    bool SetOrientation(qint32 orientation);

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

private:
    TimeValue m_duration;
    qint32 m_resolution = 0;
    qint32 m_orientation = 0;
};
