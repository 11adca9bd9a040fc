#include "widgets/content_edit_dialogs.h"

namespace {
IContentEditDialogs *g_contentEditDialogs = nullptr;
} // namespace

IContentEditDialogs *GetContentEditDialogs()
{
    return g_contentEditDialogs;
}

void SetContentEditDialogs(IContentEditDialogs *dialogs)
{
    g_contentEditDialogs = dialogs;
}
