#pragma once
// "プレビュー機器設定": the player that previews contents, remembered as the
// per-user LastPreviewSet.

#include <QDialog>

class QComboBox;

class CPreviewSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2015;
    static constexpr int kComboId = 1088;

    explicit CPreviewSetDlg(QWidget *parent = nullptr);
    ~CPreviewSetDlg() override;

    // Lists the players in the order of the player list and selects the
    // remembered one. Runs when the dialog is first shown.
    void OnInitDialog();
    // Remembers the chosen player; without a choice refuses (5263) and stays.
    void accept() override;

    QComboBox *GetCombo() const { return m_combo; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *m_combo;
    bool m_initialised = false;
};
