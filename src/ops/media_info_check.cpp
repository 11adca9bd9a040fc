#include "ops/media_info_check.h"

#include "model/media_probe.h"
#include "model/property_base.h"

quint32 MediaProbeMessageId(int probeResult)
{
    switch (probeResult) {
    case MEDIA_PROBE_OK: return 0;
    case MEDIA_PROBE_NOT_ACCESSIBLE: return 5201;
    case MEDIA_PROBE_NO_DECODER: return 5202;
    case MEDIA_PROBE_EMPTY_FILE: return 5205;
    case MEDIA_PROBE_PICTURE_TOO_SMALL:
    case MEDIA_PROBE_PICTURE_TOO_LARGE: return 5204;
    case MEDIA_PROBE_VIDEO_SIZE: return 5217;
    default: return 5203;
    }
}

bool GetMediaInfo(int type, qint64 number, const QString &path, const QString &dataRoot, MediaInfo &info,
                  quint32 &messageId)
{
    messageId = 0;
    switch (type) {
    case CONTENT_MOVIE:
    case CONTENT_IMAGE:
    case CONTENT_TELOP:
    case CONTENT_FLASH:
    case CONTENT_AUDIO:
        break;
    default:
        return true;
    }
    messageId = MediaProbeMessageId(ProbeMediaFile(type, number, path, dataRoot, info));
    return messageId == 0;
}
