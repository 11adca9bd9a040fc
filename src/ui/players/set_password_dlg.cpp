#include "ui/players/set_password_dlg.h"

#include "widgets/dialog_buttons.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "ui/players/player_texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr quint32 kTitleString = 1;
constexpr quint32 kMsgPasswordsDiffer = 5477;
constexpr quint32 kTextConfirm = 6718;

QLineEdit *makeEntry(QWidget *parent, int id)
{
    auto *entry = new QLineEdit(parent);
    entry->setObjectName(QString::number(id));
    entry->setEchoMode(QLineEdit::Password);
    return entry;
}
} // namespace

CSetPasswordDlg::CSetPasswordDlg(int mode, QWidget *parent) : QDialog(parent), m_mode(mode)
{
    setWindowTitle(LoadString(kTitleString));
    auto *column = new QVBoxLayout(this);
    m_password = makeEntry(this, kPasswordEditId);
    if (isSettingMode()) {
        auto *form = new QFormLayout;
        m_confirm = makeEntry(this, kConfirmEditId);
        form->addRow(LoadString(kTextPassword), m_password);
        form->addRow(LoadString(kTextConfirm), m_confirm);
        column->addLayout(form);
    } else {
        column->addWidget(m_password);
    }
    column->addWidget(CreateOkCancelButtons(this));
}

QString CSetPasswordDlg::StoredPassword(int mode)
{
    const SystemOptions options = GetSettingIni().Options();
    return mode == MODE_STARTUP || mode == MODE_SET_STARTUP ? options.RunPassword : options.SetupPassword;
}

int CSetPasswordDlg::DoModal()
{
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CSetPasswordDlg::accept()
{
    if (isSettingMode()) {
        acceptNewPassword();
        return;
    }
    if (m_password->text() != StoredPassword(m_mode)) {
        m_password->clear();
        m_password->setFocus();
        return;
    }
    QDialog::accept();
}

void CSetPasswordDlg::acceptNewPassword()
{
    if (m_password->text().isEmpty()) {
        ShowMessage(this, kMsgNotEntered, kTitleString, MB_OK | MB_ICONWARNING);
        m_password->setFocus();
        return;
    }
    if (m_password->text() != m_confirm->text()) {
        ShowMessage(this, kMsgPasswordsDiffer, kTitleString, MB_OK | MB_ICONWARNING);
        m_password->clear();
        m_confirm->clear();
        m_password->setFocus();
        return;
    }
    m_newPassword = m_password->text();
    QDialog::accept();
}
