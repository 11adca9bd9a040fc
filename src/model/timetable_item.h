#pragma once
// One entry of a timetable: a span of the day (hours, minutes, seconds and
// frames at 30 per second) in which something plays. In a playlist or
// schedule file the entry names a sequence, playlist or background-music list
// by its table name; in a sequence file and in the edit models it names a
// content by its number and type, with the rectangle it is shown in.

#include "core/win_types.h"

#include <QString>

class CPropertyBase;

// The item kinds of schedule entries: those that play a list (a playlist, a
// background-music list) and those of the four content tracks.
enum ScheduleItemKind : int {
    SCHEDULE_KIND_PLAYLIST = 1,
    SCHEDULE_KIND_BGM = 6,
    SCHEDULE_KIND_CONTENT_1 = 5,
    SCHEDULE_KIND_CONTENT_2 = 9,
    SCHEDULE_KIND_CONTENT_3 = 3,
    SCHEDULE_KIND_CONTENT_4 = 8,
};

class CTimetableItem {
public:
    // Sets the number, times, content type and kind of the entry. False with
    // last error 87 (entry untouched) unless the number has the nine-digit
    // form, both times are times of day (up to 24:00:00.00) with the start
    // before the end, the type is a content type code and the kind has at
    // most two digits.
    bool Set(qint32 index, const TimeValue &start, const TimeValue &end, int contentType, int kind);
    // The rectangle on the screen; false with last error 87 for a negative size.
    bool SetRect(qint32 x, qint32 y, qint32 width, qint32 height);

    // The content or table number; -1 for an empty entry.
    qint32 GetIndex() const { return m_index; }
    const TimeValue &GetStartTime() const { return m_start; }
    const TimeValue &GetEndTime() const { return m_end; }
    int GetContentType() const { return m_contentType; }
    // The layer of a sequence entry, or the item kind of a schedule entry.
    int GetKind() const { return m_kind; }
    qint32 GetX() const { return m_x; }
    qint32 GetY() const { return m_y; }
    qint32 GetWidth() const { return m_width; }
    qint32 GetHeight() const { return m_height; }

    // Frames since midnight at 30 per second, for ordering entries.
    int GetStartFrames() const;
    int GetEndFrames() const;

    // "PL…_TBL" for a playlist or background-music list (52, 53), "SQ…_TBL"
    // for a sequence (54); empty for other types.
    QString GetTableName() const;
    // The number in a table name of the form the content type uses ("PL" for
    // 52 and 53, "SQ" for 54, then nine digits and "_TBL"); -1 for any other text.
    static qint32 ParseTableName(const QString &name, int contentType);

    friend bool operator==(const CTimetableItem &, const CTimetableItem &) = default;

private:
    qint32 m_index = -1;
    TimeValue m_start;
    TimeValue m_end;
    int m_contentType = 0;
    int m_kind = 0;
    qint32 m_x = 0;
    qint32 m_y = 0;
    qint32 m_width = 0;
    qint32 m_height = 0;
};

// Frames since midnight of a time value at 30 frames per second.
int TimeCodeToFrames(const TimeValue &time);

// The frames (30 a second) of the event that plays a content for its play
// time. Events start and end on whole seconds, so a fraction of a second
// rounds up to the next second: the event never cuts its content short. 0
// for none.
int EventFramesOfPlayTime(const PlayLength &length);
// The same event length in seconds.
int EventSecondsOfPlayTime(const PlayLength &length);
// A play time as it plays: the event's whole seconds. Lists, dialogs and
// messages show this, so every window gives the length the grid and the
// players use, while the record keeps its fraction.
PlayLength PlayedLength(const PlayLength &length);
// A record's own play length: a medium's play time, or a list's, which plays
// until its last event ends; none for other records and for null.
PlayLength OwnPlayLength(const CPropertyBase *record);
