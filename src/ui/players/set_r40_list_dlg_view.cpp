#include "ui/players/set_r40_list_dlg_view.h"

#include "widgets/control_id.h"
#include "widgets/idle_signal.h"
#include "widgets/name_fields.h"
#include "app/main_frame.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "ops/player_commands.h"
#include "ui/players/player_fields.h"
#include "ui/players/player_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgNotDigits = 5235;
constexpr quint32 kTextAddress = 6701;
constexpr quint32 kTextPort = 6702;
constexpr quint32 kTextGroup = 6703;
constexpr quint32 kTextCommunicate = 6706;
constexpr quint32 kTextMac = 6707;
constexpr quint32 kTextSerial = 6711;
constexpr quint32 kTextTimeZone = 6719;
constexpr quint32 kTextNoGroup = 6715;
constexpr quint32 kTextCommunicates = 6716;

struct CommandButton {
    int id;
    int mode;
    const char *text;
};

// Setting the clock is offered by the answer to the clock query.
constexpr CommandButton kCommandButtons[] = {
    {CSetR40ListDlgView::kCheckConnectId, COMMAND_MODE_CHECK_CONNECT, "接続チェック"},
    {CSetR40ListDlgView::kQueryTimeId, COMMAND_MODE_QUERY_TIME, "日時の確認"},
    {CSetR40ListDlgView::kRestartId, COMMAND_MODE_RESTART, "再起動"},
    {CSetR40ListDlgView::kPowerOnId, COMMAND_MODE_POWER_ON, "電源オン"},
    {CSetR40ListDlgView::kPowerOffId, COMMAND_MODE_POWER_OFF, "電源オフ"},
};

} // namespace

CSetR40ListDlgView::CSetR40ListDlgView() : CPlayerGroupPageDlgView(1526, QSize(760, 480), 5514) {}

bool CSetR40ListDlgView::OnInitDialog()
{
    if (!CPlayerGroupPageDlgView::OnInitDialog())
        return false;
    auto *content = new QVBoxLayout;
    content->addWidget(makeList(kListId, {kTextNumber, kTextName, kTextAddress, kTextPort, kTextGroup,
                                          kTextResolution, kTextCommunicate, kTextMac}),
                       1);
    content->addLayout(makeFields());
    content->addLayout(makeCommandButtons());
    AddContent(content);
    // Transfers and commands start and end elsewhere; the buttons follow them.
    connect(&CIdleSignal::Instance(), &CIdleSignal::idle, this, [this] {
        updateCommandButtons();
        showReportedFacts();
    });
    updateCommandButtons();
    return true;
}

QLayout *CSetR40ListDlgView::makeCommandButtons()
{
    auto *row = new QHBoxLayout;
    for (const CommandButton &command : kCommandButtons) {
        auto *button = WithControlId(new QPushButton(QString::fromUtf8(command.text), this), command.id);
        const int mode = command.mode;
        connect(button, &QPushButton::clicked, this, [this, mode] { startCommand(mode); });
        row->addWidget(button);
        m_commands.push_back(button);
    }
    row->addStretch(1);
    return row;
}

void CSetR40ListDlgView::updateCommandButtons()
{
    CMainFrame *frame = GetMainFrame();
    const bool enabled = selectedStoredPlayer() >= 0 && frame && !frame->IsBusy();
    // Power-on reaches a player by the MAC address the page shows it with.
    const bool hasMac = enabled && !m_edit.Players()[size_t(selectedRow())].MacAddress.trimmed().isEmpty();
    const QString powerOn = QString::number(kPowerOnId);
    for (QPushButton *button : m_commands)
        button->setEnabled(enabled && (button->objectName() != powerOn || hasMac));
}

qint32 CSetR40ListDlgView::selectedStoredPlayer() const
{
    const int row = selectedRow();
    if (row < 0 || size_t(row) >= m_edit.Players().size())
        return -1;
    // A player added on the page and not yet saved is not there to address.
    const qint32 number = m_edit.Players()[size_t(row)].Number;
    return GetAppData().GetPlayerXml().HasPlayer(number) ? number : -1;
}

void CSetR40ListDlgView::showReportedFacts()
{
    // A status query's worker may be storing them just now: read a copy.
    const PlayerRecord record = GetAppData().GetPlayerXml().CopyPlayer(selectedStoredPlayer()).value_or(PlayerRecord{});
    m_serial->setText(record.Serial);
    m_timeZone->setText(record.TimeZone);
}

void CSetR40ListDlgView::startCommand(int mode)
{
    const qint32 player = selectedStoredPlayer();
    CMainFrame *frame = GetMainFrame();
    if (!frame || player < 0)
        return;
    // The player is reached as the page shows it: a corrected address,
    // password or MAC address is used before OK stores it.
    const PlayerRecord &shown = m_edit.Players()[size_t(selectedRow())];
    frame->R40CommandStart(mode, player, PlayerAddress{shown.IPAddress, shown.Port, shown.Pass, shown.MacAddress});
    updateCommandButtons();
}

QLayout *CSetR40ListDlgView::makeFields()
{
    auto *form = new QFormLayout;
    m_name = WithControlId(new QLineEdit(this), kNameId);
    m_address = WithControlId(new QLineEdit(this), kAddressId);
    m_port = WithControlId(new QLineEdit(this), kPortId);
    m_group = WithControlId(new QComboBox(this), kGroupId);
    FitNameCombo(m_group);
    m_resolution = WithControlId(new QComboBox(this), kResolutionId);
    m_orientation = WithControlId(new QComboBox(this), kOrientationId);
    m_communicate = WithControlId(new QCheckBox(LoadString(kTextCommunicates), this), kCommunicateId);
    m_communicate->setChecked(true);
    m_mac = WithControlId(new QLineEdit(this), kMacId);
    m_mac->setPlaceholderText(QStringLiteral("00-11-22-33-44-55"));
    m_password = WithControlId(new QLineEdit(this), kPasswordId);
    m_password->setEchoMode(QLineEdit::Password);
    m_serial = WithControlId(new QLineEdit(this), kSerialId);
    m_serial->setReadOnly(true);
    m_timeZone = WithControlId(new QLineEdit(this), kTimeZoneId);
    m_timeZone->setReadOnly(true);
    form->addRow(LoadString(kTextName), m_name);
    form->addRow(LoadString(kTextAddress), m_address);
    form->addRow(LoadString(kTextPort), m_port);
    form->addRow(LoadString(kTextPassword), m_password);
    form->addRow(LoadString(kTextGroup), m_group);
    form->addRow(LoadString(kTextResolution), MakeScreenRow(m_resolution, m_orientation));
    form->addRow(LoadString(kTextMac), m_mac);
    form->addRow(LoadString(kTextSerial), m_serial);
    form->addRow(LoadString(kTextTimeZone), m_timeZone);
    form->addRow(QString(), m_communicate);
    form->addRow(makeButtons(kAddId, kChangeId, kRemoveId));
    return form;
}

void CSetR40ListDlgView::refill()
{
    // An empty port is the default of the option settings, which may have changed.
    m_port->setPlaceholderText(QString::number(GetSettingIni().Options().HttpPort));
    const QString group = m_group->currentData().toString();
    m_group->clear();
    m_group->addItem(LoadString(kTextNoGroup), QString());
    for (const CGroupRecord &record : m_edit.Groups())
        m_group->addItem(record.Name, record.Name);
    m_group->setCurrentIndex(std::max(m_group->findData(group), 0));

    const std::vector<PlayerRecord> &players = m_edit.Players();
    m_list->setRowCount(int(players.size()));
    for (int row = 0; row < int(players.size()); ++row) {
        const PlayerRecord &player = players[size_t(row)];
        SetTableRow(m_list, row, {
            QString::number(player.Number),
            player.Name,
            player.IPAddress,
            player.Port > 0 ? QString::number(player.Port) : QString(),
            player.Group,
            ResolutionText(player.ResolutionId) + QLatin1Char(' ') + OrientationText(player.Orientation),
            player.NoComm ? QString() : LoadString(kTextCommunicates),
            player.MacAddress,
        });
    }
    m_list->resizeColumnsToContents();
    FitNameColumn(m_list, COL_NAME);
    FitNameColumn(m_list, COL_GROUP);
}

void CSetR40ListDlgView::showSelected()
{
    updateCommandButtons();
    showReportedFacts();
    const int row = selectedRow();
    if (row < 0 || size_t(row) >= m_edit.Players().size())
        return;
    const PlayerRecord &player = m_edit.Players()[size_t(row)];
    m_name->setText(player.Name);
    m_address->setText(player.IPAddress);
    m_port->setText(player.Port > 0 ? QString::number(player.Port) : QString());
    m_password->setText(player.Pass);
    m_group->setCurrentIndex(std::max(m_group->findData(player.Group), 0));
    SelectComboData(m_resolution, player.ResolutionId);
    SelectComboData(m_orientation, player.Orientation);
    m_communicate->setChecked(!player.NoComm);
    m_mac->setText(player.MacAddress);
}

bool CSetR40ListDlgView::recordFromFields(PlayerRecord &record)
{
    const QString port = m_port->text().trimmed();
    if (!port.isEmpty() && !IsDecimalDigits(port)) {
        ShowMessage(this, kMsgNotDigits, kTitleCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    bool ok = false;
    const qint64 value = port.toLongLong(&ok);
    // An empty port keeps the system default; any number out of range is refused by the check.
    record.Port = port.isEmpty() ? 0 : (ok && value >= 1 && value <= 65535 ? int(value) : -1);
    record.Name = m_name->text();
    record.IPAddress = m_address->text();
    record.Pass = m_password->text();
    record.Group = m_group->currentData().toString();
    record.ResolutionId = CurrentComboData(m_resolution);
    record.Orientation = CurrentComboData(m_orientation);
    qint32 width = 0;
    qint32 height = 0;
    CAppData::GetResolutionSize(record.ResolutionId, ORIENTATION_LANDSCAPE, width, height);
    record.Resolution = QStringLiteral("%1x%2").arg(width).arg(height);
    record.NoComm = !m_communicate->isChecked();
    record.MacAddress = m_mac->text();
    return true;
}

void CSetR40ListDlgView::OnAdd()
{
    PlayerRecord record;
    if (!recordFromFields(record) || !AcceptEdit(this, m_edit.AddPlayer(record), false))
        return;
    afterEdit(int(m_edit.Players().size()) - 1);
}

void CSetR40ListDlgView::OnChange()
{
    const int row = selectedRow();
    if (row < 0) {
        AcceptEdit(this, PlayerEditResult::BadPosition, false);
        return;
    }
    // Fields the page does not show keep their stored values.
    PlayerRecord record = m_edit.Players()[size_t(row)];
    if (!recordFromFields(record) || !AcceptEdit(this, m_edit.ChangePlayer(row, record), false))
        return;
    afterEdit(row);
}

void CSetR40ListDlgView::removeAt(int row)
{
    m_edit.RemovePlayer(row);
}
