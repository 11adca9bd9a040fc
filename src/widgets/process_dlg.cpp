#include "widgets/process_dlg.h"

#include "core/printf_format.h"
#include "player/r40_http.h"
#include "transfer/dlk_transfer_manager.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

const char *const kCommunicating = "通信中";
const char *const kSending = "送信中";
const char *const kSendingTo = "%s (%s)\nへ送信中です。";
const char *const kConnectChecking = "接続チェック中";
const char *const kConnectCheckingWith = "%s (%s)\nと接続チェック中です。";
const char *const kDelivering = "配信中";
const char *const kDeliveringText = "配信中です。";
const char *const kUpdating = "情報更新中";
const char *const kUpdatingCount = "情報更新中(%d)";
const char *const kDetecting = "自動検出中";
const char *const kDetectingText = "UDP 2380ポートを使用して、\n自動検出しています。";
const char *const kSetting = "設定中";
const char *const kSettingText = "ネットワーク設定の変更をしています。";
const char *const kMacro = "マクロ処理中";
const char *const kMacroText = "マクロ処理中です。\nしばらくお待ちください。";
const char *const kCancelText = "キャンセル";

QString playerText(const char *format, const QString &name, const QString &address)
{
    return FormatPrintf(utf8(format), {PrintfArg(name), PrintfArg(address)});
}

} // namespace

CProcessDlg::CProcessDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setModal(false);
    // No close box: the owner ends the dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto *column = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setObjectName(QString::number(kTextId));
    m_text->setAlignment(Qt::AlignCenter);
    column->addWidget(m_text);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QString::number(kProgressId));
    m_progress->setTextVisible(false);
    m_progress->hide();
    column->addWidget(m_progress);
    auto *row = new QHBoxLayout;
    row->addStretch();
    m_cancel = new QPushButton(utf8(kCancelText), this);
    m_cancel->setObjectName(QString::number(kCancelId));
    // Enter must not reach the cancel button unless the operator focused it.
    m_cancel->setAutoDefault(false);
    row->addWidget(m_cancel);
    row->addStretch();
    column->addLayout(row);
    connect(m_cancel, &QPushButton::clicked, this, &CProcessDlg::OnCancel);
    connect(&m_timer, &QTimer::timeout, this, &CProcessDlg::onTimer);
}

CProcessDlg::~CProcessDlg() = default;

void CProcessDlg::Create(QWidget *owner)
{
    setParent(owner, windowFlags());
}

void CProcessDlg::Destroy()
{
    m_timer.stop();
    hide();
}

void CProcessDlg::resetForJob(const QString &caption, const QString &text)
{
    m_timer.stop();
    m_position = 0;
    m_http = nullptr;
    m_manager = nullptr;
    m_flaggedJob = nullptr;
    m_displayCheck = nullptr;
    setWindowTitle(caption);
    m_text->setText(text);
    m_cancel->setVisible(true);
    m_cancel->setEnabled(true);
    m_progress->hide();
}

void CProcessDlg::startBusyBar(int upper, int intervalMs)
{
    m_progress->setRange(0, upper);
    m_position = 1;
    m_progress->setValue(m_position);
    m_progress->show();
    m_timer.start(intervalMs);
}

void CProcessDlg::StartCommand(CDlkTransferManager *manager)
{
    if (!manager)
        return;
    resetForJob(utf8(kCommunicating), utf8(kCommunicating));
    m_manager = manager;
}

void CProcessDlg::StartSend(CR40Http *http, const QString &playerName, const QString &address)
{
    if (!http)
        return;
    resetForJob(utf8(kSending), playerText(kSendingTo, playerName, address));
    m_http = http;
}

void CProcessDlg::StartConnectCheck(CR40Http *http, const QString &playerName, const QString &address)
{
    if (!http)
        return;
    resetForJob(utf8(kConnectChecking), playerText(kConnectCheckingWith, playerName, address));
    m_cancel->setEnabled(false);
    m_http = http;
}

void CProcessDlg::StartDelivery(CDlkTransferManager *manager)
{
    if (!manager)
        return;
    resetForJob(utf8(kDelivering), utf8(kDeliveringText));
    m_manager = manager;
}

void CProcessDlg::StartDisplayCheck(IDisplayCheckJob *job, const QString &playerName, const QString &address)
{
    if (!job)
        return;
    resetForJob(utf8(kConnectChecking), playerText(kConnectCheckingWith, playerName, address));
    m_cancel->setEnabled(false);
    m_displayCheck = job;
}

void CProcessDlg::StartListUpdate(CDlkTransferManager *manager)
{
    if (!manager)
        return;
    resetForJob(utf8(kUpdating), QString());
    SetListCount(0);
    m_manager = manager;
}

void CProcessDlg::StartUdpJob(IFlaggedJob *job, int mode)
{
    if (!job)
        return;
    if (mode == 0) {
        resetForJob(utf8(kDetecting), utf8(kDetectingText));
        startBusyBar(10, kUdpTimerMs);
    } else {
        resetForJob(utf8(kSetting), utf8(kSettingText));
    }
    m_flaggedJob = job;
}

void CProcessDlg::StartBusy()
{
    resetForJob(utf8(kMacro), utf8(kMacroText));
    m_cancel->setVisible(false);
    startBusyBar(50, kBusyTimerMs);
}

void CProcessDlg::SetListCount(int count)
{
    m_text->setText(FormatPrintf(utf8(kUpdatingCount), {PrintfArg(count)}));
}

void CProcessDlg::EnableCancel()
{
    m_cancel->setEnabled(true);
}

void CProcessDlg::SetProgressText(const QString &text)
{
    m_text->setText(text);
}

void CProcessDlg::SetProgressCount(int done)
{
    SetListCount(done);
}

void CProcessDlg::OnCancel()
{
    if (!m_cancel->isEnabled())
        return;
    if (m_http)
        m_http->Abort();
    else if (m_manager)
        m_manager->Stop();
    else if (m_flaggedJob)
        m_flaggedJob->SetStopFlag();
    else if (m_displayCheck)
        m_displayCheck->Stop();
}

void CProcessDlg::onTimer()
{
    m_progress->setValue(m_position);
    ++m_position;
    if (m_position > m_progress->maximum())
        m_position = m_progress->minimum();
}

void CProcessDlg::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CProcessDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
