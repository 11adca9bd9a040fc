#pragma once
// The media probe behind GetMediaInfo: reads the facts of a
// material file for its content record and, for videos and still images,
// writes the content's two thumbnails.

#include "model/av_media_reader.h"
#include "model/media_info.h"

#include <QString>

// Probes the file at path as content type 1 (video), 2 (still image: JPEG or
// BMP), 3 (telop bitmap: BMP), 5 (Flash) or 6 (audio: WAV, MP3, WMA) and fills
// info. For types 1 and 2 the thumbnails "%09d.jpg" and "%09dt.jpg" of number
// are written into the type's thumbnail folder under dataRoot (none when
// dataRoot is empty); a thumbnail that cannot be written is logged and leaves
// the probe's result alone, as the content does not depend on it. Returns a
// MediaProbeResult; info is reset first and only complete on MEDIA_PROBE_OK.
int ProbeMediaFile(int contentType, qint64 number, const QString &path, const QString &dataRoot, MediaInfo &info,
                   const AvProbeLimits &limits = {});
