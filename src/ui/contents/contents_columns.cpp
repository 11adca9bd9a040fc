#include "ui/contents/contents_columns.h"

#include "widgets/telv_list_model.h"
#include "core/content_id.h"
#include "core/format_utils.h"
#include "core/time_utils.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/control_property.h"
#include "model/media_property.h"
#include "model/pin_p_property.h"
#include "model/playlist_property.h"
#include "model/property_checks.h"
#include "model/schedule_property.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/timetable_item.h"
#include "model/web_property.h"

#include <array>

namespace {

constexpr int L = LVCFMT_LEFT;
constexpr int R = LVCFMT_RIGHT;
constexpr int C = LVCFMT_CENTER;

// Every table begins with No., number, category and title.
#define TELV_LEAD_COLUMNS(titleWidth)                                                                        \
    {4101, COL_NO, L, 40, true, true}, {4102, COL_INDEX, C, 95, true, true},                                 \
        {4103, COL_CATEGORY, L, 100, true, true}, {4104, COL_TITLE, L, titleWidth, false, true}

constexpr ContentsColumn kFormatHidden{4136, COL_FORMAT, L, 100, true, false};
constexpr ContentsColumn kImageSize{4105, COL_IMAGE_SIZE, L, 80, true, true};
constexpr ContentsColumn kPlayTime{4106, COL_PLAY_TIME, C, 80, true, true};
constexpr ContentsColumn kUpdate{4115, COL_UPDATE, L, 150, true, true};
constexpr ContentsColumn kDelete{4116, COL_DELETE_DATE, L, 80, true, true};
constexpr ContentsColumn kSize{4117, COL_SIZE, R, 80, true, true};
constexpr ContentsColumn kFileName{4118, COL_FILE_NAME, L, 135, true, true};

constexpr ContentsColumn kVideo[] = {TELV_LEAD_COLUMNS(200), kFormatHidden, kImageSize, kPlayTime,
                                     kUpdate, kDelete, kSize, kFileName};
constexpr ContentsColumn kStreaming[] = {TELV_LEAD_COLUMNS(200), {4112, COL_ADDRESS, L, 94, true, true}, kUpdate,
                                         kDelete};
constexpr ContentsColumn kStill[] = {TELV_LEAD_COLUMNS(200), kFormatHidden, kImageSize, kUpdate, kDelete, kSize,
                                     kFileName};
constexpr ContentsColumn kUrl[] = {TELV_LEAD_COLUMNS(200), kFormatHidden, {4112, COL_ADDRESS, L, 350, true, true},
                                   kImageSize, kPlayTime, kUpdate, kDelete};
constexpr ContentsColumn kFlash[] = {TELV_LEAD_COLUMNS(200), {4136, COL_FORMAT, L, 100, true, true}, kImageSize,
                                     kPlayTime, kUpdate, kDelete, kSize, kFileName};
constexpr ContentsColumn kText[] = {TELV_LEAD_COLUMNS(380), kFormatHidden, kImageSize,
                                    {4113, COL_EFFECT, L, 80, true, true}, kUpdate, kDelete};
constexpr ContentsColumn kAudio[] = {TELV_LEAD_COLUMNS(200), kFormatHidden, kPlayTime, kUpdate, kDelete, kSize,
                                     kFileName};
constexpr ContentsColumn kControl[] = {TELV_LEAD_COLUMNS(200), {4114, COL_CONTROL_KIND, L, 150, true, true}, kUpdate,
                                       kDelete};
constexpr ContentsColumn kPinP[] = {TELV_LEAD_COLUMNS(175), {4127, COL_INPUT, L, 100, true, true}, kUpdate, kDelete};
constexpr ContentsColumn kPlaylist[] = {TELV_LEAD_COLUMNS(200), kPlayTime, {4124, COL_IMAGE_SIZE, L, 80, true, true},
                                        kUpdate, kDelete};
constexpr ContentsColumn kBgm[] = {TELV_LEAD_COLUMNS(200), kPlayTime, kUpdate, kDelete};
constexpr ContentsColumn kSchedule[] = {TELV_LEAD_COLUMNS(200),
                                        {4107, COL_START_TIME, C, 72, true, true},
                                        {4108, COL_END_TIME, C, 72, true, true},
                                        {4109, COL_START_DATE, L, 72, true, true},
                                        {4110, COL_END_DATE, L, 72, true, true},
                                        {4111, COL_WEEK, L, 80, true, true},
                                        {4125, COL_BG_COLOR, L, 60, true, true},
                                        kUpdate,
                                        {4126, COL_RECEIVED, L, 150, true, true},
                                        kDelete};

#undef TELV_LEAD_COLUMNS

// Sort column n of each kind (key 2n or 2n + 1); -1 where a kind has none.
int sortColumnOfKind(int kind)
{
    static constexpr std::array<int, 24> kColumns = {-1, 0,  1,  2,  4,  5,  6,  8,  9,  10, 11, 12,
                                                     13, -1, 14, 15, 16, 17, 18, -1, 19, 20, -1, 3};
    return kind >= 0 && kind < int(kColumns.size()) ? kColumns[size_t(kind)] : -1;
}

QString textOfEffect(qint32 effect)
{
    switch (effect) {
    case CTelopProperty::EFFECT_STEADY:
        return QStringLiteral("常時");
    case CTelopProperty::EFFECT_BLINK:
        return QStringLiteral("点滅");
    case CTelopProperty::EFFECT_SCROLL:
        return QStringLiteral("スクロール");
    default:
        return {};
    }
}

QString textOfControlKind(qint32 kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("COM 制御");
    case 2:
        return QStringLiteral("音量 制御");
    case 5:
        return QStringLiteral("ディスプレイ 制御");
    default:
        return {};
    }
}

QString textOfDate(const DateValue &date)
{
    return FormatSlashDate(date.year, date.month, date.day);
}

QString textOfDateTime(const SystemTime &time)
{
    return FormatSlashDateTime(time);
}

QString textOfTime(const TimeValue &time)
{
    return QString::asprintf("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

QString textOfSize(qint32 width, qint32 height)
{
    return QString::asprintf("%d x %d", width, height);
}

bool isZeroTime(const TimeValue &time)
{
    return time.hour == 0 && time.minute == 0 && time.second == 0;
}

QString textOfScheduleTime(const CPropertyBase &record, bool start)
{
    const auto *schedule = dynamic_cast<const CScheduleProperty *>(&record);
    if (!schedule || (isZeroTime(schedule->GetStartTime()) && isZeroTime(schedule->GetEndTime())))
        return {};
    return textOfTime(start ? schedule->GetStartTime() : schedule->GetEndTime());
}

// Picture size: URL contents only when they have one; playlists the size of
// their resolution (not touch-panel playlists); BGM lists none.
QString textOfImageSize(const CPropertyBase &record)
{
    if (const auto *playlist = dynamic_cast<const CPlaylistProperty *>(&record)) {
        if (record.GetContentType() != CONTENT_PLAYLIST || record.GetIndex() >= kTouchPanelIndexBase)
            return {};
        qint32 width = 0;
        qint32 height = 0;
        CAppData::GetResolutionSize(playlist->GetResolution(), playlist->GetOrientation(), width, height);
        return textOfSize(width, height);
    }
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    if (!media)
        return {};
    if (record.GetContentType() == 4 && (media->GetWidth() <= 0 || media->GetHeight() <= 0))
        return {};
    return textOfSize(media->GetWidth(), media->GetHeight());
}

// The length as it plays, in whole seconds (a list until its last event ends).
QString textOfPlayTime(const CPropertyBase &record)
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    if (!media && !dynamic_cast<const CPlaylistProperty *>(&record))
        return {};
    if (media && record.GetContentType() == 4 && (media->GetWidth() <= 0 || media->GetHeight() <= 0))
        return {};
    return textOfTime(PlayedLength(OwnPlayLength(&record)).Fields());
}

QString textOfAddress(const CPropertyBase &record)
{
    if (const auto *streaming = dynamic_cast<const CStreamingProperty *>(&record))
        return streaming->GetAddress();
    if (const auto *web = dynamic_cast<const CWebProperty *>(&record))
        return web->GetUrl();
    return {};
}

QString textOfFilePath(const CPropertyBase &record)
{
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    QString path;
    if (media && GetContentFolders().MakeContentFilePath(record.GetContentType(), media->GetLink(), path))
        return path;
    return {};
}

QString textOfPeriodColumn(const CPropertyBase &record, int kind)
{
    const auto *schedule = dynamic_cast<const CScheduleProperty *>(&record);
    const auto *period = dynamic_cast<const CPeriodProperty *>(&record);
    switch (kind) {
    case COL_START_DATE:
        return period ? textOfDate(period->GetStartDate()) : QString();
    case COL_END_DATE:
        return period ? textOfDate(period->GetEndDate()) : QString();
    case COL_WEEK:
        return period ? FormatWeekdays(period->GetWeek()) : QString();
    case COL_RECEIVED:
        return schedule ? textOfDateTime(schedule->GetReceivedDate()) : QString();
    default:
        return {};
    }
}

} // namespace

std::span<const ContentsColumn> ContentsColumns(int type)
{
    switch (type) {
    case 1:
        return kVideo;
    case 8:
        return kStreaming;
    case 2:
        return kStill;
    case 4:
        return kUrl;
    case 5:
        return kFlash;
    case 3:
        return kText;
    case 6:
        return kAudio;
    case 7:
        return kControl;
    case 10:
        return kPinP;
    case 52:
        return kPlaylist;
    case 53:
        return kBgm;
    case 51:
        return kSchedule;
    default:
        return {};
    }
}

QString WidestColumnText(int type, int kind)
{
    switch (kind) {
    case COL_DELETE_DATE:
    case COL_START_DATE:
    case COL_END_DATE:
        return QStringLiteral("0000/00/00");
    case COL_UPDATE:
    case COL_RECEIVED:
        return QStringLiteral("0000/00/00 00:00:00");
    case COL_ADDRESS:
        return type == CONTENT_STREAMING ? QStringLiteral("000.000.000.000") : QString();
    case COL_FILE_NAME:
        return GetContentFolders().GetContentFolder(type) + QStringLiteral("/000000000.jpeg");
    case COL_IMAGE_SIZE:
        return QStringLiteral("0000 x 0000");
    case COL_WEEK:
        // Six days: all seven show nothing.
        return FormatWeekdays(QStringLiteral("123456"));
    default:
        return QString();
    }
}

bool IsColumnAllowed(int mode, int type, int kind)
{
    if (mode != 17)
        return kind != COL_RECEIVED;
    if (kind == COL_FILE_NAME || kind == COL_FORMAT)
        return false;
    if (type == 4 && (kind == COL_IMAGE_SIZE || kind == COL_PLAY_TIME))
        return false;
    if (type == CONTENT_PLAYLIST && kind == COL_IMAGE_SIZE)
        return false;
    if (type == CONTENT_SCHEDULE && (kind == COL_UPDATE || kind == COL_BG_COLOR))
        return false;
    return true;
}

int SortKeyOfColumn(int kind, bool ascending, int type, bool remote)
{
    if (kind == COL_NO)
        return remote && type == CONTENT_SCHEDULE ? kSortKeyAsReceived : -1;
    if (kind == COL_INPUT)
        return ascending ? kSortKeyInputAscending : kSortKeyInputDescending;
    const int column = sortColumnOfKind(kind);
    if (column < 0)
        return -1;
    return 2 * column + (ascending ? 0 : 1);
}

void ColumnOfSortKey(int key, int &kind, bool &ascending)
{
    kind = COL_INDEX;
    ascending = true;
    if (key == kSortKeyAsReceived) {
        kind = COL_NO;
        return;
    }
    if (key == kSortKeyInputAscending || key == kSortKeyInputDescending) {
        kind = COL_INPUT;
        ascending = key == kSortKeyInputAscending;
        return;
    }
    for (int candidate = 0; candidate <= COL_FORMAT; ++candidate) {
        const int column = sortColumnOfKind(candidate);
        if (column >= 0 && key >= 0 && key / 2 == column) {
            kind = candidate;
            ascending = key % 2 == 0;
            return;
        }
    }
}

QString FormatSizeKb(quint64 bytes)
{
    const quint64 kb = bytes / 1024 + (bytes % 1024 ? 1 : 0);
    QString number;
    if (kb <= 999)
        number = QString::number(kb);
    else if (kb <= 999999)
        number = QString::asprintf("%llu,%03llu", kb / 1000, kb % 1000);
    else
        number = QString::asprintf("%llu,%03llu,%03llu", kb / 1000000, kb / 1000 % 1000, kb % 1000);
    return number + QStringLiteral(" KB");
}

QString FormatWeekdays(const QString &week)
{
    static const QString kNames = QStringLiteral("日月火水木金土");
    QStringList names;
    for (int day = 0; day < kNames.size(); ++day) {
        if (week.contains(WeekdayDigit(day)))
            names.append(kNames.mid(day, 1));
    }
    return names.size() == kNames.size() ? QString() : names.join(QLatin1Char(' '));
}

QString ColumnText(const CPropertyBase &record, int kind, int row)
{
    switch (kind) {
    case COL_NO:
        return QString::asprintf("%04d", row + 1);
    case COL_INDEX:
        return FormatContentIdFixed(record.GetIndex());
    case COL_CATEGORY:
        return record.GetInfo();
    case COL_TITLE:
        return record.GetTitle();
    case COL_FORMAT:
        return record.GetDataFormat();
    case COL_INPUT: {
        const auto *pinP = dynamic_cast<const CPinPProperty *>(&record);
        return pinP ? pinP->GetLink() : QString();
    }
    case COL_ADDRESS:
        return textOfAddress(record);
    case COL_SIZE:
        return FormatSizeKb(record.GetSize());
    case COL_DELETE_DATE:
        return textOfDate(record.GetDeleteDate());
    case COL_UPDATE:
        return textOfDateTime(record.GetCreateDate());
    case COL_IMAGE_SIZE:
        return textOfImageSize(record);
    case COL_PLAY_TIME:
        return textOfPlayTime(record);
    case COL_FILE_NAME:
        return textOfFilePath(record);
    case COL_EFFECT: {
        const auto *telop = dynamic_cast<const CTelopProperty *>(&record);
        return telop ? textOfEffect(telop->GetEffectType()) : QString();
    }
    case COL_CONTROL_KIND: {
        const auto *control = dynamic_cast<const CControlProperty *>(&record);
        return control ? textOfControlKind(control->GetCtrlType()) : QString();
    }
    case COL_START_TIME:
        return textOfScheduleTime(record, true);
    case COL_END_TIME:
        return textOfScheduleTime(record, false);
    default:
        return textOfPeriodColumn(record, kind);
    }
}

QString FramedColumnText(const CPropertyBase &record, int kind, int row)
{
    const QString text = ColumnText(record, kind, row);
    return text.isEmpty() ? text : QLatin1Char(' ') + text + QLatin1Char(' ');
}
