// The frame's checks of the edited lists: the models are gathered here, the
// work is in ops.
#include "app/main_frame.h"

#include "model/contents_store.h"
#include "ops/frame_checks.h"

bool CMainFrame::CheckPlaylist(int type)
{
    const CPlaylistEditModel *model = GetContentFolders().GetPlaylistModel(type);
    return model && ::CheckPlaylist(*model, type);
}

bool CMainFrame::CheckSchedule()
{
    return ::CheckSchedule(*GetContentFolders().GetScheduleModel());
}

bool CMainFrame::CheckScheduleTime(const TimeValue &start, const TimeValue &end, int &wrongField)
{
    TimeValue powerOn;
    TimeValue powerOff;
    GetContentFolders().GetScheduleModel()->GetTimeRange(powerOn, powerOff);
    return ::CheckScheduleTime(start, end, powerOn, powerOff, wrongField);
}
