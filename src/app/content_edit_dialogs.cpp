#include "app/content_edit_dialogs.h"

namespace {
IContentEditDialogs *g_dialogs = nullptr;
} // namespace

IContentEditDialogs *GetContentEditDialogs()
{
    return g_dialogs;
}

void SetContentEditDialogs(IContentEditDialogs *dialogs)
{
    g_dialogs = dialogs;
}
