#include "ui/timetable/timetable_panes.h"

#include "app/pane_factory.h"
#include "ui/timetable/calendar_dlg_view.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/schedule_edit_dlg_view.h"
#include "ui/timetable/schedule_view_dlg_view.h"

void RegisterTimetablePanes()
{
    RegisterPaneMaker(PANE_KIND_PLAYLIST_EDIT, [](int type, int mode) { return new CPlaylistEditDlgView(type, mode); });
    RegisterPaneMaker(PANE_KIND_SCHEDULE_EDIT, [](int, int mode) { return new CScheduleEditDlgView(mode); });
    RegisterPaneMaker(PANE_KIND_CALENDAR, [](int type, int) { return new CCalendarDlgView(type); });
    RegisterPaneMaker(PANE_KIND_SCHEDULE_VIEW, [](int, int) { return new CScheduleViewDlgView; });
}
