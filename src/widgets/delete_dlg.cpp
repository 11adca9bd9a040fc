#include "widgets/delete_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CDeleteDlg::CDeleteDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8("削除中"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    m_counter = new QLabel(this);
    m_counter->setObjectName(QString::number(kCounterId));
    m_counter->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_counter);
    m_abort = new QPushButton(QString::fromUtf8("中止"), this);
    m_abort->setObjectName(QString::number(kAbortId));
    layout->addWidget(m_abort, 0, Qt::AlignCenter);
    connect(m_abort, &QPushButton::clicked, this, &CDeleteDlg::OnAbort);
    SetCount(0);
}

void CDeleteDlg::SetTotal(int total)
{
    m_total = total;
    SetCount(0);
}

void CDeleteDlg::SetCount(int count)
{
    m_counter->setText(QStringLiteral("%1/%2").arg(count).arg(m_total));
}

void CDeleteDlg::OnAbort()
{
    if (m_transferMode && m_stopTransfer)
        m_stopTransfer();
    else
        m_stop = true;
}
