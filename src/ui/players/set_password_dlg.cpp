#include "ui/players/set_password_dlg.h"

#include "widgets/dialog_buttons.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/string_table.h"
#include "ui/players/player_texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr quint32 kTitleString = 1;
constexpr quint32 kMsgPasswordsDiffer = 5477;
constexpr quint32 kTextConfirm = 6718;
constexpr quint32 kTextAskStartup = 7110;
constexpr quint32 kTextAskSettings = 7111;
constexpr quint32 kMsgWrongPassword = 7112;

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
    auto *form = new QFormLayout;
    m_password = makeEntry(this, kPasswordEditId);
    if (isSettingMode()) {
        m_confirm = makeEntry(this, kConfirmEditId);
        form->addRow(LoadString(kTextPassword), m_password);
        form->addRow(LoadString(kTextConfirm), m_confirm);
    } else {
        // Says which of the two passwords is asked for.
        auto *prompt = new QLabel(LoadString(m_mode == MODE_STARTUP ? kTextAskStartup : kTextAskSettings), this);
        prompt->setObjectName(QString::number(kPromptId));
        column->addWidget(prompt);
        form->addRow(LoadString(kTextPassword), m_password);
    }
    column->addLayout(form);
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
        ShowMessage(this, kMsgWrongPassword, kTitleString, MB_OK | MB_ICONWARNING);
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
