#include "ui/players/players_panes.h"

#include "app/pane_factory.h"
#include "ui/players/layout_disp_dlg_view.h"
#include "ui/players/layout_dlg_view.h"
#include "ui/players/layout_prop_dlg_view.h"
#include "ui/players/set_cont_dlg_view.h"
#include "ui/players/set_group_dlg_view.h"
#include "ui/players/set_opt_dlg_view.h"
#include "ui/players/set_r40_list_dlg_view.h"
#include "ui/players/set_system_dlg_view.h"
#include "ui/players/status_dlg_view.h"

void RegisterPlayersPanes()
{
    RegisterPaneMaker(PANE_KIND_LAYOUT_DISP, [](int, int) { return new CLayoutDispDlgView; });
    RegisterPaneMaker(PANE_KIND_LAYOUT, [](int, int) { return new CLayoutDlgView; });
    RegisterPaneMaker(PANE_KIND_LAYOUT_PROP, [](int, int) { return new CLayoutPropDlgView; });
    RegisterPaneMaker(PANE_KIND_STATUS, [](int, int) { return new CStatusDlgView; });
    RegisterPaneMaker(PANE_KIND_SET_SYSTEM, [](int, int) { return new CSetSystemDlgView; });
    RegisterPaneMaker(PANE_KIND_SET_R40_LIST, [](int, int) { return new CSetR40ListDlgView; });
    RegisterPaneMaker(PANE_KIND_SET_GROUP, [](int, int) { return new CSetGroupDlgView; });
    RegisterPaneMaker(PANE_KIND_SET_CONT, [](int, int) { return new CSetContDlgView; });
    RegisterPaneMaker(PANE_KIND_SET_OPT, [](int, int) { return new CSetOptDlgView; });
}
