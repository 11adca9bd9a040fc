#include "ui/players/set_group_dlg_view.h"

#include "widgets/name_fields.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "ui/players/player_fields.h"
#include "ui/players/player_texts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgGroupHasPlayers = 5474;
constexpr quint32 kTextMembers = 6714;
constexpr quint32 kTextPlayerCount = 6717;

} // namespace

CSetGroupDlgView::CSetGroupDlgView() : CPlayerGroupPageDlgView(1527, QSize(720, 440), 5515) {}

bool CSetGroupDlgView::OnInitDialog()
{
    if (!CPlayerGroupPageDlgView::OnInitDialog())
        return false;
    auto *content = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(makeList(kListId, {kTextNumber, kTextName, kTextResolution, kTextPlayerCount}), 1);
    left->addLayout(makeFields());
    content->addLayout(left, 3);
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(LoadString(kTextMembers), this));
    m_members = new QListWidget(this);
    m_members->setObjectName(QString::number(kMembersId));
    connect(m_members, &QListWidget::itemChanged, this, &CSetGroupDlgView::onMemberChanged);
    right->addWidget(m_members, 1);
    content->addLayout(right, 2);
    AddContent(content);
    return true;
}

QLayout *CSetGroupDlgView::makeFields()
{
    auto *form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QString::number(kNameId));
    m_resolution = new QComboBox(this);
    m_resolution->setObjectName(QString::number(kResolutionId));
    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QString::number(kOrientationId));
    form->addRow(LoadString(kTextName), m_name);
    form->addRow(LoadString(kTextResolution), MakeScreenRow(m_resolution, m_orientation));
    form->addRow(makeButtons(kAddId, kChangeId, kRemoveId));
    return form;
}

void CSetGroupDlgView::refill()
{
    const std::vector<CGroupRecord> &groups = m_edit.Groups();
    m_list->setRowCount(int(groups.size()));
    for (int row = 0; row < int(groups.size()); ++row) {
        const CGroupRecord &group = groups[size_t(row)];
        SetTableRow(m_list, row, {
            QString::number(group.Number),
            group.Name,
            ResolutionText(group.ResolutionId) + QLatin1Char(' ') + OrientationText(group.Orientation),
            QString::number(group.Players.size()),
        });
    }
    m_list->resizeColumnsToContents();
    FitNameColumn(m_list, COL_NAME);
}

void CSetGroupDlgView::fillMembers()
{
    m_filling = true;
    m_members->clear();
    for (const PlayerRecord &player : m_edit.Players()) {
        auto *item = new QListWidgetItem(m_members);
        item->setData(Qt::UserRole, player.Number);
    }
    m_filling = false;
    updateMembers();
}

// Every player, ticked when it is in the selected group and named with its
// other group otherwise; without a selected group nothing can be ticked.
void CSetGroupDlgView::updateMembers()
{
    m_filling = true;
    const int row = selectedRow();
    const QString group = row >= 0 ? m_edit.Groups()[size_t(row)].Name : QString();
    const std::vector<PlayerRecord> &players = m_edit.Players();
    for (int i = 0; i < m_members->count() && size_t(i) < players.size(); ++i) {
        const PlayerRecord &player = players[size_t(i)];
        const bool member = row >= 0 && player.Group.compare(group, Qt::CaseInsensitive) == 0;
        QListWidgetItem *item = m_members->item(i);
        item->setText(member || player.Group.isEmpty() ? player.Name
                                                       : QStringLiteral("%1 (%2)").arg(player.Name, player.Group));
        item->setFlags(row >= 0 ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::ItemIsEnabled);
        item->setCheckState(member ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void CSetGroupDlgView::showSelected()
{
    const int row = selectedRow();
    if (row >= 0 && size_t(row) < m_edit.Groups().size()) {
        const CGroupRecord &group = m_edit.Groups()[size_t(row)];
        m_name->setText(group.Name);
        SelectComboData(m_resolution, group.ResolutionId);
        SelectComboData(m_orientation, group.Orientation);
    }
    fillMembers();
}

void CSetGroupDlgView::onMemberChanged(QListWidgetItem *item)
{
    const int row = selectedRow();
    if (m_filling || row < 0)
        return;
    const qint32 number = item->data(Qt::UserRole).toInt();
    const std::vector<PlayerRecord> &players = m_edit.Players();
    const auto found = std::find_if(players.begin(), players.end(),
                                    [number](const PlayerRecord &player) { return player.Number == number; });
    if (found == players.end())
        return;
    const QString group = item->checkState() == Qt::Checked ? m_edit.Groups()[size_t(row)].Name : QString();
    m_edit.SetPlayerGroup(int(found - players.begin()), group);
    // The ticked item stays: it is the one whose signal is being handled.
    {
        const QSignalBlocker blocker(m_list);
        refill();
        SelectTableRow(m_list, row);
    }
    updateMembers();
    SetModified(m_edit.IsModified());
}

CGroupRecord CSetGroupDlgView::groupFromFields() const
{
    CGroupRecord group;
    group.Name = m_name->text();
    group.ResolutionId = CurrentComboData(m_resolution);
    group.Orientation = CurrentComboData(m_orientation);
    return group;
}

void CSetGroupDlgView::OnAdd()
{
    if (!AcceptEdit(this, m_edit.AddGroup(groupFromFields()), true))
        return;
    afterEdit(int(m_edit.Groups().size()) - 1);
}

void CSetGroupDlgView::OnChange()
{
    const int row = selectedRow();
    if (!AcceptEdit(this, row < 0 ? PlayerEditResult::BadPosition : m_edit.ChangeGroup(row, groupFromFields()), true))
        return;
    afterEdit(row);
}

bool CSetGroupDlgView::confirmRemove(int row)
{
    return m_edit.GroupMemberCount(row) == 0 ||
           ShowMessage(this, kMsgGroupHasPlayers, kTitleCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CSetGroupDlgView::removeAt(int row)
{
    m_edit.RemoveGroup(row);
}
