#include "ui/players/set_password_dlg.h"

#include "core/message_box.h"
#include "core/profile_ini.h"
#include "core/setting_ini.h"
#include "core/string_table.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr quint32 kTitleString = 1;
} // namespace

CSetPasswordDlg::CSetPasswordDlg(int mode, QWidget *parent) : QDialog(parent), m_mode(mode)
{
    setWindowTitle(LoadString(kTitleString));
    auto *column = new QVBoxLayout(this);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QString::number(kPasswordEditId));
    m_password->setEchoMode(QLineEdit::Password);
    column->addWidget(m_password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSetPasswordDlg::reject);
    column->addWidget(buttons);
}

QString CSetPasswordDlg::StoredPassword(int mode)
{
    const CProfileIni ini(GetSettingIni().GetFileName());
    const QString key = mode == MODE_STARTUP ? QStringLiteral("RunPassword") : QStringLiteral("SetupPassword");
    return ini.GetString(QStringLiteral("Option"), key);
}

int CSetPasswordDlg::DoModal()
{
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CSetPasswordDlg::accept()
{
    if (m_password->text() != StoredPassword(m_mode)) {
        m_password->clear();
        m_password->setFocus();
        return;
    }
    QDialog::accept();
}
