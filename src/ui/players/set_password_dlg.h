#pragma once
// STAND-IN for the password prompt, until the password settings are built:
// the least the start-up and the settings group need of it. Mode 1 asks for
// the settings password, mode 4 for the start-up password. The entry is
// compared with the password stored in the system options file ([Option]
// SetupPassword and RunPassword, as typed; none stored means an empty one);
// OK with a wrong entry clears it and keeps the prompt open. Ends with IDOK
// (1) when the password was given, IDCANCEL (2) when cancelled.

#include <QDialog>

class QLineEdit;

class CSetPasswordDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode : int { MODE_SETTINGS = 1, MODE_STARTUP = 4 };
    // The password entry.
    static constexpr int kPasswordEditId = 1101;

    CSetPasswordDlg(int mode, QWidget *parent = nullptr);

    int GetMode() const { return m_mode; }
    // The stored password of a mode.
    static QString StoredPassword(int mode);
    // IDOK or IDCANCEL.
    int DoModal();

    void accept() override;

private:
    int m_mode;
    QLineEdit *m_password = nullptr;
};
