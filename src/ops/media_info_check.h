#pragma once
// The media check of registration and of the file checks before sending:
// probes a material file and turns a refusal into the message that names
// the reason.

#include "model/media_info.h"

#include <QString>

// Probes path as content type 1, 2, 3, 5 or 6 (Part of the data model's media
// probe) and, for videos and still images, writes the thumbnails of number
// under dataRoot. Type 4 and other types pass without probing. On a refusal,
// messageId receives 5201 (not accessible), 5202 (no decoder), 5205 (empty
// file), 5204 (picture size), 5217 (video size) or 5203 (anything else).
bool GetMediaInfo(int type, qint64 number, const QString &path, const QString &dataRoot, MediaInfo &info,
                  quint32 &messageId);

// The message of a media probe result; 0 for MEDIA_PROBE_OK.
quint32 MediaProbeMessageId(int probeResult);
