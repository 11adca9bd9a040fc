#include "ui/contents/property_set_dlg.h"

#include "widgets/dialog_buttons.h"
#include "core/format_utils.h"
#include "core/message_box.h"
#include "model/property_base.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>

namespace {
constexpr int kEditMargins = 12;
} // namespace

CPropertySetDlg::CPropertySetDlg(QWidget *parent)
    : QDialog(parent), m_categoryEdit(new QLineEdit(this)), m_titleEdit(new QLineEdit(this)),
      m_playTimeLabel(new QLabel(QStringLiteral("再生時間："), this)), m_playTimeEdit(new QTimeEdit(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("プロパティ"));
    m_categoryEdit->setObjectName(QString::number(IDC_CATEGORY));
    m_categoryEdit->setMaxLength(CPropertyBase::kMaxInfo);
    m_titleEdit->setObjectName(QString::number(IDC_TITLE));
    m_titleEdit->setMaxLength(CPropertyBase::kMaxTitle);
    m_playTimeLabel->setObjectName(QString::number(IDC_PLAY_TIME_LABEL));
    m_playTimeEdit->setObjectName(QString::number(IDC_PLAY_TIME));
    m_playTimeEdit->setDisplayFormat(QStringLiteral("HH:mm:ss"));

    // A whole category and title show without scrolling, whatever their letters.
    for (QLineEdit *edit : {m_categoryEdit, m_titleEdit})
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(edit->maxLength(), u'漢')) + kEditMargins);

    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("分類："), m_categoryEdit);
    layout->addRow(QStringLiteral("タイトル："), m_titleEdit);
    layout->addRow(m_playTimeLabel, m_playTimeEdit);
    layout->addRow(CreateOkCancelButtons(this));
}

void CPropertySetDlg::SetPlayTime(quint16 hours, quint16 minutes, quint16 seconds)
{
    m_playTime = PlayLength{hours, minutes, seconds, 0};
    m_playTimeGiven = true;
}

void CPropertySetDlg::GetPlayTime(quint16 &hours, quint16 &minutes, quint16 &seconds) const
{
    hours = m_playTime.hour;
    minutes = m_playTime.minute;
    seconds = m_playTime.second;
}

void CPropertySetDlg::showEvent(QShowEvent *event)
{
    m_categoryEdit->setText(m_category);
    m_titleEdit->setText(m_title);
    m_playTimeLabel->setVisible(m_playTimeGiven);
    m_playTimeEdit->setVisible(m_playTimeGiven);
    if (m_playTimeGiven)
        m_playTimeEdit->setTime(QTime(m_playTime.hour, m_playTime.minute, m_playTime.second));
    m_titleEdit->setEnabled(!m_titleLocked);
    m_playTimeEdit->setEnabled(!m_titleLocked);
    QDialog::showEvent(event);
}

void CPropertySetDlg::accept()
{
    QString category = m_categoryEdit->text();
    QString title = m_titleEdit->text();
    const bool categoryHad = RemoveControlChars(category);
    const bool titleHad = RemoveControlChars(title);
    if ((categoryHad || titleHad) &&
        ShowMessage(this, 5375, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        (categoryHad ? m_categoryEdit : m_titleEdit)->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!m_titleLocked) {
        if (title.isEmpty() && m_titleRequired) {
            ShowMessage(this, 5316, kTitleCaption, MB_OK | MB_ICONWARNING);
            m_titleEdit->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (m_playTimeGiven) {
            const QTime time = m_playTimeEdit->time();
            m_playTime = PlayLength{quint16(time.hour()), quint16(time.minute()), quint16(time.second()), 0};
        }
    }
    m_category = category;
    m_title = title;
    QDialog::accept();
}
