#pragma once
// Value types that the program's data and logic share with the players' world:
// calendar times split into fields, four-field time values, 64-bit file times
// and 0x00BBGGRR colour values.

#include <QtGlobal>

// A calendar date and time split into fields, as the players and the stored
// files carry it. dayOfWeek is 0 for Sunday.
struct SystemTime {
    quint16 year = 0;
    quint16 month = 0;
    quint16 dayOfWeek = 0;
    quint16 day = 0;
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 milliseconds = 0;

    friend bool operator==(const SystemTime &, const SystemTime &) = default;
};

// Hours, minutes, seconds and a fourth field that holds frames in timetables
// and milliseconds in some settings values.
struct TimeValue {
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 frame = 0;

    friend bool operator==(const TimeValue &, const TimeValue &) = default;
};

// How long a content plays: hours, minutes, seconds and milliseconds. A type
// of its own, so that a length is never counted in frames as a time code is;
// events take their length from it through EventFramesOfPlayTime.
struct PlayLength {
    quint16 hour = 0;
    quint16 minute = 0;
    quint16 second = 0;
    quint16 millisecond = 0;

    // The four fields as a time value, for the text forms and range checks a
    // length shares with times ("hh:mm:ss.nnn"); not a time code.
    constexpr TimeValue Fields() const { return {hour, minute, second, millisecond}; }
    static constexpr PlayLength FromFields(const TimeValue &fields)
    {
        return {fields.hour, fields.minute, fields.second, fields.frame};
    }

    friend bool operator==(const PlayLength &, const PlayLength &) = default;
};

// A year, month and day; year 0 means "no date".
struct DateValue {
    quint16 year = 0;
    quint16 month = 0;
    quint16 day = 0;

    friend bool operator==(const DateValue &, const DateValue &) = default;
};

// 100-nanosecond intervals since 1601-01-01, the unit of stored file times.
using FileTime = quint64;

// A colour as 0x00BBGGRR (red in the low byte).
using ColorRef = quint32;

constexpr ColorRef MakeRgb(int r, int g, int b)
{
    return ColorRef(quint8(r)) | (ColorRef(quint8(g)) << 8) | (ColorRef(quint8(b)) << 16);
}
constexpr int RedOf(ColorRef c) { return int(c & 0xFF); }
constexpr int GreenOf(ColorRef c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(ColorRef c) { return int((c >> 16) & 0xFF); }

// A window rectangle as left, top, right and bottom edges.
struct WinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const WinRect &, const WinRect &) = default;
};
