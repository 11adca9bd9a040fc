#include "ui/timetable/playlist_edit_dlg_view.h"

#include "app/main_frame.h"
#include "core/message_box.h"
#include "model/contents_store.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "ops/clipboard_formats.h"
#include "ui/contents/name_dlg.h"
#include "ui/contents/playlist_opt_dlg.h"

#include <QMenu>

namespace {

constexpr quint32 kMsgPlaylistTooMany = 5102;
constexpr quint32 kMsgBgmTooMany = 5346;

// "プレイリスト編集", "BGMリスト編集", "プレイリストの内容", "BGMリストの内容".
quint32 TitleOf(int listType, int mode)
{
    const bool bgm = listType == CONTENT_BGMLIST;
    if (mode == CPlaylistEditDlgView::MODE_EDITING)
        return bgm ? 5503 : 5502;
    return bgm ? 6203 : 6202;
}

} // namespace

CPlaylistEditDlgView::CPlaylistEditDlgView(int listType, int mode)
    : CTimetablePaneDlg(QSize(600, 280), TitleOf(listType, mode), mode), m_listType(listType == CONTENT_BGMLIST ? CONTENT_BGMLIST : CONTENT_PLAYLIST)
{
}

bool CPlaylistEditDlgView::OnInitDialog()
{
    if (!CTimetablePaneDlg::OnInitDialog())
        return false;
    // The selected row of a playlist is the one the layout check draws.
    if (m_listType == CONTENT_PLAYLIST && GetGrid() && GetGrid()->selectionModel()) {
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

QStringList CPlaylistEditDlgView::TrackNames(const CPlaylistEditModel &model)
{
    QStringList names;
    for (int track = 1; track < model.GetTrackCount(); ++track)
        names << PlaylistTrackName(model.GetTrackFlag(track));
    return names;
}

CPlaylistEditModel *CPlaylistEditDlgView::model() const
{
    CContentsStore &store = GetContentFolders();
    return IsEditing() ? store.GetPlaylistModel(m_listType) : store.GetSecondPlaylistModel(m_listType);
}

CTimetableModel *CPlaylistEditDlgView::shownModel() const
{
    return model();
}

CTimetableEditor::Setup CPlaylistEditDlgView::editorSetup()
{
    CTimetableEditor::Setup setup;
    const bool bgm = m_listType == CONTENT_BGMLIST;
    setup.changed = [this] { editedListChanged(); };
    setup.firstStart = [] { return TimeValue{}; };
    setup.tooMany = [this, bgm] {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, bgm ? kMsgBgmTooMany : kMsgPlaylistTooMany,
                          CTimetableModel::kMaxItems);
    };
    setup.eventFormat = CLIPBOARD_PLAYLIST_EVENT;
    return setup;
}

void CPlaylistEditDlgView::initEditing()
{
    addButton("settings", m_listType == CONTENT_BGMLIST ? "名称" : "解像度", [this] { OnListSettings(); });
    addButton("preview", "プレビュー", [this] { OnPreview(); });
}

void CPlaylistEditDlgView::addMenuCommands(QMenu &menu)
{
    menu.addSeparator();
    menu.addAction(QStringLiteral("コピー"), this, [this] { OnCopy(); });
    menu.addAction(QStringLiteral("貼り付け"), this, [this] { OnPaste(); });
}

void CPlaylistEditDlgView::refresh()
{
    if (const CPlaylistEditModel *shown = model())
        showModel(*shown, TrackNames(*shown));
}

void CPlaylistEditDlgView::editedListChanged()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PlaylistEdited(m_listType);
    else
        refresh();
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

void CPlaylistEditDlgView::OnPrint()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PrintPlaylist(m_listType, IsEditing());
}

void CPlaylistEditDlgView::OnNew()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PlaylistNew(m_listType, false);
}

void CPlaylistEditDlgView::OnSave(bool asNew)
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PlaylistSave(m_listType, asNew);
}

void CPlaylistEditDlgView::OnClear()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PlaylistCheckClear(m_listType, false);
}

void CPlaylistEditDlgView::OnPreview()
{
    // The frame sends the list under a number no stored list has, so the
    // files of a stored list never take edits that are not saved.
    if (CMainFrame *frame = GetMainFrame())
        frame->PreviewEditPlaylist(m_listType);
}

void CPlaylistEditDlgView::OnListSettings()
{
    CPlaylistEditModel &edited = *model();
    if (m_listType == CONTENT_PLAYLIST) {
        CPlaylistOptDlg dialog(this);
        dialog.SetResolution(edited.GetResolution());
        dialog.SetOrientation(edited.GetOrientation());
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (dialog.GetResolution() == edited.GetResolution() && dialog.GetOrientation() == edited.GetOrientation())
            return;
        edited.SetResolution(dialog.GetResolution());
        edited.SetOrientation(dialog.GetOrientation());
    } else {
        // The name is the list's title, and takes as much as the title does.
        CNameDlg dialog(this, CPropertyBase::kMaxTitle);
        dialog.SetName(edited.GetTitle());
        if (dialog.exec() != QDialog::Accepted || dialog.GetName() == edited.GetTitle())
            return;
        edited.SetTitle(dialog.GetName());
    }
    edited.SetModified(true);
    editedListChanged();
}

void CPlaylistEditDlgView::OnCopy()
{
    CContentsList *list = GetContentFolders().GetList(m_listType);
    const int position = list ? list->FindCode(model()->GetIndex()) : -1;
    CMainFrame *frame = GetMainFrame();
    if (frame && position >= 0)
        frame->CopyPlaylist(m_listType, {quint32(position)});
}

void CPlaylistEditDlgView::OnPaste()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PastePlaylist(m_listType);
}
