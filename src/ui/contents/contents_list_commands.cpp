// The command side of the contents list: which commands each pane mode
// offers, the popup menus, the selection checks, the clipboard and the drag
// source. Every change of stored data goes to a main-frame operation.
#include "ui/contents/contents_list_ctrl.h"

#include "widgets/app_resources.h"
#include "widgets/file_dialog_prompter.h"
#include "app/main_frame.h"
#include "core/app_ini.h"
#include "core/content_id.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/shell_open.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "model/contents_list.h"
#include "ops/clipboard_formats.h"
#include "model/control_property.h"
#include "model/schedule_property.h"
#include "model/contents_store.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"
#include "ui/contents/contents_columns.h"
#include "ui/contents/contents_registration.h"
#include "ui/contents/contents_thumb_view.h"
#include "ui/contents/id_lists.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <initializer_list>

namespace {

constexpr qint32 kFirstVodIndex = 999000000;
constexpr int kSortMenuId = 6304;
constexpr int kViewMenuId = -2; // the "表示(&V)" submenu
constexpr int kFirstSortId = 6311;
constexpr int kLastSortId = 6360;
constexpr int kFirstHeaderId = 4100;
constexpr int kLastHeaderId = 4140;

enum Command : int {
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_FILE_NEW = 57600,
    ID_EDIT = 57601,
    ID_PROPERTY = 4004,
    ID_DEL_DATE = 4006,
    ID_CANCEL_RECOVER = 4016,
    ID_DELETE = 4017,
    ID_VIEW_LIST = 4022,
    ID_VIEW_THUMB = 4023,
    ID_NEW_VOD = 4028,
    ID_NEW_NO_PLAY = 4036,
    ID_PLAY = 4037,
    ID_PREVIEW = 4041,
    ID_STOP = 4042,
    ID_SET_SCREEN_SAVER = 4046,
    ID_CANCEL_SCREEN_SAVER = 4047,
    ID_SET_RECOVER = 4048,
    ID_EDIT_SCHEDULE = 4049,
    ID_SEND = 4058,
    ID_STOP_SCHEDULE = 4059,
    ID_URL_OPTION = 4077,
    ID_COM2 = 4079,
    ID_EXECUTE = 4080,
    ID_SCHEDULE_CHECK = 6212,
    ID_IMPORT = 6300,
    ID_EXPORT = 6301,
    ID_COPY_CATEGORY = 6371,
    ID_REPLACE = 6372,
};

struct MenuItem {
    int id;
    const char *text;
};

constexpr MenuItem kMenuTexts[] = {
    {ID_EDIT_COPY, "コピー(&C)"},
    {ID_EDIT_PASTE, "貼り付け(&P)"},
    {ID_FILE_NEW, "新規作成(&N)"},
    {ID_EDIT, "編集(&E)"},
    {ID_PROPERTY, "分類・タイトルの変更(&I)"},
    {ID_DEL_DATE, "自動削除日の変更(&Z)"},
    {ID_CANCEL_RECOVER, "代替再生を解除(&B)"},
    {ID_DELETE, "削除(&D)"},
    {ID_VIEW_LIST, "リスト(&L)"},
    {ID_VIEW_THUMB, "サムネイル(&T)"},
    {ID_NEW_VOD, "Touch Panel Mode プレイリストの新規作成(&V)"},
    {ID_NEW_NO_PLAY, "再生しない期間の新規作成(&N)"},
    {ID_PLAY, "再生(&P)"},
    {ID_PREVIEW, "KDP-R40でプレビュー(&P)"},
    {ID_STOP, "停止(&S)"},
    {ID_SET_SCREEN_SAVER, "ユーザー スクリーンセーバーに設定(&A)"},
    {ID_CANCEL_SCREEN_SAVER, "ユーザー スクリーンセーバーを解除(&B)"},
    {ID_SET_RECOVER, "代替再生の静止画に設定(&A)"},
    {ID_EDIT_SCHEDULE, "スケジュールの変更(&K)"},
    {ID_SEND, "配信(&T)"},
    {ID_STOP_SCHEDULE, "KDP-R40のスケジュールを削除(&S)"},
    {ID_URL_OPTION, "オプション設定(&A)"},
    {ID_COM2, "COM2で実行(&C)"},
    {ID_EXECUTE, "実行(&P)"},
    {ID_SCHEDULE_CHECK, "スケジュール確認(&V)"},
    {ID_IMPORT, "プレイリストと素材の読み込み(&R)"},
    {ID_EXPORT, "プレイリストと素材の書き出し(&W)"},
    {ID_REPLACE, "素材の差し替え(&U)"},
};

QString menuText(int id, int type)
{
    if (id == ID_PLAY && type == 3)
        return QStringLiteral("再生（プレイリストを停止せずにテロップを差し替えする）(&P)");
    if (id == ID_PLAY && type == 6)
        return QStringLiteral("再生（プレイリストを停止せずにオーディオを差し替えする）(&P)");
    for (const MenuItem &item : kMenuTexts) {
        if (item.id == id)
            return QString::fromUtf8(item.text);
    }
    return {};
}

using Items = std::initializer_list<int>;

// The items of the popup menu of a type (mode 17: the player menu).
QList<int> menuItems(int type, int mode)
{
    const Items media = {kViewMenuId, kSortMenuId, ID_DELETE, ID_REPLACE, ID_PROPERTY, ID_DEL_DATE, ID_PREVIEW,
                         ID_PLAY, ID_STOP, ID_SEND};
    if (mode == 17)
        return {kSortMenuId, ID_DELETE, ID_PLAY, ID_STOP, ID_EXECUTE, ID_COM2};
    switch (type) {
    case 1:
    case 5:
        return media;
    case 2:
        return QList<int>(media) << ID_SET_RECOVER << ID_CANCEL_RECOVER;
    case 8:
        return {kSortMenuId, ID_FILE_NEW, ID_EDIT, ID_DELETE, ID_PROPERTY, ID_DEL_DATE, ID_PREVIEW, ID_PLAY, ID_STOP,
                ID_SEND};
    case 4:
        return {kViewMenuId, kSortMenuId, ID_FILE_NEW, ID_EDIT, ID_URL_OPTION, ID_DELETE, ID_REPLACE, ID_PROPERTY,
                ID_DEL_DATE, ID_PREVIEW, ID_PLAY, ID_STOP, ID_SEND};
    case 3:
        return {kViewMenuId, kSortMenuId, ID_FILE_NEW, ID_EDIT, ID_DELETE, ID_REPLACE, ID_PROPERTY, ID_DEL_DATE,
                ID_PREVIEW, ID_PLAY, ID_STOP, ID_SEND};
    case 6:
        return {kSortMenuId, ID_DELETE, ID_REPLACE, ID_PROPERTY, ID_DEL_DATE, ID_PREVIEW, ID_PLAY, ID_STOP, ID_SEND};
    case 7:
        return {kSortMenuId, ID_FILE_NEW, ID_EDIT, ID_DELETE, ID_PROPERTY, ID_DEL_DATE, ID_EXECUTE, ID_COM2, ID_SEND};
    case 10:
        return {kSortMenuId, ID_PROPERTY, ID_DEL_DATE, ID_PREVIEW, ID_STOP, ID_SEND};
    case 52:
        return {kSortMenuId, ID_NEW_VOD, ID_EDIT, ID_DELETE, ID_PROPERTY, ID_DEL_DATE, ID_EDIT_COPY, ID_EDIT_PASTE,
                ID_IMPORT, ID_EXPORT, ID_PREVIEW, ID_PLAY, ID_STOP, ID_SEND, ID_SET_SCREEN_SAVER,
                ID_CANCEL_SCREEN_SAVER};
    case 53:
        return {kSortMenuId, ID_EDIT, ID_DELETE, ID_PROPERTY, ID_DEL_DATE, ID_EDIT_COPY, ID_EDIT_PASTE, ID_PREVIEW,
                ID_PLAY, ID_STOP, ID_SEND};
    case 51:
        return {kSortMenuId, ID_SCHEDULE_CHECK, ID_EDIT, ID_EDIT_SCHEDULE, ID_NEW_NO_PLAY, ID_DELETE, ID_PROPERTY,
                ID_DEL_DATE, ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEND, ID_STOP_SCHEDULE};
    default:
        return {};
    }
}

bool isSortCommand(int id)
{
    return id == kSortMenuId || (id >= kFirstSortId && id <= kLastSortId);
}

void warn(QWidget *owner, quint32 id)
{
    ShowMessage(owner, id, kTitleCaption, MB_OK | MB_ICONWARNING);
}

} // namespace

// ---- Selection --------------------------------------------------------------

bool CContentsListCtrl::GetSelectedIndexes(QList<qint32> &indexes, quint32 flags)
{
    const bool silent = flags & SELECT_SILENT;
    auto refuse = [&](quint32 id) {
        if (!silent)
            warn(this, id);
        return false;
    };
    indexes = GetSelectedContentIndexes();
    if (indexes.isEmpty() && !(flags & SELECT_ALLOW_EMPTY))
        return refuse(5247);
    const bool hasVod = std::any_of(indexes.begin(), indexes.end(), [](qint32 i) { return i >= kFirstVodIndex; });
    if (hasVod && (flags & SELECT_NO_VOD_DELETE))
        return refuse(5269);
    if (hasVod && (flags & SELECT_NO_VOD_COPY))
        return refuse(5252);
    if (hasVod && (flags & SELECT_NO_VOD_DEL_DATE))
        return refuse(5411);
    if (flags & SELECT_NO_PERIOD) {
        for (int row : GetSelectedRows()) {
            const auto *schedule = dynamic_cast<const CScheduleProperty *>(GetRecordAt(row));
            if (schedule && schedule->IsNoPlayPeriod())
                return refuse(5360);
        }
    }
    CMainFrame *frame = GetMainFrame();
    if ((flags & SELECT_CHECK_TRANSFER) && frame && frame->IsContentInTransfer(indexes, m_type, silent))
        return false;
    return true;
}

bool CContentsListCtrl::singleSelection(qint32 &index)
{
    const QList<qint32> indexes = GetSelectedContentIndexes();
    if (indexes.size() != 1) {
        warn(this, 5249);
        return false;
    }
    index = indexes.first();
    return true;
}

CPropertyBase *CContentsListCtrl::loadRecord(qint32 index)
{
    CContentsList *list = GetList();
    const int position = list ? list->FindCode(index) : -1;
    if (!m_record || position < 0 || !list->Get(position, m_record.get()))
        return nullptr;
    return m_record.get();
}

// ---- Which commands run -----------------------------------------------------

bool CContentsListCtrl::isRefusedInMode(int id) const
{
    const Items a = {ID_PLAY, ID_STOP_SCHEDULE, ID_SET_RECOVER, ID_CANCEL_RECOVER, ID_SET_SCREEN_SAVER,
                     ID_CANCEL_SCREEN_SAVER};
    const bool scheduleOrControl = m_type == CONTENT_SCHEDULE || m_type == 7;
    switch (m_mode) {
    case 10:
        return isIn(id, a) || id == ID_SEND;
    case 11:
    case 12:
        return isIn(id, a) || isIn(id, {ID_EXECUTE, ID_COM2, ID_SEND});
    case 13:
        return isIn(id, a) || isIn(id, {ID_SEND, ID_EXECUTE, ID_COM2, ID_STOP, ID_SCHEDULE_CHECK}) ||
               (!scheduleOrControl && isIn(id, {ID_FILE_NEW, ID_EXPORT, ID_IMPORT, ID_NEW_VOD, ID_PREVIEW,
                                                ID_PROPERTY, ID_EDIT_COPY, ID_EDIT_PASTE}));
    case 14:
        return isIn(id, {ID_PLAY, ID_STOP_SCHEDULE, ID_FILE_NEW, ID_EXPORT, ID_IMPORT, ID_NEW_VOD, ID_URL_OPTION,
                         ID_DEL_DATE, ID_EDIT_COPY, ID_EDIT_PASTE, ID_PREVIEW, ID_EXECUTE, ID_COM2, ID_STOP,
                         ID_PROPERTY}) ||
               (id == ID_EDIT && m_type != CONTENT_PLAYLIST && m_type != CONTENT_BGMLIST);
    case 15:
        if (id == ID_SCHEDULE_CHECK)
            return !GetSystemIni().Settings().ScheduleConf;
        return !(isIn(id, {ID_DELETE, ID_STOP_SCHEDULE, ID_SEND}) || isSortCommand(id));
    case 16:
        return isIn(id, {ID_STOP_SCHEDULE, ID_SET_RECOVER, ID_CANCEL_RECOVER, ID_SET_SCREEN_SAVER,
                         ID_CANCEL_SCREEN_SAVER, ID_EXPORT, ID_IMPORT, ID_NEW_VOD, ID_DELETE, ID_DEL_DATE,
                         ID_EDIT_COPY, ID_EDIT_PASTE, ID_PREVIEW, ID_SEND, ID_PROPERTY}) ||
               (m_type == CONTENT_PLAYLIST && isIn(id, {ID_FILE_NEW, ID_URL_OPTION}));
    case 17:
        if (m_type == CONTENT_SCHEDULE)
            return !(isIn(id, {ID_DELETE, ID_COPY_CATEGORY}) || isSortCommand(id));
        if (m_type == 7)
            return isIn(id, {ID_PLAY, ID_STOP});
        return isIn(id, {ID_EXECUTE, ID_COM2});
    default:
        return false;
    }
}

// Whether the one selected row is a no-play period (edited by a dialog of
// its own).
bool CContentsListCtrl::isCom2Allowed() const
{
    if (!GetSettingIni().Options().SIControl)
        return false;
    const QList<int> rows = GetSelectedRows();
    const auto *control = rows.size() == 1 ? dynamic_cast<const CControlProperty *>(GetRecordAt(rows.first())) : nullptr;
    return control && control->GetCtrlType() != 2 && control->GetCtrlType() != 5;
}

// Whether a command has an operation on this list (in this mode).
bool CContentsListCtrl::isOperationOffered(int id) const
{
    switch (id) {
    case ID_EDIT_PASTE:
        return (m_mode == 13 && m_type == CONTENT_SCHEDULE) || (m_mode == 11 && m_type == CONTENT_PLAYLIST)
            || (m_mode == 12 && m_type == CONTENT_BGMLIST);
    case ID_FILE_NEW:
    case ID_EDIT:
        return isIn(m_type, {3, 4, 7, 8, 51, 52, 53});
    case ID_DELETE:
        return IsRemote() || (m_mode != 16 && m_type != 10);
    case ID_NEW_VOD:
        return GetSettingIni().Options().VODUse;
    case ID_COM2:
        return isCom2Allowed();
    case ID_VIEW_LIST:
    case ID_VIEW_THUMB:
        return m_type >= 1 && m_type <= 5;
    default:
        return true;
    }
}

bool CContentsListCtrl::CanExecute(int commandId) const
{
    if (commandId >= kFirstHeaderId && commandId <= kLastHeaderId)
        return true;
    return !isRefusedInMode(commandId) && isOperationOffered(commandId);
}

// ---- Running commands -------------------------------------------------------

void CContentsListCtrl::OnCommand(int id)
{
    if (!CanExecute(id))
        return;
    if (id >= kFirstHeaderId && id <= kLastHeaderId) {
        onToggleColumn(id);
        return;
    }
    if (id >= kFirstSortId && id <= kLastSortId) {
        SortByColumn(id - kFirstSortId);
        return;
    }
    // A pane shown without the main frame (as in its own tests) runs no operation.
    CMainFrame *frame = GetMainFrame();
    QList<qint32> indexes;
    qint32 index = 0;
    switch (id) {
    case ID_EDIT_COPY:
        onCopy();
        break;
    case ID_EDIT_PASTE:
        onPaste();
        break;
    case ID_FILE_NEW:
        onNewOrEdit(true);
        break;
    case ID_EDIT:
        if ((m_type == CONTENT_PLAYLIST || m_type == CONTENT_BGMLIST) && isIn(m_mode, {13, 14, 16}))
            onEditPlaylistOrBgm();
        else
            onNewOrEdit(false);
        break;
    case ID_PROPERTY:
        if (!GetSelectedIndexes(indexes, m_type == CONTENT_SCHEDULE ? quint32(SELECT_NO_PERIOD) : 0u))
            break;
        if (frame && indexes.size() == 1)
            frame->EditProperty(m_type, indexes.first());
        else if (frame)
            frame->EditPropertyMulti(m_type, indexes);
        break;
    case ID_DEL_DATE:
        if (GetSelectedIndexes(indexes, SELECT_CHECK_TRANSFER | SELECT_NO_VOD_DEL_DATE) && frame)
            frame->EditDelDate(indexes, m_type);
        break;
    case ID_CANCEL_RECOVER:
        if (frame)
            frame->R40CancelRecoverStill();
        break;
    case ID_DELETE:
        onDelete();
        break;
    case ID_VIEW_LIST:
    case ID_VIEW_THUMB:
        onSwitchView(id == ID_VIEW_THUMB);
        break;
    case ID_NEW_VOD:
        if (frame)
            frame->EditVODPlaylist(-1);
        break;
    case ID_NEW_NO_PLAY:
        if (frame)
            frame->EditNoPlayDate(-1);
        break;
    case ID_PLAY:
    case ID_PREVIEW:
    case ID_COM2:
    case ID_EXECUTE:
        onPlay(id);
        break;
    case ID_STOP:
        if (frame)
            frame->R40PlayStop(m_type, m_mode != 16 && m_mode != 17, IsRemote());
        break;
    case ID_SET_SCREEN_SAVER:
        if (singleSelection(index) && frame)
            frame->R40SendScreenSaver(index);
        break;
    case ID_CANCEL_SCREEN_SAVER:
        if (frame)
            frame->R40CancelScreenSaver();
        break;
    case ID_SET_RECOVER:
        if (singleSelection(index) && frame)
            frame->R40SendRecoverStill(index);
        break;
    case ID_EDIT_SCHEDULE:
        if (singleSelection(index)) {
            const auto *schedule = dynamic_cast<const CScheduleProperty *>(loadRecord(index));
            if (frame && schedule && schedule->IsNoPlayPeriod())
                frame->EditNoPlayDate(index);
            else if (frame)
                frame->EditSchedule(index);
        }
        break;
    case ID_SEND:
        onSend();
        break;
    case ID_STOP_SCHEDULE:
        if (singleSelection(index) && frame)
            frame->R40StopSchedule(index);
        break;
    case ID_URL_OPTION:
        if (singleSelection(index)) {
            auto *web = dynamic_cast<CWebProperty *>(loadRecord(index));
            if (web && !IsHttpUrl(web->GetUrl()) && !IsAbsolutePath(web->GetUrl()))
                warn(this, 5446);
            else if (web && frame)
                frame->EditUrlOpt(web);
        }
        break;
    case ID_SCHEDULE_CHECK:
        if (singleSelection(index) && frame)
            frame->ScheduleCheckLoad(index, CMainFrame::CalendarDay::SelectSchedule);
        break;
    case ID_IMPORT:
        if (frame)
            frame->ShowImportDlg();
        break;
    case ID_EXPORT:
        if (GetSelectedIndexes(indexes, SELECT_NO_VOD_COPY) && frame)
            frame->ShowExportDlg(QList<quint32>(indexes.begin(), indexes.end()));
        break;
    case ID_REPLACE:
        onReplaceMaterial();
        break;
    case ID_COPY_CATEGORY:
        onCopyCategory();
        break;
    default:
        break;
    }
}

// The positions in the list of the contents of the numbers, as the copy
// blocks of playlists and schedules carry them.
QList<quint32> CContentsListCtrl::positionsOf(const QList<qint32> &indexes) const
{
    QList<quint32> positions;
    CContentsList *list = GetList();
    for (qint32 index : indexes) {
        const int position = list ? list->FindCode(index) : -1;
        if (position >= 0)
            positions.append(quint32(position));
    }
    return positions;
}

void CContentsListCtrl::onCopy()
{
    QList<qint32> indexes;
    if (!GetSelectedIndexes(indexes, SELECT_NO_VOD_COPY))
        return;
    CMainFrame *frame = GetMainFrame();
    if (m_mode == 13 && m_type == CONTENT_SCHEDULE) {
        if (frame)
            frame->CopySchedule(positionsOf(indexes));
    } else if ((m_mode == 11 && m_type == CONTENT_PLAYLIST) || (m_mode == 12 && m_type == CONTENT_BGMLIST)) {
        if (frame)
            frame->CopyPlaylist(m_type, positionsOf(indexes));
    } else {
        // Plain text, so the number can be typed elsewhere.
        QApplication::clipboard()->setText(FormatContentIdFixed(indexes.first()));
    }
}

void CContentsListCtrl::onPaste()
{
    CMainFrame *frame = GetMainFrame();
    if (!frame)
        return;
    if (m_mode == 13 && m_type == CONTENT_SCHEDULE)
        frame->PasteSchedule();
    else if ((m_mode == 11 && m_type == CONTENT_PLAYLIST) || (m_mode == 12 && m_type == CONTENT_BGMLIST))
        frame->PastePlaylist(m_type);
}

void CContentsListCtrl::onNewOrEdit(bool isNew)
{
    CMainFrame *frame = GetMainFrame();
    if (m_mode == 15 || m_mode == 17)
        return;
    if (isNew
        && (m_mode == 12 || (m_mode == 11 && m_type == CONTENT_PLAYLIST)
            || (m_mode == 13 && m_type == CONTENT_SCHEDULE)))
        return;
    if ((m_mode == 13 && m_type != CONTENT_SCHEDULE && m_type != 7)
        || (m_mode == 14 && (m_type == CONTENT_PLAYLIST || m_type == CONTENT_BGMLIST))
        || (m_mode == 16 && m_type == CONTENT_PLAYLIST))
        return;
    CPropertyBase *record = nullptr;
    qint32 index = -1;
    if (!isNew) {
        if (!singleSelection(index) || !(record = loadRecord(index)))
            return;
    }
    if (!frame)
        return;
    switch (m_type) {
    case 3:
        frame->EditTelop(static_cast<CTelopProperty *>(record));
        break;
    case 4: {
        auto *web = static_cast<CWebProperty *>(record);
        if (web && !IsHttpUrl(web->GetUrl()) && !IsAbsolutePath(web->GetUrl()))
            warn(this, 5446);
        else
            frame->EditUrl(web);
        break;
    }
    case 7:
        frame->EditControl(static_cast<CControlProperty *>(record));
        break;
    case 8:
        frame->EditStreaming(static_cast<CStreamingProperty *>(record));
        break;
    case 51:
        if (isNew)
            frame->ScheduleNew(false);
        else if (static_cast<CScheduleProperty *>(record)->IsNoPlayPeriod())
            frame->EditNoPlayDate(index);
        else
            frame->OpenScheduleEdit(index);
        break;
    case 52:
    case 53:
        if (isNew)
            frame->PlaylistNew(m_type, false);
        else if (index < kFirstVodIndex)
            frame->PlaylistLoad(index, m_type);
        else
            frame->EditVODPlaylist(index);
        break;
    default:
        break;
    }
}

void CContentsListCtrl::onEditPlaylistOrBgm()
{
    qint32 index = 0;
    if (!singleSelection(index))
        return;
    if (index >= kFirstVodIndex)
        warn(this, 5251);
    else if (CMainFrame *frame = GetMainFrame())
        frame->OpenPlaylistEdit(index, m_type);
}

void CContentsListCtrl::onDelete()
{
    QList<qint32> indexes;
    CMainFrame *frame = GetMainFrame();
    if (m_mode == 16 || (m_type == 10 && !IsRemote()))
        return;
    if (IsRemote()) {
        if (GetSelectedIndexes(indexes, SELECT_NO_VOD_DELETE) && frame)
            frame->R40DeleteContents(m_type, indexes);
        return;
    }
    if (GetSelectedIndexes(indexes, SELECT_CHECK_TRANSFER) && frame)
        frame->StartDeleteContents(indexes, m_type);
}

void CContentsListCtrl::onPlay(int id)
{
    qint32 index = 0;
    if (!singleSelection(index))
        return;
    if (id == ID_COM2) {
        const auto *control = dynamic_cast<const CControlProperty *>(loadRecord(index));
        if (control && control->GetCtrlType() == 2) {
            warn(this, 5256);
            return;
        }
    }
    CMainFrame *frame = GetMainFrame();
    if (!frame)
        return;
    const int com2 = id == ID_COM2 ? 1 : 0;
    if (id == ID_PREVIEW)
        frame->R40Play(m_type, index, 1, 0);
    else if (IsRemote())
        frame->R40PlayRemote(m_type, index, com2);
    else if (id == ID_PLAY)
        frame->R40Play(m_type, index, 0, 0);
    else
        frame->R40Play(m_type, index, m_mode != 16 ? 1 : 0, com2);
}

void CContentsListCtrl::onSend()
{
    QList<qint32> indexes;
    CMainFrame *frame = GetMainFrame();
    if (!GetSelectedIndexes(indexes, 0) || !frame)
        return;
    if (m_type == CONTENT_SCHEDULE)
        frame->R40SendSchedule(indexes);
    else
        frame->R40SendContents(m_type, indexes);
}

void CContentsListCtrl::onSwitchView(bool thumbnails)
{
    if (thumbnails == m_thumbnails)
        return;
    SetThumbnailMode(thumbnails);
    InsertColumns();
    Refresh();
    // Remembered once the view has shown: the settings file's durable write
    // need not hold up the paint.
    QTimer::singleShot(0, this, [type = m_type, thumbnails] { GetAppIni().SetLastThumbDisp(type, thumbnails); });
}

void CContentsListCtrl::onReplaceMaterial()
{
    qint32 index = 0;
    if (!singleSelection(index))
        return;
    // A content being sent is refused before the operator picks a file for nothing.
    CMainFrame *frame = GetMainFrame();
    if (frame && frame->IsContentInTransfer({index}, m_type, false))
        return;
    const QString path = PromptReplacementFile(this, m_type);
    if (frame && !path.isEmpty())
        frame->StartReplaceMaterial(m_type, index, path);
}

void CContentsListCtrl::onCopyCategory()
{
    qint32 index = 0;
    if (!singleSelection(index))
        return;
    if (const CPropertyBase *record = loadRecord(index))
        QApplication::clipboard()->setText(record->GetInfo());
}

void CContentsListCtrl::onToggleColumn(int headerId)
{
    for (const ContentsColumn &column : ContentsColumns(m_type)) {
        if (column.headerId != quint32(headerId) || !column.hideable)
            continue;
        const bool shown = isColumnShown(column.kind, column.shownByDefault);
        GetAppIni().SetColumnDisp(m_mode, m_type, column.kind, !shown);
    }
    ReinsertColumns();
    Refresh();
}

void CContentsListCtrl::OnItemEnter(int)
{
    if (isIn(m_type, {3, 7, 51, 52, 53})) {
        if (CanExecute(ID_EDIT))
            OnCommand(ID_EDIT);
        return;
    }
    if (!IsRemote())
        openContent();
}

// Opens the first selected content with the desktop's program for it.
void CContentsListCtrl::openContent()
{
    const QList<qint32> indexes = GetSelectedContentIndexes();
    const CPropertyBase *record = indexes.isEmpty() ? nullptr : loadRecord(indexes.first());
    if (!record)
        return;
    if (const auto *streaming = dynamic_cast<const CStreamingProperty *>(record)) {
        ShellOpenFile(QStringLiteral("http://%1:%2").arg(streaming->GetAddress()).arg(streaming->GetPort()));
        return;
    }
    const auto *media = dynamic_cast<const CMediaProperty *>(record);
    if (!media)
        return;
    if (m_type == 4) {
        if (IsHttpUrl(media->GetLink()) || IsAbsolutePath(media->GetLink()))
            ShellOpenFile(media->GetLink());
        else
            warn(this, 5446);
        return;
    }
    QString path;
    if (GetContentFolders().MakeContentFilePath(m_type, media->GetLink(), path))
        ShellOpenFile(path);
}

// ---- Keys, menus and drags --------------------------------------------------

bool CContentsListCtrl::HandleKey(QKeyEvent *event)
{
    int id = 0;
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)
        id = ID_DELETE;
    // The category copy has no menu item: Ctrl+Shift+C is its way in.
    else if (event->key() == Qt::Key_C && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
        id = ID_COPY_CATEGORY;
    else if (event->matches(QKeySequence::Copy))
        id = ID_EDIT_COPY;
    else if (event->matches(QKeySequence::Paste))
        id = ID_EDIT_PASTE;
    if (id == 0)
        return false;
    OnCommand(id);
    event->accept();
    return true;
}

void CContentsListCtrl::keyPressEvent(QKeyEvent *event)
{
    if (!HandleKey(event))
        CTelvListCtrl::keyPressEvent(event);
}

void CContentsListCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    ShowContextMenu(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
}

void CContentsListCtrl::buildSortMenu(QMenu *menu) const
{
    const QList<QPixmap> marks = {LoadBitmapResource(191), LoadBitmapResource(190)};
    int sortKind = COL_INDEX;
    bool ascending = true;
    GetCurrentSort(sortKind, ascending);
    for (const ContentsColumn &column : ContentsColumns(m_type)) {
        if (column.kind == COL_NO || !IsColumnAllowed(m_mode, m_type, column.kind))
            continue;
        QAction *action = menu->addAction(LoadString(column.headerId));
        action->setData(kFirstSortId + column.kind);
        if (column.kind == sortKind) {
            action->setCheckable(true);
            action->setChecked(!ascending);
            action->setIcon(marks[ascending ? 0 : 1]);
        }
    }
}

void CContentsListCtrl::BuildContextMenu(QMenu &menu) const
{
    for (int id : menuItems(m_type, m_mode)) {
        if (id == kViewMenuId) {
            QMenu *view = menu.addMenu(QStringLiteral("表示(&V)"));
            for (int viewId : {ID_VIEW_LIST, ID_VIEW_THUMB}) {
                if (!CanExecute(viewId))
                    continue;
                QAction *action = view->addAction(menuText(viewId, m_type));
                action->setData(viewId);
                action->setCheckable(true);
                action->setChecked((viewId == ID_VIEW_THUMB) == m_thumbnails);
            }
            menu.addSeparator();
        } else if (id == kSortMenuId) {
            if (!CanExecute(kSortMenuId))
                continue;
            buildSortMenu(menu.addMenu(QStringLiteral("並べ替え(&O)")));
            menu.addSeparator();
        } else if (CanExecute(id)) {
            menu.addAction(menuText(id, m_type))->setData(id);
        }
    }
    // Submenus left empty go; then separators that no longer separate.
    for (QAction *action : menu.actions()) {
        if (action->menu() && action->menu()->isEmpty())
            menu.removeAction(action);
    }
    RemoveMenuSeparators(&menu);
}

void CContentsListCtrl::ShowContextMenu(const QPoint &global, bool fromKeyboard)
{
    QMenu menu(this);
    BuildContextMenu(menu);
    if (menu.isEmpty())
        return;
    QPoint at = global;
    if (fromKeyboard)
        at = mapToGlobal(QPoint(5, header()->isVisible() ? header()->height() + 5 : 5));
    if (QAction *chosen = menu.exec(at); chosen && chosen->data().isValid())
        OnCommand(chosen->data().toInt());
}

void CContentsListCtrl::ShowHeaderMenu(const QPoint &global)
{
    QMenu menu(this);
    for (const ContentsColumn &column : ContentsColumns(m_type)) {
        if (!IsColumnAllowed(m_mode, m_type, column.kind))
            continue;
        QAction *action = menu.addAction(LoadString(column.headerId));
        action->setData(int(column.headerId));
        action->setCheckable(true);
        action->setChecked(!column.hideable || isColumnShown(column.kind, column.shownByDefault));
        action->setEnabled(column.hideable);
    }
    if (QAction *chosen = menu.exec(global); chosen)
        OnCommand(chosen->data().toInt());
}

bool CContentsListCtrl::modeAllowsDrag() const
{
    // Contents are dragged into the lists that the editing modes edit.
    return !(m_mode == 10 || m_mode >= 14 || (m_mode == 13 && m_type == CONTENT_SCHEDULE));
}

bool CContentsListCtrl::CanStartDrag() const
{
    return modeAllowsDrag() && !GetSelectedRows().isEmpty();
}

QMimeData *CContentsListCtrl::CreateDragData() const
{
    if (!CanStartDrag())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CLIPBOARD_CONTENTS), MakeContentsDataBlock(m_type, GetSelectedContentIndexes()));
    return data;
}

void CContentsListCtrl::startDrag(Qt::DropActions)
{
    QMimeData *data = CreateDragData();
    if (!data)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

// ---- Tool tips and thumbnail titles ----------------------------------------

QString CContentsListCtrl::ThumbnailTitle(int row) const
{
    const CPropertyBase *record = GetRecordAt(row);
    if (!record)
        return {};
    QString title = record->GetTitle();
    if (m_mode == 14 && m_type == 2 && record->GetIndex() == m_markedIndex)
        title += QStringLiteral("(%1)").arg(LoadString(5738));
    return title;
}

QString CContentsListCtrl::ThumbnailToolTip(int row) const
{
    const CPropertyBase *record = GetRecordAt(row);
    if (!record)
        return {};
    auto text = [&](int kind) { return ColumnText(*record, kind, row); };
    QList<PrintfArg> args = {row + 1, text(COL_INDEX), text(COL_CATEGORY), text(COL_TITLE), text(COL_FORMAT)};
    quint32 format = 0;
    switch (m_type) {
    case 2:
        format = 5612;
        args << text(COL_IMAGE_SIZE) << text(COL_UPDATE) << text(COL_DELETE_DATE) << text(COL_SIZE)
             << text(COL_FILE_NAME);
        break;
    case 1:
    case 5:
        format = 5613;
        args << text(COL_IMAGE_SIZE) << text(COL_PLAY_TIME) << text(COL_UPDATE) << text(COL_DELETE_DATE)
             << text(COL_SIZE) << text(COL_FILE_NAME);
        break;
    case 4:
        format = 5615;
        args << text(COL_ADDRESS) << text(COL_IMAGE_SIZE) << text(COL_PLAY_TIME) << text(COL_UPDATE)
             << text(COL_DELETE_DATE);
        break;
    case 3:
        format = 5616;
        args << text(COL_IMAGE_SIZE) << text(COL_EFFECT) << text(COL_UPDATE) << text(COL_DELETE_DATE);
        break;
    default:
        return {};
    }
    return FormatPrintf(LoadString(format), args);
}
