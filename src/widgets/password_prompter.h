#pragma once
// The password prompt of the settings and of the start-up, behind one narrow
// interface: the settings subsystem installs its dialog, tests a fake. Without
// one, every prompt is cancelled, so nothing guarded by a password opens.

class QWidget;

// What the password guards.
enum PasswordMode : int {
    PASSWORD_SETTINGS = 1,
    PASSWORD_STARTUP = 4,
};

class IPasswordPrompter {
public:
    virtual ~IPasswordPrompter() = default;
    // Asks for the password of a mode and checks it; IDOK when it was given
    // right, IDCANCEL otherwise.
    virtual int PromptPassword(QWidget *owner, int mode) = 0;
};

// Installs the prompter; nullptr removes it. The caller keeps ownership.
void SetPasswordPrompter(IPasswordPrompter *prompter);
// Asks the installed prompter; IDCANCEL when there is none.
int PromptPassword(QWidget *owner, int mode);
