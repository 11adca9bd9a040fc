#include "app/web_dialogs.h"

namespace {

IWebDialogs *g_dialogs = nullptr;

} // namespace

IWebDialogs *GetWebDialogs()
{
    return g_dialogs;
}

void SetWebDialogs(IWebDialogs *dialogs)
{
    g_dialogs = dialogs;
}
