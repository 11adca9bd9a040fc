#include "ui/contents/contents_panes.h"

#include "app/pane_factory.h"
#include "ops/web_thumbnail.h"
#include "ui/contents/content_edit_dialogs_runner.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/contents/play_position_dlg.h"
#include "ui/contents/telop_editor_dialogs.h"
#include "ui/contents/url_thumb_thread.h"
#include "ui/contents/web_dialogs_runner.h"

void RegisterContentsPanes()
{
    RegisterPaneMaker(PANE_KIND_CONTENTS, [](int, int mode) { return new CContentsDlgView(mode); });
    SetUrlThumbnailMaker(&CUrlThumbThread::Instance());
    SetWebDialogs(&CWebDialogsRunner::Instance());
    RegisterTelopEditor();
    SetPlayPositionPrompter(&CPlayPositionPrompter::Instance());
    SetContentEditDialogs(&CContentEditDialogsRunner::Instance());
}
