#pragma once
// "プロパティ(テロップ編集)": the category, title, display effect, scroll
// speed and, when the caller asks for it, the background colour of a telop.
// It works on its own copy of the record: SetProperty before DoModal,
// GetProperty after IDOK.

#include "core/win_types.h"
#include "model/telop_property.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class CTelopDetailDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2029;
    static constexpr int kCategoryId = 1143;
    static constexpr int kTitleId = 1142;
    static constexpr int kEffectId = 1089;
    static constexpr int kSpeedId = 1092;
    static constexpr int kBackLabelId = 6439;
    static constexpr int kBackSwatchId = 1198;
    static constexpr int kBackButtonId = 1004;

    explicit CTelopDetailDlg(QWidget *parent = nullptr);

    void SetProperty(const CTelopProperty &record);
    void GetProperty(CTelopProperty &record) const;
    // Shows the background-colour row.
    void SetBackColorFlag(bool show) { m_backColorFlag = show; }

    int DoModal();
    // Fills the lists and edits from the record.
    void OnInitDialog();
    void OnSelectEffect();
    void OnBackColor();
    // Stores the edits in the copy and closes; false (left open) when the
    // operator keeps control characters or a value is refused.
    bool OnOK();

    ColorRef GetBackColor() const { return m_backColor; }

private:
    void fillLists();
    void selectByData(QComboBox *combo, int data);
    void paintSwatch();

    QLineEdit *m_category;
    QLineEdit *m_title;
    QComboBox *m_effect;
    QComboBox *m_speed;
    QLabel *m_backLabel;
    QFrame *m_backSwatch;
    QPushButton *m_backButton;
    CTelopProperty m_property;
    ColorRef m_backColor = 0;
    bool m_backColorFlag = false;
    bool m_backColorChanged = false;
    int m_initialSpeedEntry = -1;
};
