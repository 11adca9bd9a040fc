#pragma once
// What the media probe learns about a material file, and why it may refuse one.

#include "core/win_types.h"

#include <QString>
#include <QtGlobal>

// The facts a content record takes from its material file.
struct MediaInfo {
    QString title;      // the file name without its extension, at most 40 characters
    QString dataFormat; // "MPEG-2", "H.264", "JPEG", "BMP", "Flash 9", "MP3", ... at most 20 characters
    int width = 0;      // picture size in pixels; 0 for audio
    int height = 0;
    PlayLength playTime; // hours, minutes, seconds and milliseconds of the duration
    qint64 duration = 0; // play length as a frame count at 30 frames a second
    qint64 size = 0;     // file size in bytes
    SystemTime fileDate; // last write time of the file, local time
};

// Results of the probe. Every value other than MEDIA_PROBE_OK refuses the file;
// the registration shows the message named beside it.
enum MediaProbeResult : int {
    MEDIA_PROBE_OK = 0,
    MEDIA_PROBE_NOT_ACCESSIBLE = -1,   // 5201: missing, a folder, or cannot be opened for reading
    MEDIA_PROBE_NOT_SUPPORTED = 1,     // 5203: not a format of the content type, or no stream of that kind
    MEDIA_PROBE_BAD_PARAMETER = 2,     // 5203: a content type without probe, or a number out of range
    MEDIA_PROBE_DAMAGED = 3,           // 5203: recognised, but cut short or not decodable
    MEDIA_PROBE_NO_DECODER = 4,        // 5202: no decoder for the stream's coding
    MEDIA_PROBE_LIMIT_REACHED = 5,     // 5203: time or packet limit reached before the facts were known
    MEDIA_PROBE_EMPTY_FILE = 6,        // 5205
    MEDIA_PROBE_PICTURE_TOO_SMALL = 10, // 5204
    MEDIA_PROBE_PICTURE_TOO_LARGE = 11, // 5204
    MEDIA_PROBE_VIDEO_SIZE = 12,       // 5217: video frame size outside what the players play
};

// Picture sizes accepted for still images and Flash stages (each side, pixels).
constexpr int kMinPictureSide = 8;
constexpr int kMaxPictureSide = 8192;
// Telop bitmaps are long horizontal strips: wide, at most a portrait screen high.
constexpr int kMaxTelopWidth = 32767;
constexpr int kMaxTelopHeight = 1920;
// Video frames: each side 16 to 1920 pixels and at most a full-HD frame's worth
// of pixels (1920 x 1088 coded), so landscape and portrait full HD both pass.
constexpr int kMinVideoSide = 16;
constexpr int kMaxVideoSide = 1920;
constexpr qint64 kMaxVideoPixels = 1920LL * 1088;

inline bool IsVideoSizeAccepted(int width, int height)
{
    return width >= kMinVideoSide && height >= kMinVideoSide && width <= kMaxVideoSide && height <= kMaxVideoSide
        && qint64(width) * height <= kMaxVideoPixels;
}
