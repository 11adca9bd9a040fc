// The frame's layout entry points: the templates, the edited playlist's
// layout with its two layout windows, and the layout-check preview are
// gathered here, the work is in ops.
#include "app/main_frame.h"

#include "app/child_frame.h"
#include "app/pane_roles.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/staged_files.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "model/stored_list_files.h"
#include "ops/layout_selection.h"
#include "ops/playlist_storage.h"

#include <QCoreApplication>
#include <QMdiArea>

namespace {

constexpr quint32 kPlaylistEditTitle = 5502;

const char *const kLayoutRefused =
    "選択したレイアウトには、このイベントで使用しているトラックの表示エリアがありません。\nレイアウトを変更できません。";

CPlaylistEditModel &EditedPlaylist()
{
    return *GetContentFolders().GetPlaylistModel(CONTENT_PLAYLIST);
}

QString PlaylistLayoutTitle(const CPlaylistEditModel &model)
{
    return model.GetTitle().isEmpty() ? LoadString(kPlaylistEditTitle) : model.GetTitle();
}

// The saved rectangle of a layout window when it lies on a screen.
bool SavedVisibleRect(int window, QRect &rect)
{
    WinRect stored;
    if (!GetAppIni().GetWindowRect(window, stored) || stored.isEmpty() || !IsWindowRectVisible(stored))
        return false;
    rect = FitOnScreen(ToQRect(stored));
    return true;
}

} // namespace

bool CMainFrame::ApplyLayoutToPlaylist(int row)
{
    const bool laidOut = LayoutPlaylistRow(EditedPlaylist(), row, GetLayoutAreas(false));
    if (laidOut)
        NotifyEditListChanged(CONTENT_PLAYLIST, 0);
    SelectEditPlaylist(row, 0);
    return laidOut;
}

void CMainFrame::CloseLayoutWindows(int row)
{
    SaveViewState(VIEW_SET_LAYOUT);
    for (int index : {PANE_LAYOUT, PANE_LAYOUT_PROP}) {
        if (CTelvPaneDlg *pane = GetViewPane(index))
            pane->hide();
    }
    SelectEditPlaylist(row, 0);
}

bool CMainFrame::ApplyPlaylistLayout()
{
    const CPlaylistEditModel &model = EditedPlaylist();
    CurrentLayout &layout = GetContentFolders().GetPlaylistLayout();
    const bool found =
        LookupLayout(GetAppData().GetLayoutTemplates(), model.GetResolution(), model.GetOrientation(), layout);
    // Without a template the layout windows still show the playlist's screen.
    GetAppData().GetCurrentLayout() = layout;
    return found;
}

bool CMainFrame::ApplyCheckPlaylistLayout()
{
    const CPlaylistEditModel &model = *GetContentFolders().GetSecondPlaylistModel(CONTENT_PLAYLIST);
    return SetCurrentLayout(GetAppData(), model.GetResolution(), model.GetOrientation());
}

bool CMainFrame::ChoosePlaylistLayout(qint32 number)
{
    CPlaylistEditModel &model = EditedPlaylist();
    CurrentLayout chosen;
    if (!LookupLayout(GetAppData().GetLayoutTemplates(), number, model.GetOrientation(), chosen))
        return false;
    // Tried on a copy first, so that a refusal leaves everything as it was.
    CPlaylistEditModel trial = model;
    if (!LayoutPlaylistRow(trial, m_editPlaylist, chosen.areas)) {
        MessageBoxWithCaptionId(this, QString::fromUtf8(kLayoutRefused), kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    model.SetResolution(number);
    model.SetModified(true);
    ApplyPlaylistLayout();
    if (auto *properties = paneRole<ILayoutPropView>(PANE_LAYOUT_PROP))
        properties->SetPlaylistLayout(PlaylistLayoutTitle(model), model.GetResolution(), model.GetOrientation());
    NotifyLayoutChanged(this, 1);
    return ApplyLayoutToPlaylist(m_editPlaylist);
}

void CMainFrame::ShowPlaylistLayoutDlgs()
{
    ApplyPlaylistLayout();
    const CPlaylistEditModel &model = EditedPlaylist();
    if (auto *canvas = paneRole<ILayoutView>(PANE_LAYOUT))
        canvas->SetPlaylistLayoutMode(true);
    if (auto *properties = paneRole<ILayoutPropView>(PANE_LAYOUT_PROP))
        properties->SetPlaylistLayout(PlaylistLayoutTitle(model), model.GetResolution(), model.GetOrientation());
    NotifyLayoutChanged(this, 1);

    QRect canvasRect;
    QRect propRect;
    if (SavedVisibleRect(kPlaylistCanvasWindow, canvasRect) && SavedVisibleRect(kPlaylistPropWindow, propRect)) {
        placePane(PANE_LAYOUT, canvasRect, false);
        placePane(PANE_LAYOUT_PROP, propRect, false);
    } else {
        arrangeLayoutPanes(GetMdiClientRect(m_mdiClient));
    }
    for (int index : {PANE_LAYOUT, PANE_LAYOUT_PROP})
        showPane(index);
    if (QWidget *properties = GetViewPane(PANE_LAYOUT_PROP)) {
        properties->raise();
        properties->activateWindow();
    }
}

void CMainFrame::UpdateLayoutPreview(int row, bool edited)
{
    CContentsStore &store = GetContentFolders();
    const CPlaylistEditModel *model =
        edited ? store.GetPlaylistModel(CONTENT_PLAYLIST) : store.GetSecondPlaylistModel(CONTENT_PLAYLIST);
    if (!model)
        return;
    const PreviewFolders folders{GetAppData().GetDataRoot(), QCoreApplication::applicationDirPath()};
    ::UpdateLayoutPreview(*model, row, false, store, GetAppData().GetLayoutTemplates(), folders,
                          store.GetLayoutPreview());
    if (auto *check = paneRole<ILayoutCheckView>(PANE_LAYOUT_DISP))
        check->ReloadPreview();
}

void CMainFrame::PlaylistEdited(int type)
{
    if (type == CONTENT_PLAYLIST)
        PlacePlaylistItems(EditedPlaylist(), GetAppData().GetLayoutTemplates());
    NotifyEditListChanged(type, 0);
    if (type == CONTENT_PLAYLIST && GetCurrentView() != VIEW_OVERVIEW)
        UpdateLayoutPreview(m_editPlaylist, true);
}

void CMainFrame::FitLayoutCheckWindow()
{
    CChildFrame *window = GetViewFrame(PANE_LAYOUT_DISP);
    if (!window || !m_mdiClient)
        return;
    const int mode = GetContentFolders().GetPlaylistLayout().displayMode;
    window->resize(LayoutCheckDefaultSize(mode, window->size(), GetMdiClientRect(m_mdiClient).size()));
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

void CMainFrame::PreviewEditPlaylist(int type)
{
    CContentsStore &store = GetContentFolders();
    const CPlaylistEditModel *model = store.GetPlaylistModel(type);
    int counter = -1;
    const qint32 number = model ? store.GetNewCode(type, counter) : -1;
    if (number < 0)
        return;
    CPlaylistProperty record;
    record.SetIndex(number);
    record.SetTitle(model->GetTitle());
    record.SetInfo(model->GetInfo());
    // No stored list has the number: the files are the preview's alone and
    // go once it is sent, or at once when it is not.
    StoredListFiles files;
    if (!StoredListFilesOf(type, ContentIdPrefix(number), number, model->GetListFolder(), model->GetSequenceFolder(),
                           files))
        return;
    if (PlaylistSavePreview(type, record) && R40PreviewPlaylist(type, record))
        m_previewFiles = files.Paths();
    else
        RemoveStoredFiles(files.Paths());
}
