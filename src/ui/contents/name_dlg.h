#pragma once
// "名称設定": asks for one name (at most 20 characters unless the caller
// gives the limit of what the name is stored as). OK refuses an empty
// name and offers to remove control characters; Cancel asks before it drops
// a changed name.

#include <QDialog>

class QLineEdit;

class CNameDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2023;
    static constexpr int kNameEditId = 1136;
    static constexpr int kNameLimit = 20;

    explicit CNameDlg(QWidget *parent = nullptr, int maxLength = kNameLimit);

    void SetName(const QString &name);
    QString GetName() const { return m_name; }
    bool IsChanged() const { return m_changed; }
    QLineEdit *GetEdit() const { return m_edit; }

    void accept() override;
    void reject() override;

private:
    QLineEdit *m_edit;
    QString m_name;
    QString m_original;
    bool m_changed = false;
};
