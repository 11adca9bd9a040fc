#include "ui/players/player_fields.h"

#include "app/main_frame.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "model/player_checks.h"
#include "ui/players/player_texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr quint32 kMsgOutOfRange = 5108;
constexpr quint32 kMsgCommunicating = 5295;
constexpr quint32 kMsgSelectNothing = 5328;
constexpr quint32 kMsgBadPlayerName = 5470;
constexpr quint32 kMsgLongPlayerName = 5478;
constexpr quint32 kMsgBadAddress = 5471;
constexpr quint32 kMsgBadMac = 5472;
constexpr quint32 kMsgDuplicatePlayer = 5473;
constexpr quint32 kMsgDuplicateGroup = 5475;
constexpr quint32 kMsgBadGroupName = 5476;
constexpr quint32 kMsgLongGroupName = 5482;
constexpr quint32 kTextLandscape = 6712;
constexpr quint32 kTextPortrait = 6713;
constexpr quint32 kTextAdd = 6709;
constexpr quint32 kTextChange = 6710;
constexpr quint32 kTextRemove = 4017;

QPushButton *makeButton(QWidget *parent, quint32 textId, int id)
{
    auto *button = new QPushButton(LoadString(textId), parent);
    button->setObjectName(QString::number(id));
    return button;
}

} // namespace

void FillResolutionCombo(QComboBox *combo)
{
    combo->clear();
    const ResolutionEntry *table = CAppData::GetResolutionTable();
    for (int i = 0; i < CAppData::kResolutionCount; ++i)
        combo->addItem(ResolutionText(table[i].Id), table[i].Id);
}

void FillOrientationCombo(QComboBox *combo)
{
    combo->clear();
    combo->addItem(OrientationText(ORIENTATION_LANDSCAPE), int(ORIENTATION_LANDSCAPE));
    combo->addItem(OrientationText(ORIENTATION_PORTRAIT), int(ORIENTATION_PORTRAIT));
}

void SelectComboData(QComboBox *combo, int value)
{
    combo->setCurrentIndex(std::max(combo->findData(value), 0));
}

int CurrentComboData(const QComboBox *combo)
{
    return combo->currentData().toInt();
}

QHBoxLayout *MakeScreenRow(QComboBox *resolution, QComboBox *orientation)
{
    FillResolutionCombo(resolution);
    FillOrientationCombo(orientation);
    auto *row = new QHBoxLayout;
    row->addWidget(resolution, 1);
    row->addWidget(orientation);
    return row;
}

QString ResolutionText(qint32 resolutionId, qint32 orientation)
{
    qint32 width = 0;
    qint32 height = 0;
    CAppData::GetResolutionSize(resolutionId, orientation, width, height);
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

QString OrientationText(qint32 orientation)
{
    return LoadString(orientation == ORIENTATION_PORTRAIT ? kTextPortrait : kTextLandscape);
}

bool AcceptEdit(QWidget *owner, PlayerEditResult result, bool ofGroup)
{
    const auto warn = [owner](quint32 id) { ShowMessage(owner, id, kTitleCaption, MB_OK | MB_ICONWARNING); };
    switch (result) {
    case PlayerEditResult::Ok:
        return true;
    case PlayerEditResult::EmptyName:
        warn(kMsgNotEntered);
        break;
    case PlayerEditResult::BadName:
        warn(ofGroup ? kMsgBadGroupName : kMsgBadPlayerName);
        break;
    case PlayerEditResult::LongName:
        warn(ofGroup ? kMsgLongGroupName : kMsgLongPlayerName);
        break;
    case PlayerEditResult::DuplicateName:
        warn(ofGroup ? kMsgDuplicateGroup : kMsgDuplicatePlayer);
        break;
    case PlayerEditResult::BadAddress:
        warn(kMsgBadAddress);
        break;
    case PlayerEditResult::BadPort:
        ShowMessageFormat(owner, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgOutOfRange, kMinPlayerPort, kMaxPlayerPort);
        break;
    case PlayerEditResult::BadMac:
        warn(kMsgBadMac);
        break;
    case PlayerEditResult::BadPosition:
        warn(kMsgSelectNothing);
        break;
    }
    return false;
}

bool RefuseWhileBusy(QWidget *owner)
{
    CMainFrame *frame = GetMainFrame();
    if (!frame || !frame->IsBusy())
        return false;
    ShowMessage(owner, kMsgCommunicating, kTitleCaption, MB_OK | MB_ICONWARNING);
    return true;
}

EditButtons MakeEditButtons(QWidget *parent, int addId, int changeId, int removeId)
{
    EditButtons buttons{new QHBoxLayout, makeButton(parent, kTextAdd, addId), makeButton(parent, kTextChange, changeId),
                        makeButton(parent, kTextRemove, removeId)};
    buttons.row->addStretch(1);
    for (QPushButton *button : {buttons.add, buttons.change, buttons.remove})
        buttons.row->addWidget(button);
    return buttons;
}

QTableWidget *MakeRecordTable(QWidget *parent, int id, const QList<quint32> &headerIds)
{
    auto *table = new QTableWidget(0, int(headerIds.size()), parent);
    table->setObjectName(QString::number(id));
    QStringList headers;
    for (quint32 headerId : headerIds)
        headers.append(LoadString(headerId));
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetTableRow(QTableWidget *table, int row, const QStringList &texts)
{
    for (int column = 0; column < texts.size(); ++column)
        table->setItem(row, column, new QTableWidgetItem(texts[column]));
}

int SelectedTableRow(const QTableWidget *table)
{
    const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.front().topRow();
}

void SelectTableRow(QTableWidget *table, int row)
{
    if (row >= 0)
        table->selectRow(row);
    else
        table->clearSelection();
}
