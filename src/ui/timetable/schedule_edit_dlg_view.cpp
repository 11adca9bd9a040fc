#include "ui/timetable/schedule_edit_dlg_view.h"

#include "app/main_frame.h"
#include "model/contents_store.h"

CScheduleEditDlgView::CScheduleEditDlgView(int mode)
    : CTimetablePaneDlg(QSize(600, 280), mode == MODE_EDITING ? 5504 : 6201), m_mode(mode)
{
}

CScheduleEditModel *CScheduleEditDlgView::model() const
{
    CContentsStore &store = GetContentFolders();
    return IsEditing() ? store.GetScheduleModel() : store.GetSecondScheduleModel();
}

void CScheduleEditDlgView::refresh()
{
    const CScheduleEditModel &shown = *model();
    QStringList names;
    for (int track = 1; track < shown.GetTrackCount(); ++track)
        names << QString::number(shown.GetTrackKind(track));
    showModel(shown, names);
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
