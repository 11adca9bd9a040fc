#pragma once
// A dialog that offers one choice in a combo box beside a label, with OK and
// Cancel. The subclass fills the choices when the dialog is first shown and
// keeps the chosen one in accept().

#include <QDialog>

class QComboBox;

class CSingleChoiceDlg : public QDialog {
    Q_OBJECT
public:
    ~CSingleChoiceDlg() override;

    // Fills the choices afresh. Runs when the dialog is first shown.
    void OnInitDialog();

    QComboBox *GetCombo() const { return m_combo; }

protected:
    // The dialog's template and combo ids name the dialog and its combo box.
    CSingleChoiceDlg(int templateId, int comboId, const char *title, const char *label, QWidget *parent);

    void showEvent(QShowEvent *event) override;
    // Adds the choices to the emptied combo box and selects one.
    virtual void fillChoices() = 0;

private:
    QComboBox *m_combo;
    bool m_initialised = false;
};
