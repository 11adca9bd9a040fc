#include "ui/players/layout_template_store.h"

void CLayoutTemplateStore::SetLayout(int number, int displayMode, const Areas &areas)
{
    m_layouts[{number, displayMode}] = areas;
}

bool CLayoutTemplateStore::Lookup(int number, int displayMode, Areas &areas) const
{
    const auto found = m_layouts.find({number, displayMode});
    if (found == m_layouts.end())
        return false;
    areas = found->second;
    return true;
}
