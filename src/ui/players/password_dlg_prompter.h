#pragma once
// The password prompter of the running program: asks with CSetPasswordDlg.
// Installed for its lifetime.

#include "widgets/password_prompter.h"

class CPasswordDlgPrompter final : public IPasswordPrompter {
public:
    CPasswordDlgPrompter();
    ~CPasswordDlgPrompter() override;
    CPasswordDlgPrompter(const CPasswordDlgPrompter &) = delete;
    CPasswordDlgPrompter &operator=(const CPasswordDlgPrompter &) = delete;

    int PromptPassword(QWidget *owner, int mode) override;
};
