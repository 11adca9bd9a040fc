// The frame's layout entry points: the templates, the edited playlist and
// the layout-check preview are gathered here, the work is in ops.
#include "app/main_frame.h"

#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "ops/layout_selection.h"

#include <QCoreApplication>

bool CMainFrame::ApplyLayout(bool makeCurrent, qint32 number, qint32 displayMode, LayoutTemplate::Areas *areas)
{
    CAppData &data = GetAppData();
    LayoutTemplate::Areas found{};
    if (!data.GetLayoutTemplates().Lookup(number, displayMode, found))
        return false;
    if (makeCurrent)
        ::ApplyLayout(data, number, displayMode);
    if (areas)
        *areas = found;
    return true;
}

void CMainFrame::ApplyLayoutToPlaylist(int row, bool keep, bool close)
{
    CPlaylistEditModel *model = GetContentFolders().GetPlaylistModel(52);
    if (!keep && model && LayoutPlaylistRow(*model, row, GetLayoutAreas(false)))
        NotifyEditListChanged(52, 0);
    if (close) {
        SaveViewState(VIEW_SET_LAYOUT);
        for (int index : {PANE_LAYOUT, PANE_LAYOUT_PROP}) {
            if (CTelvPaneDlg *pane = GetViewPane(index))
                pane->hide();
        }
    }
    SelectEditPlaylist(row, 0);
}

bool CMainFrame::ApplyPlaylistLayout()
{
    const CurrentLayout &layout = GetContentFolders().GetPlaylistLayout();
    return ::ApplyLayout(GetAppData(), layout.number, layout.displayMode);
}

void CMainFrame::UpdateLayoutPreview(int row, bool edited)
{
    CContentsStore &store = GetContentFolders();
    const CPlaylistEditModel *model = edited ? store.GetPlaylistModel(52) : store.GetSecondPlaylistModel(52);
    if (!model)
        return;
    const PreviewFolders folders{GetAppData().GetDataRoot(), QCoreApplication::applicationDirPath()};
    ::UpdateLayoutPreview(*model, row, false, store, folders, store.GetLayoutPreview());
}

bool CMainFrame::PlaylistSavePreview(int type, CPlaylistProperty &record)
{
    CPlaylistEditModel *model = GetContentFolders().GetPlaylistModel(type);
    if (!model) {
        WriteSyslog(LOG_ERR_APP, "PlaylistSavePreview : Invalid content type : type = %d", type);
        return false;
    }
    return ::PlaylistSavePreview(*model, type, record);
}
