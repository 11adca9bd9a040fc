#include "ui/players/settings_page_dlg_view.h"

#include "app/main_frame.h"
#include "core/message_box.h"

#include <QLabel>
#include <QBoxLayout>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr quint32 kTitleCaption = 1;
constexpr quint32 kMsgDiscardChanges = 5007;
} // namespace

CSettingsPageDlgView::CSettingsPageDlgView(int viewId, const QSize &initialSize, quint32 titleId)
    : CTitledPaneDlg(0, initialSize, titleId), m_viewId(viewId)
{
}

bool CSettingsPageDlgView::OnInitDialog()
{
    if (!CTitledPaneDlg::OnInitDialog())
        return false;
    GetTitleLabel()->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    GetTitleLabel()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_values = new QPlainTextEdit(this);
    m_values->setReadOnly(true);
    layout()->addWidget(m_values);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QString::number(kOkButtonId));
    connect(m_ok, &QPushButton::clicked, this, &CSettingsPageDlgView::OnOk);
    layout()->addWidget(m_ok);
    layout()->setAlignment(m_ok, Qt::AlignRight);
    return true;
}

void CSettingsPageDlgView::AddContent(QLayout *content)
{
    auto *column = qobject_cast<QBoxLayout *>(layout());
    if (!column)
        return;
    if (m_values) {
        // A page with controls of its own shows no value text.
        column->removeWidget(m_values);
        delete m_values;
        m_values = nullptr;
    }
    column->insertLayout(column->indexOf(m_ok), content, 1);
}

void CSettingsPageDlgView::ShowLines(const QStringList &lines)
{
    if (m_values)
        m_values->setPlainText(lines.join(QLatin1Char('\n')));
}

bool CSettingsPageDlgView::SaveSettings()
{
    return true;
}

bool CSettingsPageDlgView::QueryClose()
{
    if (!m_modified)
        return true;
    if (ShowMessage(this, kMsgDiscardChanges, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    LoadSettings();
    return true;
}

void CSettingsPageDlgView::OnOk()
{
    if (!SaveSettings())
        return;
    m_modified = false;
    if (CMainFrame *frame = GetMainFrame())
        frame->AdvanceSetupStep(m_viewId, false);
}
