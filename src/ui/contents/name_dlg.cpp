#include "ui/contents/name_dlg.h"

#include "widgets/dialog_buttons.h"
#include "core/format_utils.h"
#include "core/message_box.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

CNameDlg::CNameDlg(QWidget *parent, int maxLength) : QDialog(parent), m_edit(new QLineEdit(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("名称設定"));
    m_edit->setObjectName(QString::number(kNameEditId));
    m_edit->setMaxLength(maxLength);
    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("名称："), m_edit);
    layout->addRow(CreateOkCancelButtons(this));
}

void CNameDlg::SetName(const QString &name)
{
    m_name = name;
    m_original = name;
    m_edit->setText(name);
}

void CNameDlg::accept()
{
    QString text = m_edit->text();
    if (RemoveControlChars(text) &&
        ShowMessage(this, 5375, kTitleCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        m_edit->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (text.isEmpty()) {
        ShowMessage(this, 5232, kTitleCaption, MB_OK | MB_ICONWARNING);
        m_edit->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_edit->setText(text);
    m_changed = text != m_original;
    m_name = text;
    QDialog::accept();
}

void CNameDlg::reject()
{
    if (m_edit->text() != m_original &&
        ShowMessage(this, 5007, kTitleCaption, MB_YESNO | MB_ICONQUESTION) == IDNO)
        return;
    QDialog::reject();
}
