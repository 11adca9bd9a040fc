#pragma once
// The telop colour palette "テロップの色の設定": fifteen swatches in three
// rows of five, one of them checked. "色の変更" opens the colour dialog on the
// checked swatch; the player's transparent colour is taken only when the
// operator confirms it. On OK the swatch colours and the checked swatch's
// colour (the selected colour) are read back by the caller.

#include "core/win_types.h"

#include <QDialog>

#include <array>

class CColorButton;

class CColorChangeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2001;
    static constexpr int kSwatchCount = 15;
    static constexpr int kChangeButtonId = 1007;
    // The swatch ids in palette order, row by row.
    static constexpr std::array<int, kSwatchCount> kSwatchIds = {
        1179, 1186, 1187, 1188, 1189, 1190, 1191, 1192, 1193, 1180, 1181, 1182, 1183, 1184, 1185};

    explicit CColorChangeDlg(QWidget *parent = nullptr);

    // Index 0 to 14; false outside.
    bool SetColor(int index, ColorRef color);
    bool GetColor(int index, ColorRef &color) const;
    void SetSelectedColor(ColorRef color) { m_selected = color; }
    ColorRef GetSelectedColor() const { return m_selected; }
    void SetTransparentColor(ColorRef color) { m_transparent = color; }

    CColorButton *GetSwatch(int index) const;

    // Changes the checked swatch's colour through the colour dialog.
    void OnChangeColor();
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void checkSelectedSwatch();
    bool chooseColor(ColorRef initial, ColorRef &chosen);
    int checkedSwatch() const;

    std::array<ColorRef, kSwatchCount> m_colors{};
    std::array<CColorButton *, kSwatchCount> m_swatches{};
    ColorRef m_selected = 0;
    ColorRef m_transparent = 0xFF00FF;
    bool m_started = false;
};
