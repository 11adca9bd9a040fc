#pragma once
// The about box: the application's icon, its name and its version. It has no
// buttons; the close box or Escape closes it.

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
