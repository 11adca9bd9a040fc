#include "ui/contents/contents_panes.h"

#include "app/pane_factory.h"
#include "ui/contents/contents_dlg_view.h"

void RegisterContentsPanes()
{
    RegisterPaneMaker(PANE_KIND_CONTENTS, [](int, int mode) { return new CContentsDlgView(mode); });
}
