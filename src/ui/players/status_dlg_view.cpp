#include "ui/players/status_dlg_view.h"

#include "core/printf_format.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "transfer/transfer_status_xml.h"

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QTableWidget>
#include <QTimer>

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

const char *const kColumnTitles[] = {"KDP-R40", "状態", "エラーコード", "ファイル", "サイズ"};

QString PlayerName(qint32 number)
{
    const CHarlPlayerXml &players = GetAppData().GetPlayerXml();
    PlayerRecord record;
    const int position = players.FindPlayer(number);
    return position >= 0 && players.GetPlayer(position, record) ? record.Name : QString::number(number);
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
    m_refresh = new QTimer(this);
    m_refresh->setInterval(kRefreshIntervalMs);
    connect(m_refresh, &QTimer::timeout, this, &CStatusDlgView::UpdateState);
    UpdateState();
    return true;
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
        const QString cells[COLUMN_COUNT] = {
            PlayerName(m_numbers[row]),
            PlayerStateText(record.SendSts),
            record.ErrorCode != 0 ? QStringLiteral("%1").arg(record.ErrorCode, 4, 10, QLatin1Char('0')) : QString(),
            QStringLiteral("%1/%2").arg(record.SendFileCount).arg(record.SendFileTotal),
            QStringLiteral("%1/%2").arg(record.SendContFileSize).arg(record.ContFileSize),
        };
        for (int column = 0; column < COLUMN_COUNT; ++column) {
            QTableWidgetItem *item = m_players->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_players->setItem(row, column, item);
            }
            item->setText(cells[column]);
        }
    }
}

QString CStatusDlgView::GetStateText() const
{
    return m_state ? m_state->text() : QString();
}
