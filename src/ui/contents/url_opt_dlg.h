#pragma once
// The display options of a web content (dialog 2037, "オプション設定"): the
// shift of the page on the player's screen, whether the page is read ahead,
// and the period after which it is reloaded.

#include "widgets/web_dialogs.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTimeEdit;

class CUrlOptDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2037;
    static constexpr int IDC_X = 1343;
    static constexpr int IDC_Y = 1344;
    static constexpr int IDC_NO_PRE_READ = 1345;
    static constexpr int IDC_RELOAD = 1346;
    static constexpr int kMaxShift = 1920;
    static constexpr int kMinReload = 5;
    static constexpr int kMaxReload = 85800; // 23:50:00

    explicit CUrlOptDlg(const UrlOptValues &values, QWidget *parent = nullptr);

    const UrlOptValues &GetValues() const { return m_values; }

    void accept() override;

private:
    // The shift of an edit, or -1 (with its message shown) when refused.
    int readShift(QLineEdit *edit);

    UrlOptValues m_values;
    QLineEdit *m_x;
    QLineEdit *m_y;
    QCheckBox *m_noPreRead;
    QTimeEdit *m_reload;
};
