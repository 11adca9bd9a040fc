#include "widgets/time_edit_dlg.h"

#include "widgets/dialog_buttons.h"
#include "widgets/time_code_ctrl.h"
#include "core/string_table.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CTimeEditDlg::CTimeEditDlg(QWidget *parent, int titleId, bool hours48)
    : QDialog(parent), m_time(new CTimeCodeCtrl(this)), m_titleId(titleId), m_hours48(hours48)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("時間の変更"));
    if (m_titleId >= 0)
        setWindowTitle(LoadString(quint32(m_titleId)));

    m_time->setObjectName(QString::number(kTimeControlId));
    if (m_hours48)
        m_time->SetRange(0, 48);
    m_time->Create(true, true, true, false, true);
    m_time->SetNotifyHandler([this](int code) { return onTimeNotify(code); });

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("時間："), this));
    row->addWidget(m_time);
    row->addStretch();

    QDialogButtonBox *buttons = CreateOkCancelButtons(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CTimeEditDlg::~CTimeEditDlg()
{
    // The field commits when the closing window takes its focus away; the
    // dialog is gone by then.
    m_time->SetNotifyHandler({});
}

void CTimeEditDlg::SetTime(quint16 hours, quint16 minutes, quint16 seconds)
{
    m_hours = hours;
    m_minutes = minutes;
    m_seconds = seconds;
    m_time->SetHour(hours);
    m_time->SetMinute(minutes);
    m_time->SetSecond(seconds);
}

void CTimeEditDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_time->SetEntrySide(CTimeCodeCtrl::ENTRY_SECONDS);
    m_time->setFocus(Qt::OtherFocusReason);
}

bool CTimeEditDlg::onTimeNotify(int code)
{
    // Enter in the time field commits the value and confirms the dialog.
    if (code == CTimeCodeCtrl::TCN_COMMIT && m_time->IsEnterDown()) {
        accept();
        return true;
    }
    return false;
}

void CTimeEditDlg::accept()
{
    m_hours = quint16(m_time->GetHours());
    m_minutes = quint16(m_time->GetMinutes());
    m_seconds = quint16(m_time->GetSeconds());
    QDialog::accept();
}
