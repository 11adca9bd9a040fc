// The status pane, the player settings page, the password prompt and the
// layout templates: what the frame and the other operations rely on them for.
#include "core/message_box.h"
#include "core/profile_ini.h"
#include "core/setting_ini.h"
#include "shell_fixture.h"
#include "model/layout_template_store.h"
#include "ui/players/set_opt_dlg_view.h"
#include "ui/players/set_password_dlg.h"
#include "ui/players/status_dlg_view.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>

TEST(StatusPane, StateTextsShowTheWaitingTimeOfStatesFiveAndNine)
{
    const TimeValue time{6, 5, 4, 0};
    EXPECT_EQ(CStatusDlgView::StateText(0, time), QStringLiteral("未通信"));
    EXPECT_EQ(CStatusDlgView::StateText(5, time), QStringLiteral("禁止解除待ち (06:05:04)"));
    EXPECT_EQ(CStatusDlgView::StateText(9, time), QStringLiteral("指定時間待ち (06:05:04)"));
    EXPECT_EQ(CStatusDlgView::StateText(3, time), CStatusDlgView::StateText(10, time));
    EXPECT_TRUE(CStatusDlgView::StateText(11, time).isEmpty());
    EXPECT_TRUE(CStatusDlgView::StateText(-1, time).isEmpty());
}

TEST(StatusPane, StopRefreshClearsTheBusyFlag)
{
    CStatusDlgView status;
    ASSERT_TRUE(status.Create(nullptr));
    status.StartRefresh();
    EXPECT_TRUE(status.IsRefreshing());
    status.StopRefresh();
    EXPECT_FALSE(status.IsRefreshing());
}

TEST(LayoutTemplateLookup, LooksUpByNumberAndDisplayMode)
{
    CLayoutTemplateStore store;
    CLayoutTemplateStore::Areas areas{};
    areas[0] = LayoutArea{true, WinRect{0, 0, 1920, 1080}};
    store.SetLayout(3, 1, areas);
    CLayoutTemplateStore::Areas found{};
    EXPECT_TRUE(store.Lookup(3, 1, found));
    EXPECT_EQ(found, areas);
    EXPECT_FALSE(store.Lookup(3, 0, found));
    EXPECT_FALSE(store.Lookup(4, 1, found));
}

using SettingsPanes = ShellTest;

TEST_F(SettingsPanes, OptionPageAsksBeforeItsChangesAreLeftAndSavesThemWithOk)
{
    ASSERT_TRUE(startUp());
    // With a settings password stored, its switch is turned on without asking for one.
    SystemOptions stored = GetSettingIni().Options();
    stored.SetupPassword = QStringLiteral("kdp-r40");
    GetSettingIni().SetOptions(stored);
    CSetOptDlgView page;
    ASSERT_TRUE(page.Create(nullptr));
    page.LoadSettings();
    EXPECT_TRUE(page.QueryClose());

    auto *powerOn = page.findChild<QTimeEdit *>(QString::number(CSetOptDlgView::kPowerOnId));
    ASSERT_NE(powerOn, nullptr);
    EXPECT_EQ(powerOn->time(), QTime(10, 0, 0));
    powerOn->setTime(QTime(8, 30, 0));
    EXPECT_TRUE(page.IsModified());
    m_prompter.expect(5007, IDNO);
    EXPECT_FALSE(page.QueryClose());
    EXPECT_EQ(powerOn->time(), QTime(8, 30, 0));
    m_prompter.expect(5007, IDYES);
    EXPECT_TRUE(page.QueryClose());
    EXPECT_EQ(powerOn->time(), QTime(10, 0, 0));

    powerOn->setTime(QTime(7, 0, 0));
    page.findChild<QCheckBox *>(QString::number(CSetOptDlgView::kSetupPassUseId))->setChecked(true);
    page.OnOk();
    EXPECT_FALSE(page.IsModified());
    GetSettingIni().Load();
    EXPECT_EQ(GetSettingIni().Options().PowerOnTime, (TimeValue{7, 0, 0, 0}));
    EXPECT_TRUE(GetSettingIni().Options().SetupPassUse);
}

TEST_F(SettingsPanes, PasswordPromptSaysWhatToTypeAndAcceptsOnlyTheStoredPassword)
{
    ASSERT_TRUE(startUp());
    CProfileIni(GetSettingIni().GetFileName()).WriteString(QStringLiteral("Option"), QStringLiteral("RunPassword"),
                                                           QStringLiteral("kdp-r40"));
    GetSettingIni().Load();
    const auto promptOf = [](const QDialog &dialog) {
        const auto *prompt = dialog.findChild<QLabel *>(QString::number(CSetPasswordDlg::kPromptId));
        return prompt && prompt->isVisibleTo(&dialog) ? prompt->text() : QString();
    };
    EXPECT_EQ(promptOf(CSetPasswordDlg(CSetPasswordDlg::MODE_SETTINGS)),
              QString::fromUtf8("設定画面を開くためのパスワードを入力してください。"));
    CSetPasswordDlg dialog(CSetPasswordDlg::MODE_STARTUP);
    dialog.show();
    EXPECT_EQ(promptOf(dialog), QString::fromUtf8("起動用のパスワードを入力してください。"));
    auto *entry = dialog.findChild<QLineEdit *>(QString::number(CSetPasswordDlg::kPasswordEditId));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->echoMode(), QLineEdit::Password);
    // A wrong password is told, then typed again.
    entry->setText(QStringLiteral("wrong"));
    m_prompter.expect(7112, IDOK);
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(entry->text().isEmpty());
    entry->setText(QStringLiteral("kdp-r40"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    // The settings password is another one, none stored here.
    EXPECT_TRUE(CSetPasswordDlg::StoredPassword(CSetPasswordDlg::MODE_SETTINGS).isEmpty());
}
