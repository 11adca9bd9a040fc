#include "ui/players/status_dlg_view.h"

#include "core/printf_format.h"
#include "core/system_ini.h"
#include "transfer/transfer_status_xml.h"

#include <QLabel>
#include <QLayout>
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

} // namespace

CStatusDlgView::CStatusDlgView() : CTitledPaneDlg(0, QSize(600, 280), 0) {}

bool CStatusDlgView::OnInitDialog()
{
    if (!CTitledPaneDlg::OnInitDialog())
        return false;
    GetTitleLabel()->hide();
    m_state = new QLabel(this);
    m_state->setAlignment(Qt::AlignCenter);
    layout()->addWidget(m_state);
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
}

QString CStatusDlgView::GetStateText() const
{
    return m_state ? m_state->text() : QString();
}
