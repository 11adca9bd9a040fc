#include "ui/timetable/schedule_edit_dlg_view.h"

#include "app/main_frame.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "model/contents_store.h"
#include "model/sequence_file.h"
#include "model/schedule_edit_model.h"
#include "ops/clipboard_formats.h"
#include "ui/timetable/timetable_editor.h"

#include <QMenu>

namespace {


// The tracks by item kind: the lists, then the four content tracks.
QString TrackNameOfKind(int kind)
{
    switch (kind) {
    case SCHEDULE_KIND_PLAYLIST:
        return QStringLiteral("プレイリスト");
    case SCHEDULE_KIND_BGM:
        return QStringLiteral("BGMリスト");
    case 5:
        return QStringLiteral("素材1");
    case 9:
        return QStringLiteral("素材2");
    case 3:
        return QStringLiteral("素材3");
    default:
        return QStringLiteral("素材4");
    }
}

} // namespace

CScheduleEditDlgView::CScheduleEditDlgView(int mode)
    : CTimetablePaneDlg(QSize(600, 280), mode == MODE_EDITING ? 5504 : 6201), m_mode(mode)
{
}

QStringList CScheduleEditDlgView::TrackNames(const CScheduleEditModel &model)
{
    QStringList names;
    for (int track = 1; track < model.GetTrackCount(); ++track)
        names << TrackNameOfKind(model.GetTrackKind(track));
    return names;
}

CScheduleEditModel *CScheduleEditDlgView::model() const
{
    CContentsStore &store = GetContentFolders();
    return IsEditing() ? store.GetScheduleModel() : store.GetSecondScheduleModel();
}

void CScheduleEditDlgView::initEditing()
{
    if (!IsEditing()) {
        addButton("clear", "クリア", [this] { OnClear(); });
        return;
    }
    CTimetableEditor::Setup setup;
    setup.model = [this] { return static_cast<CTimetableModel *>(model()); };
    setup.takes = [this](int track, int type) {
        switch (model()->GetTrackKind(track)) {
        case SCHEDULE_KIND_PLAYLIST:
            return type == CONTENT_PLAYLIST;
        case SCHEDULE_KIND_BGM:
            return type == CONTENT_BGMLIST;
        default:
            return CSequenceFile::IsPlayableType(type);
        }
    };
    setup.changed = [] {
        if (CMainFrame *frame = GetMainFrame())
            frame->NotifyEditScheduleChanged(0);
    };
    // An empty day starts when the players switch on.
    setup.firstStart = [this] {
        TimeValue on;
        TimeValue off;
        model()->GetTimeRange(on, off);
        return on;
    };
    setup.tooMany = [this] {
        MessageBoxWithCaptionId(this,
                                QStringLiteral("スケジュールのイベントの合計が、%1を超えています。\nイベントを削除してください。")
                                    .arg(CTimetableModel::kMaxItems),
                                kTitleCaption, MB_OK | MB_ICONWARNING);
    };
    setup.eventFormat = CLIPBOARD_SCHEDULE_EVENT;
    m_editor = new CTimetableEditor(GetGrid(), std::move(setup));
    // A new schedule has one empty cell to drop the first list on.
    GetGrid()->GetTableModel()->SetEmptyRow(true);
    GetGrid()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(GetGrid(), &QWidget::customContextMenuRequested, this, &CScheduleEditDlgView::showContextMenu);

    addButton("new", "新規作成", [this] { OnNew(); });
    addButton("save", "保存", [this] { OnSave(false); });
    addButton("saveAsNew", "新規保存", [this] { OnSave(true); });
    addButton("time", "時間変更", [this] { m_editor->EditCurrentTime(true); });
    addButton("delete", "削除", [this] { m_editor->DeleteCurrent(); });
}

void CScheduleEditDlgView::showContextMenu(const QPoint &point)
{
    QMenu menu(this);
    m_editor->AddCommands(menu);
    menu.exec(GetGrid()->viewport()->mapToGlobal(point));
}

void CScheduleEditDlgView::refresh()
{
    const CScheduleEditModel &shown = *model();
    showModel(shown, TrackNames(shown));
    TimeValue on;
    TimeValue off;
    shown.GetTimeRange(on, off);
    const QString caption = CTimetableGrid::ListCaption(shown);
    const QString hours = QStringLiteral("運用時間 %1 - %2").arg(FormatTimeText(on, false), FormatTimeText(off, false));
    setCaption(caption.isEmpty() ? hours : caption + QStringLiteral("    ") + hours);
}

void CScheduleEditDlgView::OnEditScheduleChanged(int)
{
    if (IsEditing())
        refresh();
}

void CScheduleEditDlgView::OnCheckScheduleChanged()
{
    if (!IsEditing())
        refresh();
}

void CScheduleEditDlgView::OnContentsListChanged(int, int, int)
{
    refresh();
}

void CScheduleEditDlgView::OnPrint()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->PrintSchedule(false, IsEditing());
}

void CScheduleEditDlgView::OnNew()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->ScheduleNew(false);
}

void CScheduleEditDlgView::OnSave(bool asNew)
{
    if (CMainFrame *frame = GetMainFrame())
        frame->ScheduleSave(asNew);
}

void CScheduleEditDlgView::OnClear()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->ScheduleCheckClear(true, true);
}
