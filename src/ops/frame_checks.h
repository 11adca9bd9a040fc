#pragma once
// The checks the main frame runs before a playlist or schedule is saved,
// printed or sent, the sample-data guard, and the refresh of a content's file
// facts before it is sent. Each check shows its refusal through the message
// prompter (warning icon, OK) and returns false on the first failure.

#include "core/content_id.h"
#include "core/win_types.h"
#include "model/media_info.h"

#include <QString>

class CPlaylistEditModel;
class CPropertyBase;
class CScheduleEditModel;

// Used cells (gaps left out) a playlist or background-music list may hold.
constexpr int kMaxPlaylistCells = 2000;
// Events a schedule may hold. The spoken limit of the playlists is taken for
// schedules too.
constexpr int kMaxScheduleEvents = 2000;
// The latest end of a list's last row, in seconds (23:55:00).
constexpr int kMaxPlaylistSeconds = 86100;
// The shortest list and the shortest schedule entry, in seconds.
constexpr int kMinPlaySeconds = 5;
// The refusal of a list or timetable that would end too late in the day.
inline constexpr quint32 kMsgTooLong = 5210;
// The refusals of an event shorter than kMinPlaySeconds, and of one that
// runs past midnight.
inline constexpr quint32 kMsgEventTooShort = 5246;
inline constexpr quint32 kMsgPast24 = 5229;

// Hours, minutes and seconds of a time value as seconds of the day.
int SecondsOf(const TimeValue &time);

// The edited playlist (52) or background-music list (53): rows, tracks, no
// row without play, at most 2000 used cells, an end from 5 seconds to
// 23:55:00.
bool CheckPlaylist(const CPlaylistEditModel &model, int type);
// The edited schedule: rows, at most eventLimit events, every event inside
// the model's operating window, no event past 24:00:00.
bool CheckSchedule(const CScheduleEditModel &model, int eventLimit = kMaxScheduleEvents);

// Which field of a schedule entry CheckScheduleTime refused.
enum ScheduleTimeField : int { SCHEDULE_TIME_START = 0, SCHEDULE_TIME_END = 1 };
// One schedule entry from start to end against the operating window from
// powerOn to powerOff (equal: no window; powerOn later: it spans midnight).
bool CheckScheduleTime(const TimeValue &start, const TimeValue &end, const TimeValue &powerOn,
                       const TimeValue &powerOff, int &wrongField);

// A touch-panel playlist cannot be previewed or played by interrupt (5296).
bool CheckTouchPanelPreview(int type, qint32 number);

// The message that refuses a file for a media probe result.
quint32 MediaProbeMessageId(int probeResult);
// Probes the material file of types 1, 2, 3, 5 and 6 (other types succeed
// untouched). On failure messageId receives the refusal's message.
bool GetMediaInfo(int type, qint32 number, const QString &path, const QString &dataRoot, MediaInfo &info,
                  quint32 &messageId);

// Takes the facts of a content's material file into its record before it is
// sent: date receives the file's last write time and becomes the record's
// delivery date; when the file changed since it was registered, videos and
// stills are probed again and the record takes the new facts (changed set).
// False for a record without a material file, a missing file, or a failed
// probe (its message shown unless silent).
bool RefreshFileFacts(CPropertyBase &record, const QString &path, const QString &dataRoot, SystemTime &date,
                      bool &changed, bool silent);
