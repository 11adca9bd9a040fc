#include "ui/contents/url_opt_dlg.h"

#include "widgets/dialog_buttons.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "model/web_property.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr quint32 kMsgDigitsOnly = 5235;
constexpr quint32 kMsgShiftRange = 5112;
constexpr quint32 kMsgReloadRange = 5239;

QString ShiftText(qint32 value)
{
    return value == 0 ? QString() : QString::number(value);
}

} // namespace

CUrlOptDlg::CUrlOptDlg(const UrlOptValues &values, QWidget *parent)
    : QDialog(parent),
      m_values(values),
      m_x(new QLineEdit(ShiftText(values.xOffset), this)),
      m_y(new QLineEdit(ShiftText(values.yOffset), this)),
      m_noPreRead(new QCheckBox(QStringLiteral("先読みしない"), this)),
      m_reload(new QTimeEdit(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("オプション設定"));
    m_x->setObjectName(QString::number(IDC_X));
    m_y->setObjectName(QString::number(IDC_Y));
    m_noPreRead->setObjectName(QString::number(IDC_NO_PRE_READ));
    m_reload->setObjectName(QString::number(IDC_RELOAD));
    for (QLineEdit *edit : {m_x, m_y})
        edit->setMaxLength(4);
    m_noPreRead->setChecked(values.option & CWebProperty::kOptionNoPreRead);
    m_reload->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    const int period = qMax(0, values.reload);
    m_reload->setTime(QTime(period / 3600 % 24, period % 3600 / 60, period % 60));

    auto *shift = new QGroupBox(QStringLiteral("シフト表示位置"), this);
    auto *shiftForm = new QFormLayout(shift);
    shiftForm->addRow(QStringLiteral("Ｘ："), m_x);
    shiftForm->addRow(QStringLiteral("Ｙ："), m_y);
    auto *access = new QGroupBox(QStringLiteral("アクセス設定"), this);
    auto *accessForm = new QFormLayout(access);
    accessForm->addRow(m_noPreRead);
    accessForm->addRow(QStringLiteral("更新周期："), m_reload);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(shift);
    layout->addWidget(access);
    layout->addWidget(CreateOkCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CUrlOptDlg::readShift(QLineEdit *edit)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return 0;
    if (!IsDecimalDigits(text)) {
        ShowMessage(this, kMsgDigitsOnly, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        edit->setFocus();
        return -1;
    }
    const int value = text.toInt();
    if (value > kMaxShift) {
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgShiftRange, kMaxShift);
        edit->setFocus();
        return -1;
    }
    return value;
}

void CUrlOptDlg::accept()
{
    const int x = readShift(m_x);
    if (x < 0)
        return;
    const int y = readShift(m_y);
    if (y < 0)
        return;
    const QTime time = m_reload->time();
    const int period = time.hour() * 3600 + time.minute() * 60 + time.second();
    if (period != 0 && (period < kMinReload || period > kMaxReload)) {
        m_reload->setFocus();
        ShowMessage(this, kMsgReloadRange, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_values.xOffset = x;
    m_values.yOffset = y;
    m_values.option = m_noPreRead->isChecked() ? (m_values.option | CWebProperty::kOptionNoPreRead)
                                               : (m_values.option & ~CWebProperty::kOptionNoPreRead);
    m_values.reload = period;
    QDialog::accept();
}
