// The frame's checks of the edited lists and the removal of a content's
// files: the models and folders are gathered here, the work is in ops.
#include "app/main_frame.h"

#include "model/app_data.h"
#include "model/contents_store.h"
#include "ops/content_file_remover.h"
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

bool CMainFrame::GetMediaInfo(int type, qint32 number, const QString &path, MediaInfo &info, quint32 &messageId)
{
    return ::GetMediaInfo(type, number, path, GetAppData().GetDataRoot(), info, messageId);
}

bool CMainFrame::DelContRealFileCommon(qint32 number, int &state, quint32 &error)
{
    const CContentFileRemover remover(CContentFileRemover::FoldersOfStore());
    return remover.DelContRealFileCommon(GetContentFolders().GetList(m_deleteType), m_deleteType, number, state,
                                         error);
}
