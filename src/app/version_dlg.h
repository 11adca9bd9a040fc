#pragma once
// The about box: the application's icon, its name and its version, closed by
// its OK button, the close box or Escape.

#include <QDialog>

class QLabel;

class CVersionDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2033;
    static constexpr int kVersionId = 1312;

    explicit CVersionDlg(QWidget *parent = nullptr);
    ~CVersionDlg() override;

    QLabel *GetVersionLabel() const { return m_version; }

private:
    QLabel *m_version;
};
