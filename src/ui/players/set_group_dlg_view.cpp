#include "ui/players/set_group_dlg_view.h"

#include "model/app_data.h"

CSetGroupDlgView::CSetGroupDlgView() : CSettingsPageDlgView(1527, QSize(600, 360), 5515) {}

void CSetGroupDlgView::LoadSettings()
{
    QStringList lines;
    const CQ9GroupXml &groups = GetAppData().GetGroupXml();
    CGroupRecord group;
    for (int i = 0; groups.GetGroup(i, group); ++i) {
        QStringList players;
        for (qint32 number : std::as_const(group.Players))
            players.append(QString::number(number));
        lines.append(QStringLiteral("%1\t%2\t%3").arg(group.Number).arg(group.Name, players.join(QLatin1Char(','))));
    }
    ShowLines(lines);
    SetModified(false);
}
