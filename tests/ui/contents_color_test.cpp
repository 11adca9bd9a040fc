// The colour controls: the palette dialog's transparent-colour question, the
// colour combo's fallbacks and the legend dialog's checks and saving.
#include "widgets/color_dialog.h"
#include "core/system_ini.h"
#include "support/scripted_prompter.h"
#include "ui/contents/color_button.h"
#include "ui/contents/color_change_dlg.h"
#include "ui/contents/color_combo_box.h"
#include "ui/contents/color_info_dlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Answers the colour dialog from a script; an empty script cancels.
class ScriptedColorDialog final : public IColorDialogPrompter {
public:
    ScriptedColorDialog() { SetColorDialogPrompter(this); }
    ~ScriptedColorDialog() override { SetColorDialogPrompter(nullptr); }
    bool ChooseColor(QWidget *, ColorRef initial, ColorRef &chosen) override
    {
        offered.append(initial);
        if (answers.isEmpty())
            return false;
        chosen = answers.takeFirst();
        return true;
    }
    QList<ColorRef> answers;
    QList<ColorRef> offered;
};

constexpr ColorRef kTransparent = 0xFF00FF;

void openPalette(CColorChangeDlg &dialog, ColorRef selected)
{
    for (int i = 0; i < CColorChangeDlg::kSwatchCount; ++i)
        dialog.SetColor(i, ColorRef(0x010101 * i));
    dialog.SetSelectedColor(selected);
    dialog.SetTransparentColor(kTransparent);
    dialog.show();
}

void clickChange(CColorChangeDlg &dialog)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("1007")), Qt::LeftButton);
}

} // namespace

TEST(ColorControls, PaletteAsksBeforeTakingTheTransparentColour)
{
    ScriptedPrompter prompter;
    ScriptedColorDialog colors;
    CColorChangeDlg dialog;
    openPalette(dialog, 0x030303);
    ASSERT_TRUE(dialog.GetSwatch(3)->IsChecked());
    EXPECT_EQ(dialog.findChild<CColorButton *>(QStringLiteral("1188"))->GetColor(), 0x030303u);
    EXPECT_FALSE(dialog.SetColor(15, 0));

    // No reopens the dialog on the chosen colour; cancelling it keeps the swatch.
    colors.answers = {kTransparent};
    prompter.expect(5003, IDNO);
    clickChange(dialog);
    EXPECT_EQ(colors.offered, (QList<ColorRef>{0x030303, kTransparent}));
    EXPECT_EQ(dialog.GetSwatch(3)->GetColor(), 0x030303u);

    // Yes takes it; another colour is taken without a question.
    colors.answers = {kTransparent};
    prompter.expect(5003, IDYES);
    clickChange(dialog);
    EXPECT_EQ(dialog.GetSwatch(3)->GetColor(), kTransparent);
    QTest::mouseClick(dialog.GetSwatch(14), Qt::LeftButton);
    colors.answers = {0x123456};
    clickChange(dialog);
    EXPECT_EQ(prompter.stringIds().size(), 2);

    dialog.accept();
    ColorRef color = 0;
    ASSERT_TRUE(dialog.GetColor(3, color));
    EXPECT_EQ(color, kTransparent);
    ASSERT_TRUE(dialog.GetColor(14, color));
    EXPECT_EQ(color, 0x123456u);
    EXPECT_EQ(dialog.GetSelectedColor(), 0x123456u);
}

TEST(ColorControls, PaletteChecksTheFirstSwatchWhenTheSelectionIsNotInIt)
{
    CColorChangeDlg dialog;
    openPalette(dialog, 0xABCDEF);
    EXPECT_TRUE(dialog.GetSwatch(0)->IsChecked());
}

TEST(ColorControls, ComboFallsBackToSelectionThenLastSelectionThenWindowColours)
{
    CColorComboBox combo;
    ColorRef back = 1;
    ColorRef text = 1;
    QString name = QStringLiteral("x");
    combo.GetColorInfo(0, back, text, name);
    EXPECT_EQ(back, FromQColor(combo.palette().color(QPalette::Base)));
    EXPECT_EQ(text, FromQColor(combo.palette().color(QPalette::Text)));
    EXPECT_TRUE(name.isEmpty());

    EXPECT_EQ(combo.AddColor(QStringLiteral("a"), 0x782E15, 0xFFFFFF), 0);
    EXPECT_EQ(combo.AddColor(QStringLiteral("b"), 0x151579, 0x000000), 1);
    combo.GetColorInfo(1, back, text, name);
    EXPECT_EQ(back, 0x151579u);
    EXPECT_EQ(name, QStringLiteral("b"));

    combo.SetCurSel(1);
    combo.setCurrentIndex(-1);
    combo.GetColorInfo(7, back, text, name);
    EXPECT_EQ(name, QStringLiteral("b")); // the remembered selection
    combo.setCurrentIndex(0);
    combo.GetColorInfo(-1, back, text, name);
    EXPECT_EQ(back, 0x782E15u);
    EXPECT_EQ(text, 0xFFFFFFu);
    // Stored colours are 0x00BBGGRR: red is the low byte.
    EXPECT_EQ(ToQColor(0x782E15), QColor(0x15, 0x2E, 0x78));
}

TEST(ColorControls, LegendRefusesEmptyNamesAndSavesCleanedNames)
{
    QTemporaryDir dir;
    GetSystemIni().Open(dir.filePath(QStringLiteral("Q9S.ini")), dir.path());
    GetSystemIni().SetColorName(2, QStringLiteral("朝"));
    ScriptedPrompter prompter;
    CColorInfoDlg dialog;
    dialog.show();
    EXPECT_EQ(dialog.GetNameEdit(0)->text(), QStringLiteral("通常-1"));
    EXPECT_EQ(dialog.GetNameEdit(2)->text(), QStringLiteral("朝"));
    EXPECT_EQ(dialog.GetNameEdit(0)->maxLength(), 10);

    dialog.GetNameEdit(4)->clear();
    prompter.expect(5232, IDOK);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(GetSystemIni().GetColorName(0).isEmpty());

    // Control characters: No keeps the dialog open; Yes saves without them.
    dialog.GetNameEdit(4)->setText(QStringLiteral("夜\x01"));
    prompter.expect(5375, IDNO);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    prompter.expect(5375, IDYES);
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(GetSystemIni().GetColorName(4), QStringLiteral("夜"));
    EXPECT_EQ(GetSystemIni().GetColorName(0), QStringLiteral("通常-1"));
    EXPECT_EQ(prompter.pendingAnswers(), 0);
}
