#include "widgets/telop_editor.h"

namespace {

ITelopEditor *g_editor = nullptr;

} // namespace

void SetTelopEditor(ITelopEditor *editor)
{
    g_editor = editor;
}

ITelopEditor *GetTelopEditor()
{
    return g_editor;
}
