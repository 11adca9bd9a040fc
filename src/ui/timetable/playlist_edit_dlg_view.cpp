#include "ui/timetable/playlist_edit_dlg_view.h"

#include "app/main_frame.h"
#include "model/contents_store.h"

namespace {

// "プレイリスト編集", "BGMリスト編集", "プレイリストの内容", "BGMリストの内容".
quint32 TitleOf(int listType, int mode)
{
    const bool bgm = listType == 53;
    if (mode == CPlaylistEditDlgView::MODE_EDITING)
        return bgm ? 5503 : 5502;
    return bgm ? 6203 : 6202;
}

QStringList TrackNames(const CPlaylistEditModel &model)
{
    QStringList names;
    for (int track = 1; track < model.GetTrackCount(); ++track)
        names << QString::number(model.GetTrackFlag(track));
    return names;
}

} // namespace

CPlaylistEditDlgView::CPlaylistEditDlgView(int listType, int mode)
    : CTimetablePaneDlg(QSize(600, 280), TitleOf(listType, mode)), m_listType(listType == 53 ? 53 : 52), m_mode(mode)
{
}

bool CPlaylistEditDlgView::OnInitDialog()
{
    if (!CTimetablePaneDlg::OnInitDialog())
        return false;
    // The selected row of a playlist is the one the layout check draws.
    if (m_listType == 52 && GetGrid() && GetGrid()->selectionModel()) {
        connect(GetGrid()->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex &current) {
                    if (CMainFrame *frame = GetMainFrame()) {
                        if (IsEditing())
                            frame->SelectEditPlaylist(current.row(), 0);
                        else
                            frame->SelectCheckPlaylist(current.row());
                    }
                });
    }
    return true;
}

CPlaylistEditModel *CPlaylistEditDlgView::model() const
{
    CContentsStore &store = GetContentFolders();
    return IsEditing() ? store.GetPlaylistModel(m_listType) : store.GetSecondPlaylistModel(m_listType);
}

void CPlaylistEditDlgView::refresh()
{
    if (const CPlaylistEditModel *shown = model())
        showModel(*shown, TrackNames(*shown));
}

void CPlaylistEditDlgView::OnEditListChanged(int contentType, int)
{
    if (IsEditing() && contentType == m_listType)
        refresh();
}

void CPlaylistEditDlgView::OnCheckListChanged(int contentType, int)
{
    if (!IsEditing() && contentType == m_listType)
        refresh();
}

void CPlaylistEditDlgView::OnContentsListChanged(int, int, int)
{
    // Titles of the shown contents may have changed.
    refresh();
}

void CPlaylistEditDlgView::OnPrint()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PrintPlaylist(m_listType, IsEditing());
}
