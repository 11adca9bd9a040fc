#include "ops/frame_checks.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/time_utils.h"
#include "core/message_box.h"
#include "model/media_probe.h"
#include "model/media_property.h"
#include "model/playlist_edit_model.h"
#include "model/schedule_edit_model.h"

#include <QFileInfo>

namespace {

constexpr quint32 kWarning = MB_OK | MB_ICONWARNING;

constexpr quint32 kMsgPlaylistCells = 5102;
constexpr quint32 kMsgScheduleEvents = 5104;
constexpr quint32 kMsgAccess = 5201;
constexpr quint32 kMsgNoDecoder = 5202;
constexpr quint32 kMsgNotSupported = 5203;
constexpr quint32 kMsgPictureSize = 5204;
constexpr quint32 kMsgEmptyFile = 5205;
constexpr quint32 kMsgTimeWithoutPlay = 5209;
constexpr quint32 kMsgTooShort = 5211;
constexpr quint32 kMsgVideoSize = 5217;
constexpr quint32 kMsgOutsideWindow = 5228;
constexpr quint32 kMsgNoEvents = 5248;
constexpr quint32 kMsgTouchPanelPreview = 5296;
constexpr quint32 kMsgBgmCells = 5346;
constexpr quint32 kMsgNearPowerEdge = 5353;
constexpr quint32 kMsgOffPeriod = 5354;

constexpr int kDaySeconds = 86400;

bool refuse(quint32 id)
{
    ShowMessage(nullptr, id, kTitleCaption, kWarning);
    return false;
}

bool refuseWithCount(quint32 id, int count)
{
    ShowMessageFormat(nullptr, kTitleCaption, kWarning, id, count);
    return false;
}

// True when some item track of the row is used (gaps counting).
bool rowPlays(const CPlaylistEditModel &model, int row)
{
    for (int track = 1; track < model.GetTrackCount(); ++track) {
        if (model.IsCellUsed(row, track, true))
            return true;
    }
    return false;
}

int usedCells(const CTimetableModel &model)
{
    int count = 0;
    for (int row = 0; row < model.GetRowCount(); ++row) {
        for (int track = 1; track < model.GetTrackCount(); ++track)
            count += model.IsCellUsed(row, track, false) ? 1 : 0;
    }
    return count;
}

// Calls visit with every event that starts in a cell of the model.
template <typename Visit>
bool allEvents(const CTimetableModel &model, Visit visit)
{
    for (int row = 0; row < model.GetRowCount(); ++row) {
        for (int track = 1; track < model.GetTrackCount(); ++track) {
            TimetableCell cell;
            if (model.GetItem(row, track, cell) && cell.kind != 0 && !cell.gap && !visit(cell.item))
                return false;
        }
    }
    return true;
}

bool isInOffPeriod(int seconds, int powerOn, int powerOff)
{
    return seconds > powerOff && seconds < powerOn;
}

// Video, still image, Flash, audio and web records carry a material file.
bool hasMaterialFile(int type)
{
    switch (type) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
        return true;
    default:
        return false;
    }
}

} // namespace

int SecondsOf(const TimeValue &time)
{
    return time.hour * 3600 + time.minute * 60 + time.second;
}

bool CheckPlaylist(const CPlaylistEditModel &model, int type)
{
    const int rows = model.GetRowCount();
    if (rows < 1)
        return refuse(kMsgNoEvents);
    if (model.GetTrackCount() < 2)
        return refuse(kMsgTimeWithoutPlay);
    for (int row = 0; row < rows; ++row) {
        if (!rowPlays(model, row))
            return refuse(kMsgTimeWithoutPlay);
    }
    if (usedCells(model) > kMaxPlaylistCells)
        return refuseWithCount(type == CONTENT_PLAYLIST ? kMsgPlaylistCells : kMsgBgmCells, kMaxPlaylistCells);
    TimeValue end;
    model.GetEndTime(rows - 1, end);
    // The text of 5210 speaks of 23h50m; the limit the players take is 23:55:00.
    if (SecondsOf(end) > kMaxPlaylistSeconds)
        return refuse(kMsgTooLong);
    if (SecondsOf(end) < kMinPlaySeconds)
        return refuse(kMsgTooShort);
    return true;
}

bool CheckSchedule(const CScheduleEditModel &model, int eventLimit)
{
    if (model.GetRowCount() < 1)
        return refuse(kMsgNoEvents);
    const int events = model.GetItemCount();
    if (events > eventLimit)
        return refuseWithCount(kMsgScheduleEvents, eventLimit);
    TimeValue powerOn;
    TimeValue powerOff;
    model.GetTimeRange(powerOn, powerOff);
    if (!(powerOn == powerOff)) {
        const bool inside = allEvents(model, [&model](const CTimetableItem &item) {
            return model.IsInTimeRange(item.GetStartTime(), item.GetEndTime());
        });
        if (!inside)
            return refuse(kMsgOutsideWindow);
    }
    int latestEnd = 0;
    allEvents(model, [&latestEnd](const CTimetableItem &item) {
        latestEnd = std::max(latestEnd, SecondsOf(item.GetEndTime()));
        return true;
    });
    if (latestEnd > kDaySeconds)
        return refuse(kMsgPast24);
    if (events == 0)
        return refuse(kMsgNoEvents);
    return true;
}

bool CheckScheduleTime(const TimeValue &start, const TimeValue &end, const TimeValue &powerOn,
                       const TimeValue &powerOff, int &wrongField)
{
    const int first = SecondsOf(start);
    const int last = SecondsOf(end);
    const int on = SecondsOf(powerOn);
    const int off = SecondsOf(powerOff);
    auto refuseField = [&wrongField](quint32 id, int field) {
        wrongField = field;
        return refuse(id);
    };
    if (last - first < kMinPlaySeconds)
        return refuseField(kMsgEventTooShort, SCHEDULE_TIME_END);
    if (on < off) {
        if (first < on || first > off)
            return refuseField(kMsgOffPeriod, SCHEDULE_TIME_START);
        if (last <= on || last > off)
            return refuseField(kMsgOffPeriod, SCHEDULE_TIME_END);
    } else if (on > off) {
        if (first <= off && off - first < kMinPlaySeconds)
            return refuseField(kMsgNearPowerEdge, SCHEDULE_TIME_START);
        if (isInOffPeriod(first, on, off))
            return refuseField(kMsgOffPeriod, SCHEDULE_TIME_START);
        if (isInOffPeriod(last, on, off))
            return refuseField(kMsgOffPeriod, SCHEDULE_TIME_END);
        if (last >= on && last - on < kMinPlaySeconds)
            return refuseField(kMsgNearPowerEdge, SCHEDULE_TIME_END);
    }
    return true;
}

bool CheckTouchPanelPreview(int type, qint32 number)
{
    if (type == CONTENT_PLAYLIST && number >= kTouchPanelIndexBase)
        return refuse(kMsgTouchPanelPreview);
    return true;
}

quint32 MediaProbeMessageId(int probeResult)
{
    switch (probeResult) {
    case MEDIA_PROBE_NOT_ACCESSIBLE:
        return kMsgAccess;
    case MEDIA_PROBE_NO_DECODER:
        return kMsgNoDecoder;
    case MEDIA_PROBE_EMPTY_FILE:
        return kMsgEmptyFile;
    case MEDIA_PROBE_PICTURE_TOO_SMALL:
    case MEDIA_PROBE_PICTURE_TOO_LARGE:
        return kMsgPictureSize;
    case MEDIA_PROBE_VIDEO_SIZE:
        return kMsgVideoSize;
    default:
        return kMsgNotSupported;
    }
}

bool GetMediaInfo(int type, qint32 number, const QString &path, const QString &dataRoot, MediaInfo &info,
                  quint32 &messageId)
{
    messageId = 0;
    switch (type) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
        break;
    default:
        return true;
    }
    const int result = ProbeMediaFile(type, number, path, dataRoot, info);
    if (result == MEDIA_PROBE_OK)
        return true;
    messageId = MediaProbeMessageId(result);
    return false;
}

bool RefreshFileFacts(CPropertyBase &record, const QString &path, const QString &dataRoot, SystemTime &date,
                      bool &changed, bool silent)
{
    changed = false;
    const int type = record.GetContentType();
    auto *media = dynamic_cast<CMediaProperty *>(&record);
    if (!hasMaterialFile(type) || !media)
        return false;
    const QFileInfo file(path);
    if (!file.exists())
        return false;
    date = ToSystemTime(file.lastModified().toLocalTime());
    // Stored dates carry no weekday, fresh ones do: compare the date and time only.
    if (CompareSystemTime(media->GetFileDate(), date) != 0) {
        if (type == 1 || type == 2) {
            MediaInfo info;
            quint32 messageId = 0;
            if (!GetMediaInfo(type, record.GetIndex(), path, dataRoot, info, messageId)) {
                if (!silent)
                    refuse(messageId);
                return false;
            }
            if (type == 1) {
                media->SetDuration(quint64(info.duration));
                media->SetPlayTime(info.playTime);
            }
        }
        record.SetCreateDate(ToSystemTime(Clock().now()));
        media->SetFileDate(date);
        record.SetSize(quint64(file.size()));
        changed = true;
    }
    record.SetDDate(date);
    return true;
}
