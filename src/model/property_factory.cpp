// The record class of each content type.

#include "model/audio_property.h"
#include "model/calendar_property.h"
#include "model/control_property.h"
#include "model/flash_property.h"
#include "model/img_property.h"
#include "model/movie_property.h"
#include "model/pin_p_property.h"
#include "model/playlist_property.h"
#include "model/schedule_property.h"
#include "model/sequence_property.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"

std::unique_ptr<CPropertyBase> CreateProperty(int contentType)
{
    switch (contentType) {
    case CONTENT_MOVIE:
        return std::make_unique<CMovieProperty>();
    case CONTENT_IMAGE:
        return std::make_unique<CImgProperty>();
    case CONTENT_TELOP:
        return std::make_unique<CTelopProperty>();
    case CONTENT_WEB:
        return std::make_unique<CWebProperty>();
    case CONTENT_FLASH:
        return std::make_unique<CFlashProperty>();
    case CONTENT_AUDIO:
        return std::make_unique<CAudioProperty>();
    case CONTENT_CONTROL:
        return std::make_unique<CControlProperty>();
    case CONTENT_STREAMING:
        return std::make_unique<CStreamingProperty>();
    case CONTENT_PINP:
        return std::make_unique<CPinPProperty>();
    case CONTENT_CALENDAR:
        return std::make_unique<CCalendarProperty>();
    case CONTENT_SCHEDULE:
        return std::make_unique<CScheduleProperty>();
    case CONTENT_PLAYLIST:
    case CONTENT_BGMLIST:
        return std::make_unique<CPlaylistProperty>(contentType);
    case CONTENT_SEQUENCE:
        return std::make_unique<CSequenceProperty>();
    default:
        return nullptr;
    }
}

bool IsPropertyType(int contentType)
{
    return CreateProperty(contentType) != nullptr;
}
