// The list class of each content type.

#include "model/audio_list.h"
#include "model/calendar_list.h"
#include "model/control_list.h"
#include "model/flash_list.h"
#include "model/img_list.h"
#include "model/movie_list.h"
#include "model/pin_p_list.h"
#include "model/playlist_list.h"
#include "model/schedule_list.h"
#include "model/streaming_list.h"
#include "model/telop_list.h"
#include "model/web_list.h"

std::unique_ptr<CContentsList> CreateContentsList(int contentType)
{
    switch (contentType) {
    case CONTENT_MOVIE:
        return std::make_unique<CMovieList>();
    case CONTENT_IMAGE:
        return std::make_unique<CImgList>();
    case CONTENT_TELOP:
        return std::make_unique<CTelopList>();
    case CONTENT_WEB:
        return std::make_unique<CWebList>();
    case CONTENT_FLASH:
        return std::make_unique<CFlashList>();
    case CONTENT_AUDIO:
        return std::make_unique<CAudioList>();
    case CONTENT_CONTROL:
        return std::make_unique<CControlList>();
    case CONTENT_STREAMING:
        return std::make_unique<CStreamingList>();
    case CONTENT_PINP:
        return std::make_unique<CPinPList>();
    case CONTENT_PLAYLIST:
    case CONTENT_BGMLIST:
        return std::make_unique<CPlaylistList>(contentType);
    case CONTENT_SCHEDULE:
        return std::make_unique<CScheduleList>();
    case CONTENT_CALENDAR:
        return std::make_unique<CCalendarList>();
    default:
        return nullptr;
    }
}
