#include "app/titled_pane_dlg.h"

#include "core/string_table.h"

#include <QLabel>
#include <QVBoxLayout>

CTitledPaneDlg::CTitledPaneDlg(int templateId, const QSize &initialSize, quint32 titleId)
    : CTelvPaneDlg(templateId), m_initialSize(initialSize), m_titleId(titleId)
{
}

QString CTitledPaneDlg::GetTitleText() const
{
    return m_title ? m_title->text() : QString();
}

bool CTitledPaneDlg::OnInitDialog()
{
    resize(m_initialSize);
    m_body = new QVBoxLayout(this);
    m_title = new QLabel(m_titleId ? LoadString(m_titleId) : QString(), this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setForegroundRole(QPalette::PlaceholderText);
    m_body->addWidget(m_title);
    return true;
}
