// The small option dialogs: resolution choices from the players, the
// interrupting playback's length and telop position with their refusals, the
// preview player, and the print choice.
#include "ui/contents/play_position_dlg.h"
#include "ui/contents/playlist_opt_dlg.h"
#include "widgets/preview_set_dlg.h"
#include "ui/contents/print_calendar_dlg.h"

#include "core/app_ini.h"
#include "model/app_data.h"
#include "support/scripted_prompter.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace {

// Two players at 1920 x 1080, one landscape and one portrait, and a per-user
// state file of the test's own, for the test's lifetime.
struct OptionFixture {
    OptionFixture()
    {
        previousIni = GetAppIni().GetFileName();
        GetAppIni().Open(dir.filePath(QStringLiteral("Q9A.ini")), dir.path());
        for (auto [number, orientation] : {std::pair{3, 1}, std::pair{8, 0}}) {
            PlayerRecord player;
            player.Number = number;
            player.Name = QStringLiteral("P%1").arg(number);
            player.ResolutionId = 0;
            player.Orientation = orientation;
            GetAppData().GetPlayerXml().AddPlayer(player);
        }
    }
    ~OptionFixture()
    {
        GetAppData().GetPlayerXml().RemoveAll();
        GetAppIni().Open(previousIni, dir.path());
    }
    QTemporaryDir dir;
    QString previousIni;
};

} // namespace

TEST(OptionDialogs, PlaylistResolutionChoices)
{
    OptionFixture fixture;
    CPlaylistOptDlg dialog;
    dialog.SetResolution(0);
    dialog.SetOrientation(1);
    dialog.OnInitDialog();
    ASSERT_EQ(dialog.GetCombo()->count(), 2);
    EXPECT_EQ(dialog.GetCombo()->itemText(0), QStringLiteral("1920 x 1080"));
    EXPECT_EQ(dialog.GetCombo()->itemText(1), QStringLiteral("1080 x 1920"));
    EXPECT_EQ(dialog.GetCombo()->currentIndex(), 1);
    dialog.GetCombo()->setCurrentIndex(0);
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.GetOrientation(), 0);
    EXPECT_EQ(GetAppIni().GetLastOrientation(), 0);

    // Without players there is nothing to keep: nothing is stored.
    GetAppData().GetPlayerXml().RemoveAll();
    GetAppIni().SetLastResolution(5);
    CPlaylistOptDlg empty;
    empty.OnInitDialog();
    empty.accept();
    EXPECT_EQ(empty.result(), int(QDialog::Rejected));
    EXPECT_EQ(GetAppIni().GetLastResolution(), 5);
}

TEST(OptionDialogs, PlayPositionOfATelop)
{
    OptionFixture fixture;
    CPlayPositionDlg dialog(3);
    PlaySettings settings;
    settings.seconds = 30;
    settings.maxPosition = 1080;
    settings.reserved1 = 77;
    settings.longPlay = 1;
    dialog.SetPlaySettings(settings);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.GetTimeEdit()->time(), QTime(0, 0, 30));
    EXPECT_TRUE(dialog.GetUntilStoppedRadio()->isChecked());
    ASSERT_EQ(dialog.GetPositionCombo()->count(), 4);
    dialog.GetPositionCombo()->setCurrentIndex(1);
    EXPECT_EQ(dialog.GetPositionEdit()->text(), QStringLiteral("540"));
    EXPECT_FALSE(dialog.GetPositionEdit()->isEnabled());
    EXPECT_EQ(dialog.GetPositionRange()->text(), QStringLiteral("(0-1080)"));
    EXPECT_EQ(dialog.GetPositionEdit()->maxLength(), 4);

    ScriptedPrompter prompter;
    dialog.GetPositionCombo()->setCurrentIndex(3);
    for (const char *text : {"1081", "-5", "x"}) {
        dialog.GetPositionEdit()->setText(QString::fromLatin1(text));
        prompter.expect(5108, IDOK);
        dialog.accept();
        EXPECT_EQ(dialog.result(), 0) << text;
    }
    EXPECT_EQ(prompter.last().arguments, (QStringList{QStringLiteral("0"), QStringLiteral("1080")}));

    dialog.GetPositionEdit()->setText(QStringLiteral("100"));
    dialog.GetGivenTimeRadio()->setChecked(true);
    dialog.GetTimeEdit()->setTime(QTime(0, 0, 4));
    prompter.expect(5100, IDOK);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);

    // Longer than the content's own 30 seconds: long play.
    dialog.GetTimeEdit()->setTime(QTime(0, 1, 0));
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    dialog.GetPlaySettings(settings);
    EXPECT_EQ(settings.playSeconds, 60);
    EXPECT_EQ(settings.telopPosition, 100);
    EXPECT_EQ(settings.longPlay, 1);
    EXPECT_EQ(settings.reserved1, 77);
    EXPECT_EQ(GetAppIni().GetLastPlayTelopPosY(), 100);
    EXPECT_EQ(GetAppIni().GetLastPlayMode(3), 1);

    // Shorter than its own time: the old flag is cleared.
    dialog.GetTimeEdit()->setTime(QTime(0, 0, 20));
    dialog.accept();
    dialog.GetPlaySettings(settings);
    EXPECT_EQ(settings.longPlay, 0);
}

TEST(OptionDialogs, PlayPositionOfAVideoWithoutOrWithAShortOwnTime)
{
    OptionFixture fixture;
    GetAppIni().SetLastPlayMode(1, 1);
    CPlayPositionDlg dialog(1);
    dialog.OnInitDialog();
    EXPECT_FALSE(dialog.GetPositionGroup()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.GetGivenTimeRadio()->isChecked());
    EXPECT_EQ(dialog.GetTimeEdit()->time(), QTime(0, 0, 10));
    dialog.GetTimeEdit()->setTime(QTime(0, 2, 0));
    dialog.accept();
    PlaySettings settings;
    dialog.GetPlaySettings(settings);
    EXPECT_EQ(settings.playSeconds, 120);
    EXPECT_EQ(settings.longPlay, 0); // no own time: a given length is never long play
    EXPECT_EQ(GetAppIni().GetLastPlayTime(1), (PlayLength{0, 2, 0, 0}));
    dialog.GetUntilStoppedRadio()->setChecked(true);
    dialog.accept();
    dialog.GetPlaySettings(settings);
    EXPECT_EQ(settings.playSeconds, 0);
    EXPECT_EQ(settings.longPlay, 1);

    // A video shorter than the shortest play is offered that, and it is taken.
    CPlayPositionDlg brief(1);
    PlaySettings own;
    own.seconds = 3;
    brief.SetPlaySettings(own);
    brief.OnInitDialog();
    EXPECT_EQ(brief.GetTimeEdit()->time(), QTime(0, 0, 5));
    brief.GetGivenTimeRadio()->setChecked(true);
    brief.accept();
    EXPECT_EQ(brief.result(), int(QDialog::Accepted));
}

TEST(OptionDialogs, PreviewPlayerAndPrintChoice)
{
    OptionFixture fixture;
    GetAppIni().SetLastPreviewSet(8);
    CPreviewSetDlg preview;
    preview.OnInitDialog();
    EXPECT_EQ(preview.GetCombo()->currentText(), QStringLiteral("P8"));
    preview.GetCombo()->setCurrentIndex(-1);
    {
        ScriptedPrompter prompter;
        prompter.expect(5263, IDOK);
        preview.accept();
        EXPECT_EQ(preview.result(), 0);
    }
    preview.GetCombo()->setCurrentIndex(0);
    preview.accept();
    EXPECT_EQ(GetAppIni().GetLastPreviewSet(), 3);

    CPrintCalendarDlg print;
    EXPECT_EQ(print.GetChoice(), 1);
    EXPECT_TRUE(print.GetNote()->isVisibleTo(&print));
    print.GetMonthlyRadio()->click();
    EXPECT_EQ(print.GetChoice(), 0);
    EXPECT_FALSE(print.GetNote()->isVisibleTo(&print));
}
