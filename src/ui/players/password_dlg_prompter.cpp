#include "ui/players/password_dlg_prompter.h"

#include "ui/players/set_password_dlg.h"

CPasswordDlgPrompter::CPasswordDlgPrompter()
{
    SetPasswordPrompter(this);
}

CPasswordDlgPrompter::~CPasswordDlgPrompter()
{
    SetPasswordPrompter(nullptr);
}

int CPasswordDlgPrompter::PromptPassword(QWidget *owner, int mode)
{
    CSetPasswordDlg dialog(mode, owner);
    return dialog.DoModal();
}
