#include "widgets/reg_cont_dlg.h"

#include "core/string_table.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <climits>

CRegContDlg::CRegContDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_file(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_count(new QLabel(this)),
      m_cancel(new QPushButton(QStringLiteral("キャンセル"), this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("素材登録中"));
    setModal(false);
    m_file->setObjectName(QString::number(IDC_FILE));
    m_file->setMinimumWidth(320);
    m_bar->setObjectName(QString::number(IDC_PROGRESS));
    m_bar->setTextVisible(false);
    m_count->setObjectName(QString::number(IDC_COUNT));
    m_cancel->setObjectName(QString::number(IDC_CANCEL));
    connect(m_cancel, &QPushButton::clicked, this, &CRegContDlg::onCancel);

    auto *row = new QHBoxLayout;
    row->addWidget(m_count);
    row->addStretch();
    row->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_bar);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_progress.Reset();
    SetCount(0);
    UpdateProgressBar();
    m_timerId = startTimer(kTimerMs);
}

CRegContDlg::~CRegContDlg()
{
    if (m_timerId)
        killTimer(m_timerId);
}

void CRegContDlg::SetTotal(int total)
{
    m_total = total;
    SetCount(0);
}

void CRegContDlg::SetCopyingFile(const QString &name)
{
    SetProgressText(name.isEmpty() ? QString() : FormatString(kTextCopying, name));
}

void CRegContDlg::SetThumbnailFile(const QString &name)
{
    SetProgressText(name.isEmpty() ? QString() : FormatString(kTextMakingThumbnail, name));
}

void CRegContDlg::SetProgressText(const QString &text)
{
    m_file->setText(text);
}

void CRegContDlg::SetCount(int done)
{
    m_count->setText(QStringLiteral("%1/%2").arg(done).arg(m_total));
}

void CRegContDlg::SetProgress(quint32 totalLow, quint32 totalHigh, quint32 doneLow, quint32 doneHigh)
{
    m_progress.SetProgress(quint64(totalHigh) << 32 | totalLow, quint64(doneHigh) << 32 | doneLow);
}

void CRegContDlg::UpdateProgressBar()
{
    quint64 total = 0;
    quint64 done = 0;
    m_progress.GetProgress(total, done);
    // The bar takes 32-bit values.
    while (total > quint64(INT_MAX)) {
        total /= 1024;
        done /= 1024;
    }
    m_bar->setRange(0, int(total));
    m_bar->setValue(int(qMin(done, total)));
}

void CRegContDlg::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        UpdateProgressBar();
    else
        QDialog::timerEvent(event);
}

void CRegContDlg::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the window under the running worker.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void CRegContDlg::closeEvent(QCloseEvent *event)
{
    // Only the end of the operation closes the window.
    if (!m_closing)
        event->ignore();
}

void CRegContDlg::onCancel()
{
    m_progress.Cancel();
}
