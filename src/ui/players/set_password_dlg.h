#pragma once
// The password dialog. Modes 1 (settings) and 4 (start-up) ask for the
// stored password, saying which one: OK with a wrong entry says so, clears
// it and keeps the dialog open;
// it ends with IDOK (1) when the password was given, IDCANCEL (2) when
// cancelled. Modes 2 (settings) and 3 (start-up) set a new password: it is
// typed twice and taken only when it is not empty and both entries agree.
// The passwords are those of the system options (none stored means an empty
// one).

#include <QDialog>

class QLineEdit;

class CSetPasswordDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode : int { MODE_SETTINGS = 1, MODE_SET_SETTINGS = 2, MODE_SET_STARTUP = 3, MODE_STARTUP = 4 };
    // The password entry, and the confirmation entry of the setting modes.
    static constexpr int kPasswordEditId = 1101;
    static constexpr int kConfirmEditId = 1102;
    // The line that says which password is asked for.
    static constexpr int kPromptId = 1103;

    CSetPasswordDlg(int mode, QWidget *parent = nullptr);

    int GetMode() const { return m_mode; }
    // The stored password of a mode.
    static QString StoredPassword(int mode);
    // The password typed in a setting mode, once accepted.
    QString GetNewPassword() const { return m_newPassword; }
    // IDOK or IDCANCEL.
    int DoModal();

    void accept() override;

private:
    bool isSettingMode() const { return m_mode == MODE_SET_SETTINGS || m_mode == MODE_SET_STARTUP; }
    void acceptNewPassword();

    int m_mode;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_confirm = nullptr;
    QString m_newPassword;
};
