#include "ui/players/set_r40_list_dlg_view.h"

#include "model/app_data.h"

CSetR40ListDlgView::CSetR40ListDlgView() : CSettingsPageDlgView(1526, QSize(600, 360), 5514) {}

void CSetR40ListDlgView::LoadSettings()
{
    QStringList lines;
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().GetPlayers())
        lines.append(QStringLiteral("%1\t%2\t%3").arg(player.Number).arg(player.Name, player.IPAddress));
    ShowLines(lines);
    SetModified(false);
}
