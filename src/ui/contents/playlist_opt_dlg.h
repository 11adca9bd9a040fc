#pragma once
// "解像度の設定": the screen resolution and orientation a playlist is laid
// out for, chosen among the pairs the registered players have. The choice is
// remembered as the last resolution of the per-user state.

#include "widgets/single_choice_dlg.h"

class CPlaylistOptDlg : public CSingleChoiceDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2036;
    static constexpr int kComboId = 1091;

    explicit CPlaylistOptDlg(QWidget *parent = nullptr);

    void SetResolution(qint32 id) { m_resolution = id; }
    void SetOrientation(qint32 orientation) { m_orientation = orientation; }
    qint32 GetResolution() const { return m_resolution; }
    qint32 GetOrientation() const { return m_orientation; }

    // Keeps and remembers the selected pair; nothing is kept when there is
    // no pair to choose.
    void accept() override;

protected:
    // Fills the choices from the players and selects the current pair (else
    // the first).
    void fillChoices() override;

private:
    qint32 m_resolution = 0;
    qint32 m_orientation = 0;
};
