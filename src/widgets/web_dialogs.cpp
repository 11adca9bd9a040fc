#include "widgets/web_dialogs.h"

namespace {

IWebDialogs *g_webDialogs = nullptr;

} // namespace

IWebDialogs *GetWebDialogs()
{
    return g_webDialogs;
}

void SetWebDialogs(IWebDialogs *dialogs)
{
    g_webDialogs = dialogs;
}
