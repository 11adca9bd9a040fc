#include "ui/players/status_dlg_view.h"

#include "widgets/idle_signal.h"
#include "app/main_frame.h"
#include "widgets/name_fields.h"
#include "core/printf_format.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "ops/log_collection.h"
#include "ops/player_commands.h"
#include "transfer/dlk_transfer_worker.h"
#include "transfer/transfer_status_xml.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace {

const char *const kStateTexts[] = {
    "未通信",                         // 0
    "通信中",                         // 1
    "完了",                           // 2
    "エラー",                         // 3
    "エラー再送待機中",               // 4
    "禁止解除待ち (%02d:%02d:%02d)",  // 5
    "中止",                           // 6
    "システムログ圧縮中",             // 7
    "システムログ圧縮完了",           // 8
    "指定時間待ち (%02d:%02d:%02d)",  // 9
    "エラー",                         // 10
};

// One player's send state: registering, listing, done, the failures, stopped.
const char *const kPlayerStateTexts[] = {
    "未通信",             // 0
    "登録中",             // 1
    "通信中",             // 2
    "完了",               // 3
    "エラー",             // 4
    "ディスク容量不足",   // 5
    "AVディスク容量不足", // 6
    "送信エラー",         // 7
    "通信エラー",         // 8
    "中止",               // 9
};

const char *const kColumnTitles[] = {"KDP-R40", "状態",     "エラーコード", "ファイル",   "サイズ",
                                     "バージョン", "空き容量", "AV空き容量",   "KDP-R40日時"};

// What a status query found wrong with a player, beside its detail code.
const char *FindingText(qint32 detail)
{
    switch (detail) {
    case DLK_DETAIL_PLAYER_CHANGED: return "設定の不一致";
    case DLK_DETAIL_VERSION_CHANGED: return "バージョンの不一致";
    case DLK_DETAIL_FAN: return "ファン異常";
    case DLK_DETAIL_TEMPERATURE: return "温度異常";
    default: return nullptr;
    }
}

// The view of the communication status, where the players are maintained.
constexpr int kMaintenanceMode = 43;

QString Megabytes(quint64 remain, quint64 total)
{
    constexpr quint64 kMegabyte = 1024 * 1024;
    if (total == 0)
        return QString();
    return QStringLiteral("%1 / %2 MB").arg(remain / kMegabyte).arg(total / kMegabyte);
}

// "count/total" of a job's files: the total is what the job found to do, or
// for a job of commands the commands it was given; nothing before either is known.
QString FilesText(const TransferStatusRecord &record)
{
    const qint32 total = record.SendFileTotal > 0 ? record.SendFileTotal
        : record.SendFileCount > 0                ? std::max(record.CheckFileTotal, record.SendFileCount)
                                                  : 0;
    return total > 0 ? QStringLiteral("%1/%2").arg(record.SendFileCount).arg(total) : QString();
}

QString BytesText(const TransferStatusRecord &record)
{
    if (record.ContFileSize == 0 && record.SendContFileSize == 0)
        return QString();
    return QStringLiteral("%1/%2").arg(record.SendContFileSize).arg(std::max(record.ContFileSize, record.SendContFileSize));
}

QString DetailText(qint32 detail)
{
    if (detail == 0)
        return QString();
    const QString code = QStringLiteral("%1").arg(detail, 4, 10, QLatin1Char('0'));
    const char *finding = FindingText(detail);
    return finding ? code + QLatin1Char(' ') + QString::fromUtf8(finding) : code;
}

QString PlayerName(qint32 number)
{
    const std::optional<PlayerRecord> record = GetAppData().GetPlayerXml().CopyPlayer(number);
    return record ? record->Name : QString::number(number);
}

} // namespace

CStatusDlgView::CStatusDlgView() : CTitledPaneDlg(0, QSize(600, 280), 0) {}

bool CStatusDlgView::OnInitDialog()
{
    if (!CTitledPaneDlg::OnInitDialog())
        return false;
    GetTitleLabel()->hide();
    m_state = new QLabel(this);
    m_state->setAlignment(Qt::AlignCenter);
    m_state->setObjectName(QString::fromLatin1(kStateLabelName));
    layout()->addWidget(m_state);
    m_players = new QTableWidget(0, COLUMN_COUNT, this);
    m_players->setObjectName(QString::fromLatin1(kPlayerListName));
    m_players->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_players->setSelectionMode(QAbstractItemView::NoSelection);
    m_players->verticalHeader()->hide();
    m_players->horizontalHeader()->setStretchLastSection(true);
    QStringList titles;
    for (const char *title : kColumnTitles)
        titles << QString::fromUtf8(title);
    m_players->setHorizontalHeaderLabels(titles);
    layout()->addWidget(m_players);
    GetBodyLayout()->addLayout(makeControls());
    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshIntervalMs);
    connect(m_refresh, &QTimer::timeout, this, &CStatusDlgView::UpdateState);
    // Transfers and commands start and end elsewhere; the controls follow them.
    connect(&CIdleSignal::Instance(), &CIdleSignal::idle, this, &CStatusDlgView::updateControls);
    SetViewMode(m_mode);
    UpdateState();
    return true;
}

QBoxLayout *CStatusDlgView::makeControls()
{
    auto *rows = new QVBoxLayout;
    auto *query = new QHBoxLayout;
    m_player = new QComboBox(this);
    m_player->setObjectName(QString::number(ID_PLAYER));
    FitNameCombo(m_player);
    connect(m_player, &QComboBox::activated, this, &CStatusDlgView::onPlayerChosen);
    query->addWidget(m_player);
    addControl(query, ID_STATUS_SELECTED, "ステータス取得", true, false, &CStatusDlgView::getSelectedStatus);
    addControl(query, ID_STATUS_ALL, "すべてのステータス取得", false, false, &CStatusDlgView::getAllStatus);
    addControl(query, ID_REMOTE_LIST, "コンテンツ一覧の取得", true, false, &CStatusDlgView::getRemoteLists);
    query->addStretch(1);
    // A stalled player may hold a transfer for a minute: it is stopped where it is shown.
    m_stop = new QPushButton(QStringLiteral("停止"), this);
    m_stop->setObjectName(QString::number(ID_STOP));
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (CMainFrame *frame = GetMainFrame())
            frame->StopTransfer();
    });
    query->addWidget(m_stop);
    auto *maintain = new QHBoxLayout;
    addControl(maintain, ID_UPDATE_SELECTED, "アップデート", true, true, &CStatusDlgView::updateSelected);
    addControl(maintain, ID_UPDATE_ALL, "すべてアップデート", false, true, &CStatusDlgView::updateAll);
    addControl(maintain, ID_LOG_APPLICATION, "TELV-Q9のログ保存", false, true,
               &CStatusDlgView::collectApplicationLog);
    addControl(maintain, ID_LOG_PLAYER, "KDP-R40のログ保存", true, true, &CStatusDlgView::collectPlayerLog);
    addControl(maintain, ID_LOG_ALL, "すべてのログ保存", false, true, &CStatusDlgView::collectAllLogs);
    maintain->addStretch(1);
    rows->addLayout(query);
    rows->addLayout(maintain);
    return rows;
}

void CStatusDlgView::addControl(QLayout *row, int id, const char *text, bool needsPlayer, bool maintenanceOnly,
                                void (CStatusDlgView::*action)())
{
    auto *button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(QString::number(id));
    connect(button, &QPushButton::clicked, this, [this, action] {
        (this->*action)();
        updateControls();
    });
    row->addWidget(button);
    m_controls.push_back({button, needsPlayer, maintenanceOnly});
}

void CStatusDlgView::SetViewMode(int mode)
{
    m_mode = mode;
    for (const Control &control : m_controls)
        control.button->setVisible(!control.maintenanceOnly || mode == kMaintenanceMode);
    // The players may have changed while another view was shown.
    fillPlayers();
}

void CStatusDlgView::OnPlayerChanged()
{
    fillPlayers();
}

void CStatusDlgView::fillPlayers()
{
    if (!m_player)
        return;
    const CMainFrame *frame = GetMainFrame();
    m_player->clear();
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().CopyPlayers()) {
        m_player->addItem(player.Name, player.Number);
        if (frame && player.Number == frame->GetCurrentPlayerId())
            m_player->setCurrentIndex(m_player->count() - 1);
    }
    updateControls();
}

void CStatusDlgView::onPlayerChosen(int index)
{
    // The frame's selected player is the one its player-only operations address.
    if (CMainFrame *frame = GetMainFrame(); frame && index >= 0)
        frame->SelectPlayer(m_player->itemData(index).toInt());
}

qint32 CStatusDlgView::selectedPlayer() const
{
    const CMainFrame *frame = GetMainFrame();
    const qint32 number = frame ? frame->GetCurrentPlayerId() : -1;
    return GetAppData().GetPlayerXml().HasPlayer(number) ? number : -1;
}

// Every player that communicates.
QList<qint32> CStatusDlgView::allPlayers() const
{
    return GetAppData().GetPlayerNumbers(true);
}

void CStatusDlgView::updateControls()
{
    const CMainFrame *frame = GetMainFrame();
    const bool idle = frame && !frame->IsBusy();
    const bool chosen = selectedPlayer() >= 0;
    for (const Control &control : m_controls)
        control.button->setEnabled(idle && (chosen || !control.needsPlayer));
    if (m_player)
        m_player->setEnabled(idle);
    if (m_stop)
        m_stop->setEnabled(frame && frame->CanStopTransfer());
}

void CStatusDlgView::getSelectedStatus()
{
    if (CMainFrame *frame = GetMainFrame(); frame && selectedPlayer() >= 0)
        frame->R40GetStatus({selectedPlayer()});
}

void CStatusDlgView::getAllStatus()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->R40GetStatus(allPlayers());
}

void CStatusDlgView::getRemoteLists()
{
    // Every list the player keeps (any type but the listed ones).
    if (CMainFrame *frame = GetMainFrame())
        frame->R40GetRemoteList(0);
}

void CStatusDlgView::updateSelected()
{
    if (CMainFrame *frame = GetMainFrame(); frame && selectedPlayer() >= 0)
        frame->R40Update({selectedPlayer()}, false);
}

void CStatusDlgView::updateAll()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->R40Update(allPlayers(), true);
}

void CStatusDlgView::collectApplicationLog()
{
    // This program's own files need no transfer: the collection starts at once.
    if (CMainFrame *frame = GetMainFrame(); frame && !frame->IsBusy())
        frame->StartLogCollect(LOG_COLLECT_APPLICATION);
}

void CStatusDlgView::collectPlayerLog()
{
    if (CMainFrame *frame = GetMainFrame(); frame && selectedPlayer() >= 0)
        frame->R40GetLog(LOG_COLLECT_PLAYER, {selectedPlayer()});
}

void CStatusDlgView::collectAllLogs()
{
    if (CMainFrame *frame = GetMainFrame())
        frame->R40GetLog(LOG_COLLECT_ALL, allPlayers());
}

QString CStatusDlgView::StateText(int state, const TimeValue &time)
{
    if (state < 0 || state >= int(std::size(kStateTexts)))
        return QString();
    const QString format = QString::fromUtf8(kStateTexts[state]);
    if (state != TRANSFER_STATE_NO_SEND_WAIT && state != TRANSFER_STATE_START_WAIT)
        return format;
    return FormatPrintf(format, {PrintfArg(int(time.hour)), PrintfArg(int(time.minute)), PrintfArg(int(time.second))});
}

void CStatusDlgView::StartRefresh()
{
    m_busy = true;
    if (m_refresh)
        m_refresh->start();
    UpdateState();
}

void CStatusDlgView::StopRefresh()
{
    if (m_refresh)
        m_refresh->stop();
    m_busy = false;
}

void CStatusDlgView::UpdateState()
{
    const CTransferStatusXml *status = GetPlayerStatusStore();
    const int state = status ? status->GetTransferState() : TRANSFER_STATE_IDLE;
    const SystemSettings settings = GetSystemIni().Settings();
    const TimeValue time = state == TRANSFER_STATE_NO_SEND_WAIT ? settings.NotSendEndTime : settings.AutoSendStartTime;
    if (m_state)
        m_state->setText(StateText(state, time));
    updatePlayers();
}

QString CStatusDlgView::PlayerStateText(int state)
{
    if (state < 0 || state >= int(std::size(kPlayerStateTexts)))
        return QString();
    return QString::fromUtf8(kPlayerStateTexts[state]);
}

void CStatusDlgView::SetPlayers(const QList<qint32> &numbers)
{
    m_numbers = numbers;
    updatePlayers();
}

QStringList CStatusDlgView::RowTexts(const QString &name, const TransferStatusRecord &record)
{
    // The answer to a status query; a player not queried shows none.
    const bool answered = !record.R40Version.isEmpty();
    const SystemTime &clock = record.R40DateTime;
    return {
        name,
        PlayerStateText(record.SendSts),
        DetailText(record.ErrorCode),
        FilesText(record),
        BytesText(record),
        answered ? record.R40Version : QString(),
        answered ? Megabytes(record.RemainHdd, record.TotalHdd) : QString(),
        answered ? Megabytes(record.RemainHddAV, record.TotalHddAV) : QString(),
        answered && clock.year != 0 ? FormatCommandTime(clock) : QString(),
    };
}

void CStatusDlgView::updatePlayers()
{
    const CTransferStatusXml *status = GetPlayerStatusStore();
    if (!m_players)
        return;
    m_players->setRowCount(int(m_numbers.size()));
    for (int row = 0; row < m_numbers.size(); ++row) {
        TransferStatusRecord record;
        if (status)
            status->GetPlayerStatus(m_numbers[row], record);
        const QStringList cells = RowTexts(PlayerName(m_numbers[row]), record);
        for (int column = 0; column < COLUMN_COUNT; ++column) {
            QTableWidgetItem *item = m_players->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_players->setItem(row, column, item);
            }
            item->setText(cells.value(column));
        }
    }
    fitColumns();
}

void CStatusDlgView::fitColumns()
{
    QHeaderView *header = m_players->horizontalHeader();
    for (int column = 0; column < COLUMN_COUNT - 1; ++column) {
        const int before = header->sectionSize(column);
        m_players->resizeColumnToContents(column);
        if (header->sectionSize(column) < before)
            header->resizeSection(column, before);
    }
    // Columns never narrow, so that they do not jump while a transfer
    // refreshes them; a long name would keep the others off the screen.
    FitNameColumn(m_players, COLUMN_NAME);
}

QString CStatusDlgView::GetStateText() const
{
    return m_state ? m_state->text() : QString();
}
