#include "ui/players/set_cont_dlg_view.h"

#include "core/system_ini.h"

namespace {
constexpr int kContentTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 10};
} // namespace

CSetContDlgView::CSetContDlgView() : CSettingsPageDlgView(1528, QSize(480, 320), 5516) {}

void CSetContDlgView::LoadSettings()
{
    QStringList lines;
    const CSystemIni &settings = GetSystemIni();
    for (int type : kContentTypes) {
        lines.append(QStringLiteral("%1\t%2\t%3")
                         .arg(type)
                         .arg(settings.IsContentTypeUsed(type) ? 1 : 0)
                         .arg(settings.GetMaxCount(type)));
    }
    ShowLines(lines);
    SetModified(false);
}
