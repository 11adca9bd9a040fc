#include "ui/timetable/schedule_edit_dlg_view.h"

#include "app/main_frame.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "model/contents_store.h"
#include "model/schedule_edit_model.h"
#include "ops/clipboard_formats.h"
namespace {

// The tracks by item kind: the lists, then the four content tracks.
QString TrackNameOfKind(int kind)
{
    switch (kind) {
    case SCHEDULE_KIND_PLAYLIST:
        return QStringLiteral("プレイリスト");
    case SCHEDULE_KIND_BGM:
        return QStringLiteral("BGMリスト");
    case SCHEDULE_KIND_CONTENT_1:
        return QStringLiteral("素材1");
    case SCHEDULE_KIND_CONTENT_2:
        return QStringLiteral("素材2");
    case SCHEDULE_KIND_CONTENT_3:
        return QStringLiteral("素材3");
    default:
        return QStringLiteral("素材4");
    }
}

} // namespace

CScheduleEditDlgView::CScheduleEditDlgView(int mode)
    : CTimetablePaneDlg(QSize(600, 280), mode == MODE_EDITING ? 5504 : 6201, mode)
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

CTimetableModel *CScheduleEditDlgView::shownModel() const
{
    return model();
}

CTimetableEditor::Setup CScheduleEditDlgView::editorSetup()
{
    CTimetableEditor::Setup setup;
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
    // A changed time must lie within the players' operating hours.
    setup.checkTimes = [](const TimeValue &start, const TimeValue &end) {
        int wrongField = 0;
        CMainFrame *frame = GetMainFrame();
        return !frame || frame->CheckScheduleTime(start, end, wrongField);
    };
    return setup;
}

void CScheduleEditDlgView::initEditing()
{
    // A new schedule has one empty cell to drop the first list on.
    GetGrid()->GetTableModel()->SetEmptyRow(true);
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
        frame->ScheduleCheckClear(CMainFrame::CheckPanes::Keep, CMainFrame::CalendarDay::Clear);
}
