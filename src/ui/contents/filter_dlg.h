#pragma once
// "表示フィルター設定": the display filter of one content type. Show
// everything, or only contents updated on or after a date, and/or only the
// contents of checked categories (the unchecked ones are stored as
// excluded, so a category added later is shown). The dialog is modeless over
// the disabled main window; OK and Cancel (and the close box, as Cancel)
// enable the main window again and end the dialog.

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QListWidget;
class QPushButton;

class CFilterDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2060;
    static constexpr int kWindowId = 84;

    enum : int {
        IDC_SHOW_ALL = 6511,
        IDC_USE_DATE = 6512,
        IDC_USE_TYPE = 6513,
        IDC_DATE = 6514,
        IDC_CATEGORIES = 6510,
        IDC_CHECK_ALL = 1005,
        IDC_UNCHECK_ALL = 1006,
        IDC_APPLY = 6435,
        IDC_GROUP = 1222,
    };

    explicit CFilterDlg(QWidget *owner);

    // Fills the dialog from the type's filter document.
    void Start(int contentType);
    // Writes the document, saves it and re-applies the filter to the list.
    void OnApply();

    void accept() override;
    void reject() override;

private:
    void onShowAllClicked();
    void onUseDateClicked();
    void onUseTypeClicked();
    void setAllCategories(bool checked);
    void updateEnables();
    void restorePlacement();
    void finish(int result);

    int m_type = 0;
    QCheckBox *m_showAll;
    QCheckBox *m_useDate;
    QCheckBox *m_useType;
    QDateEdit *m_date;
    QListWidget *m_categories;
    QPushButton *m_checkAll;
    QPushButton *m_uncheckAll;
};
