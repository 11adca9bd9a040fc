#pragma once
// The part of a record that a file-backed content has: the material file
// ("link"), its date, picture size, length and audio level. Each content
// class says which of these groups it uses; only those are stored and sorted.

#include "model/property_base.h"

class CMediaProperty : public CPropertyBase {
public:
    enum MediaFields : unsigned {
        MEDIA_PICTURE = 1, // width and height
        MEDIA_LENGTH = 2,  // 64-bit duration and play time
        MEDIA_AUDIO = 4,   // audio-level flag and level
    };
    static constexpr int kMaxLink = 4096;
    static constexpr int kMaxPictureSide = 65535;

    // The material file name (or, for a web content, its address).
    const QString &GetLink() const { return m_link; }
    bool SetLink(const QString &link);
    // Last write time of the material file.
    const SystemTime &GetFileDate() const { return m_fileDate; }
    bool SetFileDate(const SystemTime &time);
    qint32 GetWidth() const { return m_width; }
    bool SetWidth(qint32 width);
    qint32 GetHeight() const { return m_height; }
    bool SetHeight(qint32 height);
    quint64 GetDuration() const { return m_duration; }
    void SetDuration(quint64 duration) { m_duration = duration; }
    const PlayLength &GetPlayTime() const { return m_playTime; }
    bool SetPlayTime(const PlayLength &length);
    bool GetAudioLevelFlag() const { return m_audioLevelFlag; }
    qint32 GetAudioLevel() const { return m_audioLevel; }
    // Level -1 (the player's setting) to 100.
    bool SetAudioLevel(bool use, qint32 level);

    int CompareBy(int column, const CPropertyBase &other) const override;
    void WriteFields(CPropertyWriter &writer) const override;
    FieldResult ReadField(QStringView name, const QString &text) override;

protected:
    CMediaProperty(int contentType, unsigned fields);
    unsigned mediaFields() const { return m_fields; }

private:
    unsigned m_fields;
    QString m_link;
    SystemTime m_fileDate;
    qint32 m_width = 0;
    qint32 m_height = 0;
    quint64 m_duration = 0;
    PlayLength m_playTime;
    bool m_audioLevelFlag = false;
    qint32 m_audioLevel = 0;
};

// The material file name of a media record; empty for the other records.
inline const QString &LinkOf(const CPropertyBase &record)
{
    static const QString none;
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    return media ? media->GetLink() : none;
}
