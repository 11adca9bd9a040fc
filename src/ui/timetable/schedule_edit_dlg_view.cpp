#include "ui/timetable/schedule_edit_dlg_view.h"

CScheduleEditDlgView::CScheduleEditDlgView(int mode)
    : CTitledPaneDlg(0, QSize(600, 280), mode == MODE_EDITING ? 5504 : 6201), m_mode(mode)
{
}
