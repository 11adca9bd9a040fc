#include "ui/timetable/playlist_edit_dlg_view.h"

namespace {

// "プレイリスト編集", "BGMリスト編集", "プレイリストの内容", "BGMリストの内容".
quint32 TitleOf(int listType, int mode)
{
    const bool bgm = listType == 53;
    if (mode == CPlaylistEditDlgView::MODE_EDITING)
        return bgm ? 5503 : 5502;
    return bgm ? 6203 : 6202;
}

} // namespace

CPlaylistEditDlgView::CPlaylistEditDlgView(int listType, int mode)
    : CTitledPaneDlg(0, QSize(600, 280), TitleOf(listType, mode)), m_listType(listType == 53 ? 53 : 52), m_mode(mode)
{
}
