#include "ui/players/settings_page_dlg_view.h"

#include "app/main_frame.h"
#include "core/message_box.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

namespace {
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
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QString::number(kOkButtonId));
    connect(m_ok, &QPushButton::clicked, this, &CSettingsPageDlgView::OnOk);
    layout()->addWidget(m_ok);
    layout()->setAlignment(m_ok, Qt::AlignRight);
    return true;
}

void CSettingsPageDlgView::AddContent(QLayout *content)
{
    GetBodyLayout()->insertLayout(GetBodyLayout()->indexOf(m_ok), content, 1);
}

void CSettingsPageDlgView::WatchChanges(QWidget *control)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        connect(edit, &QLineEdit::textChanged, this, &CSettingsPageDlgView::onValueChanged);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        connect(button, &QAbstractButton::toggled, this, &CSettingsPageDlgView::onValueChanged);
    else if (auto *spin = qobject_cast<QSpinBox *>(control))
        connect(spin, &QSpinBox::valueChanged, this, &CSettingsPageDlgView::onValueChanged);
    else if (auto *time = qobject_cast<QTimeEdit *>(control))
        connect(time, &QTimeEdit::timeChanged, this, &CSettingsPageDlgView::onValueChanged);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        connect(combo, &QComboBox::currentIndexChanged, this, &CSettingsPageDlgView::onValueChanged);
}

void CSettingsPageDlgView::onValueChanged()
{
    if (!m_filling)
        m_modified = true;
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
