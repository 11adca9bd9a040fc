#pragma once
// "プレビュー機器設定": the player that previews contents, remembered as the
// per-user LastPreviewSet.

#include "widgets/single_choice_dlg.h"

class CPreviewSetDlg : public CSingleChoiceDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2015;
    static constexpr int kComboId = 1088;

    explicit CPreviewSetDlg(QWidget *parent = nullptr);

    // Remembers the chosen player; without a choice refuses (5263) and stays.
    void accept() override;

protected:
    // Lists the players in the order of the player list and selects the
    // remembered one.
    void fillChoices() override;
};
