#include "model/schedule_edit_model.h"

#include "core/last_error.h"
#include "model/property_base.h"
#include "model/property_checks.h"
#include "model/schedule_file.h"

namespace {

std::vector<TimetableTrack> scheduleTracks()
{
    return {{SCHEDULE_KIND_PLAYLIST, 0, CONTENT_PLAYLIST}, {SCHEDULE_KIND_BGM, 0, CONTENT_BGMLIST},
            {SCHEDULE_KIND_CONTENT_1, 12, 0}, {SCHEDULE_KIND_CONTENT_2, 14, 0},
            {SCHEDULE_KIND_CONTENT_3, 20, 0}, {SCHEDULE_KIND_CONTENT_4, 22, 0}};
}

} // namespace

CScheduleEditModel::CScheduleEditModel()
    : CTimetableModel(scheduleTracks(), false)
{
}

int CScheduleEditModel::GetTrackKind(int track) const
{
    return track >= 1 && track < GetTrackCount() ? trackAt(track).key : 0;
}

void CScheduleEditModel::GetTimeRange(TimeValue &start, TimeValue &end) const
{
    start = m_rangeStart;
    end = m_rangeEnd;
}

bool CScheduleEditModel::SetTimeRange(const TimeValue &start, const TimeValue &end)
{
    if (!IsValidTimeOfDay(start) || !IsValidTimeOfDay(end)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_rangeStart = start;
    m_rangeEnd = end;
    return true;
}

bool CScheduleEditModel::IsInTimeRange(const TimeValue &start, const TimeValue &end) const
{
    const int on = TimeCodeToFrames(m_rangeStart);
    const int off = TimeCodeToFrames(m_rangeEnd);
    const int first = TimeCodeToFrames(start);
    const int last = TimeCodeToFrames(end);
    if (on == off)
        return true;
    if (on < off)
        return first >= on && last <= off;
    // Across midnight the window is on..24:00 and 00:00..off; an event lies
    // within the day, so it fits when it starts after power-on or ends
    // before power-off.
    return first >= on || last <= off;
}

bool CScheduleEditModel::Load(qint32 index)
{
    CScheduleFile file;
    return loadFiles(file, index);
}

bool CScheduleEditModel::Save(qint32 index)
{
    CScheduleFile file;
    return saveFiles(file, CONTENT_SCHEDULE, index);
}
