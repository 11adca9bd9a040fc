#include "app/pane_factory.h"

#include <array>

namespace {

std::array<PaneMaker, PANE_KIND_COUNT> &Makers()
{
    static std::array<PaneMaker, PANE_KIND_COUNT> makers;
    return makers;
}

bool IsKind(int kind)
{
    return kind >= 0 && kind < PANE_KIND_COUNT;
}

} // namespace

void RegisterPaneMaker(PaneKind kind, PaneMaker maker)
{
    if (IsKind(kind))
        Makers()[size_t(kind)] = std::move(maker);
}

CTelvPaneDlg *MakePane(PaneKind kind, int type, int mode)
{
    if (!IsKind(kind) || !Makers()[size_t(kind)])
        return nullptr;
    return Makers()[size_t(kind)](type, mode);
}
