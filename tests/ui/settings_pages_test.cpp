// The player and group settings pages in the main window: each bad value is
// refused with its message, OK stores players and groups together, a page
// left with changes asks first, and nothing is removed under a transfer; the
// overview's group selector then chooses among the groups. The system,
// materials and option pages store what they show; passwords are typed twice.

#include "widgets/color_dialog.h"
#include "app/main_frame.h"
#include "control_lookup.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "shell_fixture.h"
#include "ui/contents/color_button.h"
#include "ui/players/set_cont_dlg_view.h"
#include "ui/players/set_group_dlg_view.h"
#include "ui/players/set_opt_dlg_view.h"
#include "ui/players/set_password_dlg.h"
#include "ui/players/set_r40_list_dlg_view.h"
#include "ui/players/set_system_dlg_view.h"
#include "ui/timetable/schedule_view_dlg_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <functional>

namespace {

void type(QWidget *page, int id, const QString &text)
{
    auto *edit = control<QLineEdit>(page, id);
    edit->clear();
    // Key events exist for ASCII only; other text arrives as an input method commits it.
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
    if (ascii)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
}

void click(QWidget *page, int id)
{
    auto *button = control<QPushButton>(page, id);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class SettingsPages : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startSetUpFrame();
        ASSERT_NE(frame, nullptr);
    }

    CSetR40ListDlgView *playersPage()
    {
        EXPECT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_PLAYERS, false));
        return dynamic_cast<CSetR40ListDlgView *>(frame->GetViewPane(CMainFrame::PANE_SET_R40_LIST));
    }
    CSetGroupDlgView *groupPage()
    {
        EXPECT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_GROUPS, false));
        return dynamic_cast<CSetGroupDlgView *>(frame->GetViewPane(CMainFrame::PANE_SET_GROUP));
    }
    void fillPlayer(QWidget *page, const QString &name, const QString &address)
    {
        type(page, CSetR40ListDlgView::kNameId, name);
        type(page, CSetR40ListDlgView::kAddressId, address);
    }

    CMainFrame *frame = nullptr;
};

TEST_F(SettingsPages, PlayerPageRefusesBadValuesAndOkStoresThePlayersAndTheirFolders)
{
    CSetR40ListDlgView *page = playersPage();
    ASSERT_NE(page, nullptr);
    auto *list = control<QTableWidget>(page, CSetR40ListDlgView::kListId);

    // Names that cannot be a folder name: a separator, a character other
    // systems refuse, more bytes than a file name holds.
    for (const QString &name : {QStringLiteral("a/b"), QStringLiteral("a*b")}) {
        fillPlayer(page, name, QStringLiteral("127.0.0.2"));
        m_prompter.expect(5470, IDOK);
        click(page, CSetR40ListDlgView::kAddId);
    }
    // 129 bytes: the names made of it (its log cabinet and that file's
    // temporary, its folder inside the all-log cabinet) would pass 255.
    fillPlayer(page, QString(43, QChar(u'店')), QStringLiteral("127.0.0.2"));
    m_prompter.expect(5478, IDOK);
    click(page, CSetR40ListDlgView::kAddId);
    fillPlayer(page, QStringLiteral("ロビー"), QStringLiteral("127.0.0.256"));
    m_prompter.expect(5471, IDOK);
    click(page, CSetR40ListDlgView::kAddId);
    type(page, CSetR40ListDlgView::kAddressId, QStringLiteral("127.0.0.2"));
    type(page, CSetR40ListDlgView::kPortId, QStringLiteral("70000"));
    m_prompter.expect(5108, IDOK);
    click(page, CSetR40ListDlgView::kAddId);
    EXPECT_EQ(m_prompter.last().arguments, (QStringList{QStringLiteral("1"), QStringLiteral("65535")}));
    type(page, CSetR40ListDlgView::kPortId, QStringLiteral("80a"));
    m_prompter.expect(5235, IDOK);
    click(page, CSetR40ListDlgView::kAddId);
    type(page, CSetR40ListDlgView::kPortId, QStringLiteral("8080"));
    type(page, CSetR40ListDlgView::kMacId, QStringLiteral("00-11-22-33-44"));
    m_prompter.expect(5472, IDOK);
    click(page, CSetR40ListDlgView::kAddId);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_FALSE(page->IsModified());

    type(page, CSetR40ListDlgView::kMacId, QStringLiteral("00:11:22:33:44:55"));
    click(page, CSetR40ListDlgView::kAddId);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, CSetR40ListDlgView::COL_MAC)->text(), QStringLiteral("00-11-22-33-44-55"));
    fillPlayer(page, QStringLiteral("ロビー"), QStringLiteral("lobby-2"));
    m_prompter.expect(5473, IDOK);
    click(page, CSetR40ListDlgView::kAddId);
    fillPlayer(page, QStringLiteral("受付"), QStringLiteral("127.0.0.3"));
    type(page, CSetR40ListDlgView::kPortId, QString());
    type(page, CSetR40ListDlgView::kMacId, QString());
    control<QCheckBox>(page, CSetR40ListDlgView::kCommunicateId)->setChecked(false);
    click(page, CSetR40ListDlgView::kAddId);
    ASSERT_EQ(list->rowCount(), 2);

    // Change the first one: the fields show it when it is selected.
    list->selectRow(0);
    EXPECT_EQ(control<QLineEdit>(page, CSetR40ListDlgView::kAddressId)->text(), QStringLiteral("127.0.0.2"));
    type(page, CSetR40ListDlgView::kPasswordId, QStringLiteral("secret"));
    click(page, CSetR40ListDlgView::kChangeId);
    EXPECT_TRUE(page->IsModified());
    EXPECT_EQ(GetAppData().GetPlayerXml().GetCount(), 0);
    // Changed to a name too long, the player keeps its name.
    fillPlayer(page, QString(248, QLatin1Char('n')), QStringLiteral("127.0.0.2"));
    m_prompter.expect(5478, IDOK);
    click(page, CSetR40ListDlgView::kChangeId);
    EXPECT_EQ(list->item(0, CSetR40ListDlgView::COL_NAME)->text(), QStringLiteral("ロビー"));

    // A player's folder that cannot be made: the failure said is true, nothing is stored.
    const QString blocked = dataFolder() + QStringLiteral("/KDP-R40/受付");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(blocked).path()));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_prompter.expect(5481, IDOK);
    click(page, CSetR40ListDlgView::kOkButtonId);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_SET_PLAYERS);
    EXPECT_FALSE(QFile::exists(GetAppData().GetPlayerFilePath()));
    EXPECT_EQ(GetAppData().GetPlayerXml().GetCount(), 0);
    ASSERT_TRUE(QFile::remove(blocked));

    click(page, CSetR40ListDlgView::kOkButtonId);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    CHarlPlayerXml stored;
    ASSERT_TRUE(stored.Load(GetAppData().GetPlayerFilePath()));
    const std::vector<PlayerRecord> players = stored.CopyPlayers();
    ASSERT_EQ(players.size(), 2u);
    const PlayerRecord &first = players[0];
    EXPECT_EQ(first.Name, QStringLiteral("ロビー"));
    EXPECT_EQ(first.Port, 8080);
    EXPECT_EQ(first.Pass, QStringLiteral("secret"));
    EXPECT_FALSE(first.NoComm);
    EXPECT_EQ(players[1].Port, 0);
    EXPECT_TRUE(players[1].NoComm);
    for (const PlayerRecord &player : players)
        EXPECT_TRUE(QFileInfo(dataFolder() + QStringLiteral("/KDP-R40/") + player.Name).isDir()) << player.Name.toStdString();
    // The frame's current player is the first one now.
    EXPECT_EQ(frame->GetCurrentPlayerId(), first.Number);
}

TEST_F(SettingsPages, ALeftPageAsksBeforeItsChangesAreLostAndNothingIsRemovedUnderATransfer)
{
    CSetR40ListDlgView *page = playersPage();
    ASSERT_NE(page, nullptr);
    fillPlayer(page, QStringLiteral("ロビー"), QStringLiteral("127.0.0.2"));
    click(page, CSetR40ListDlgView::kAddId);
    m_prompter.expect(5007, IDNO);
    EXPECT_FALSE(frame->SwitchView(CMainFrame::VIEW_SET_GROUPS, false));
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_SET_PLAYERS);
    click(page, CSetR40ListDlgView::kOkButtonId);
    ASSERT_EQ(GetAppData().GetPlayerXml().GetCount(), 1);

    page = playersPage();
    auto *list = control<QTableWidget>(page, CSetR40ListDlgView::kListId);
    ASSERT_EQ(list->rowCount(), 1);
    list->selectRow(0);
    frame->SetBusyMode(1);
    m_prompter.expect(5295, IDOK);
    click(page, CSetR40ListDlgView::kRemoveId);
    EXPECT_EQ(list->rowCount(), 1);
    frame->SetBusyMode(0);
    click(page, CSetR40ListDlgView::kRemoveId);
    EXPECT_EQ(list->rowCount(), 0);
    // Leaving with Yes discards the removal.
    m_prompter.expect(5007, IDYES);
    EXPECT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_GROUPS, false));
    EXPECT_EQ(GetAppData().GetPlayerXml().GetCount(), 1);
    EXPECT_EQ(playersPage()->GetEdit().Players().size(), 1u);
}

TEST_F(SettingsPages, GroupPageAddsRenamesAndRemovesGroupsAndTicksTheirPlayers)
{
    CSetR40ListDlgView *players = playersPage();
    ASSERT_NE(players, nullptr);
    fillPlayer(players, QStringLiteral("one"), QStringLiteral("127.0.0.2"));
    click(players, CSetR40ListDlgView::kAddId);
    fillPlayer(players, QStringLiteral("two"), QStringLiteral("127.0.0.3"));
    click(players, CSetR40ListDlgView::kAddId);
    click(players, CSetR40ListDlgView::kOkButtonId);

    CSetGroupDlgView *page = groupPage();
    ASSERT_NE(page, nullptr);
    auto *list = control<QTableWidget>(page, CSetGroupDlgView::kListId);
    auto *members = control<QListWidget>(page, CSetGroupDlgView::kMembersId);
    type(page, CSetGroupDlgView::kNameId, QStringLiteral("本店"));
    click(page, CSetGroupDlgView::kAddId);
    m_prompter.expect(5475, IDOK);
    click(page, CSetGroupDlgView::kAddId);
    // A group's name is a folder's name under the rules of a player's.
    for (const QString &name : {QStringLiteral("a:b"), QStringLiteral("a*b")}) {
        type(page, CSetGroupDlgView::kNameId, name);
        m_prompter.expect(5476, IDOK);
        click(page, CSetGroupDlgView::kAddId);
    }
    type(page, CSetGroupDlgView::kNameId, QString(43, QChar(u'店')));
    m_prompter.expect(5482, IDOK);
    click(page, CSetGroupDlgView::kAddId);
    ASSERT_EQ(list->rowCount(), 1);
    ASSERT_EQ(members->count(), 2);
    for (int i = 0; i < members->count(); ++i)
        members->item(i)->setCheckState(Qt::Checked);
    EXPECT_EQ(list->item(0, CSetGroupDlgView::COL_PLAYERS)->text(), QStringLiteral("2"));

    type(page, CSetGroupDlgView::kNameId, QStringLiteral("本社"));
    click(page, CSetGroupDlgView::kChangeId);
    click(page, CSetGroupDlgView::kOkButtonId);
    ASSERT_EQ(GetAppData().GetGroupXml().GetCount(), 1);
    CGroupRecord group;
    ASSERT_TRUE(GetAppData().GetGroupXml().GetGroup(0, group));
    EXPECT_EQ(group.Name, QStringLiteral("本社"));
    EXPECT_EQ(group.Players, (QList<qint32>{1, 2}));
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().CopyPlayers())
        EXPECT_EQ(player.Group, QStringLiteral("本社"));
    EXPECT_EQ(frame->GetCurrentGroupName(), QStringLiteral("本社"));

    // The player page offers the group, and removing a group with players asks first.
    page = groupPage();
    list = control<QTableWidget>(page, CSetGroupDlgView::kListId);
    list->selectRow(0);
    m_prompter.expect(5474, IDNO);
    click(page, CSetGroupDlgView::kRemoveId);
    EXPECT_EQ(list->rowCount(), 1);
    m_prompter.expect(5474, IDYES);
    click(page, CSetGroupDlgView::kRemoveId);
    EXPECT_EQ(list->rowCount(), 0);
    click(page, CSetGroupDlgView::kOkButtonId);
    EXPECT_EQ(GetAppData().GetGroupXml().GetCount(), 0);
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().CopyPlayers())
        EXPECT_TRUE(player.Group.isEmpty());
}

TEST_F(SettingsPages, TheOverviewsGroupSelectorChoosesTheCurrentGroupUnlessAnEditedScheduleIsKept)
{
    CSetGroupDlgView *page = groupPage();
    ASSERT_NE(page, nullptr);
    for (const QString &name : {QStringLiteral("east"), QStringLiteral("west")}) {
        type(page, CSetGroupDlgView::kNameId, name);
        click(page, CSetGroupDlgView::kAddId);
    }
    click(page, CSetGroupDlgView::kOkButtonId);
    EXPECT_EQ(frame->GetCurrentGroupName(), QStringLiteral("east"));

    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_OVERVIEW, false));
    auto *selector = dynamic_cast<CScheduleViewDlgView *>(frame->GetViewPane(CMainFrame::PANE_SCHEDULE_VIEW));
    ASSERT_NE(selector, nullptr);
    QListWidget *groups = selector->GetGroupList();
    ASSERT_EQ(groups->count(), 2);
    EXPECT_EQ(groups->currentItem()->text(), QStringLiteral("east"));
    const QRect west = groups->visualItemRect(groups->item(1));
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, west.center());
    EXPECT_EQ(frame->GetCurrentGroupName(), QStringLiteral("west"));

    GetContentFolders().GetScheduleModel()->SetModified(true);
    m_prompter.expect(5005, IDNO);
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {}, groups->visualItemRect(groups->item(0)).center());
    EXPECT_EQ(frame->GetCurrentGroupName(), QStringLiteral("west"));
    EXPECT_EQ(groups->currentItem()->text(), QStringLiteral("west"));
    GetContentFolders().GetScheduleModel()->SetModified(false);
}

namespace {

void typePassword(QDialog *dialog, const QString &password, const QString &confirmation)
{
    dialog->findChild<QLineEdit *>(QString::number(CSetPasswordDlg::kPasswordEditId))->setText(password);
    dialog->findChild<QLineEdit *>(QString::number(CSetPasswordDlg::kConfirmEditId))->setText(confirmation);
    dialog->accept();
}

class FakeColorDialog final : public IColorDialogPrompter {
public:
    FakeColorDialog() { SetColorDialogPrompter(this); }
    ~FakeColorDialog() override { SetColorDialogPrompter(nullptr); }
    bool ChooseColor(QWidget *, ColorRef, ColorRef &chosen) override
    {
        chosen = answer;
        return true;
    }
    ColorRef answer = 0;
};

} // namespace

TEST_F(SettingsPages, SystemPageRefusesALogFolderItCannotWriteAndStoresItsValues)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_SYSTEM, false));
    QWidget *page = frame->GetViewPane(CMainFrame::PANE_SET_SYSTEM);
    control<QCheckBox>(page, CSetSystemDlgView::kAutoSendId)->setChecked(true);
    control<QTimeEdit>(page, CSetSystemDlgView::kAutoSendTimeId)->setTime(QTime(3, 15, 0));
    control<QCheckBox>(page, CSetSystemDlgView::kRetryId)->setChecked(false);
    auto *interval = control<QSpinBox>(page, CSetSystemDlgView::kRetryIntervalId);
    interval->setValue(0);
    EXPECT_EQ(interval->value(), 1); // held to its range
    interval->setValue(90);
    control<QComboBox>(page, CSetSystemDlgView::kLogLevelId)->setCurrentIndex(7);
    control<QSpinBox>(page, CSetSystemDlgView::kLogKeepDayId)->setValue(14);
    type(page, CSetSystemDlgView::kLogFolderId, QStringLiteral("relative/log"));
    m_prompter.expect(5231, IDOK);
    click(page, CSetSystemDlgView::kOkButtonId);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_SET_SYSTEM);

    const QString folder = m_home.path() + QStringLiteral("/logs");
    type(page, CSetSystemDlgView::kLogFolderId, folder);
    click(page, CSetSystemDlgView::kOkButtonId);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    CSystemIni stored;
    stored.Open(GetSystemIni().GetFileName(), baseFolder());
    const SystemSettings settings = stored.Settings();
    EXPECT_TRUE(settings.AutoSend);
    EXPECT_EQ(settings.AutoSendStartTime, (TimeValue{3, 15, 0, 0}));
    EXPECT_FALSE(settings.R40RetryEnable);
    EXPECT_EQ(settings.R40RetryInterval, 90);
    EXPECT_EQ(settings.LogFolder, folder);
    EXPECT_EQ(settings.LogLevel, 7);
    EXPECT_EQ(settings.LogKeepDay, 14);
}

TEST_F(SettingsPages, OptionPageSetsThePasswordsTypedTwiceAndKeepsThemPrivate)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_OPTIONS, false));
    QWidget *page = frame->GetViewPane(CMainFrame::PANE_SET_OPT);
    // Cancelled: the switch stays off.
    OnNextModal<QDialog>([](QDialog *dialog) { dialog->reject(); });
    control<QCheckBox>(page, CSetOptDlgView::kRunPassUseId)->setChecked(true);
    EXPECT_FALSE(control<QCheckBox>(page, CSetOptDlgView::kRunPassUseId)->isChecked());

    // Two entries that differ are refused; then the same password twice is taken.
    m_prompter.expect(5477, IDOK);
    OnNextModal<QDialog>([](QDialog *dialog) {
        typePassword(dialog, QStringLiteral("open"), QStringLiteral("opne"));
        EXPECT_TRUE(dialog->isVisible());
        typePassword(dialog, QStringLiteral("open sesame"), QStringLiteral("open sesame"));
    });
    control<QCheckBox>(page, CSetOptDlgView::kRunPassUseId)->setChecked(true);
    EXPECT_TRUE(control<QCheckBox>(page, CSetOptDlgView::kRunPassUseId)->isChecked());
    control<QTimeEdit>(page, CSetOptDlgView::kNotSendStartId)->setTime(QTime(23, 0, 0));
    control<QTimeEdit>(page, CSetOptDlgView::kNotSendEndId)->setTime(QTime(5, 0, 0));
    control<QSpinBox>(page, CSetOptDlgView::kHttpPortId)->setValue(8080);
    control<QCheckBox>(page, CSetOptDlgView::kLocalUrlId)->setChecked(true);
    control<QCheckBox>(page, CSetOptDlgView::kTouchPanelId)->setChecked(true);
    click(page, CSetOptDlgView::kOkButtonId);

    CSettingIni stored;
    stored.Open(GetSettingIni().GetFileName());
    EXPECT_TRUE(stored.Options().RunPassUse);
    EXPECT_EQ(stored.Options().RunPassword, QStringLiteral("open sesame"));
    EXPECT_TRUE(stored.Options().SetupPassword.isEmpty());
    EXPECT_EQ(stored.Options().HttpPort, 8080);
    EXPECT_TRUE(stored.Options().SILocalUrl);
    // The touch-panel box is the option its menu item reads; the other switch stays as it was.
    EXPECT_TRUE(stored.Options().VODUse);
    EXPECT_FALSE(stored.Options().SIUse);
    EXPECT_EQ(QFile::permissions(GetSettingIni().GetFileName()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(GetSystemIni().Settings().NotSendStartTime, (TimeValue{23, 0, 0, 0}));
    EXPECT_EQ(GetSystemIni().Settings().NotSendEndTime, (TimeValue{5, 0, 0, 0}));
    // The start-up prompt now wants that password.
    EXPECT_EQ(CSetPasswordDlg::StoredPassword(CSetPasswordDlg::MODE_STARTUP), QStringLiteral("open sesame"));
}

TEST_F(SettingsPages, MaterialsPageSwitchesTypesOffLimitsThemAndSetsTheTransparentColour)
{
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_SET_MATERIALS, false));
    QWidget *page = frame->GetViewPane(CMainFrame::PANE_SET_CONT);
    EXPECT_TRUE(control<QCheckBox>(page, CSetContDlgView::kUseBaseId + 8)->isChecked());
    EXPECT_EQ(control<QSpinBox>(page, CSetContDlgView::kMaxBaseId + 7)->value(), 200);
    control<QCheckBox>(page, CSetContDlgView::kUseBaseId + 8)->setChecked(false);
    control<QSpinBox>(page, CSetContDlgView::kMaxBaseId + 1)->setValue(500);
    FakeColorDialog colors;
    colors.answer = 0x00FF00;
    QTest::mouseClick(control<CColorButton>(page, CSetContDlgView::kTransparentId), Qt::LeftButton);
    click(page, CSetContDlgView::kOkButtonId);
    EXPECT_FALSE(GetSystemIni().IsContentTypeUsed(8));
    EXPECT_EQ(GetSystemIni().GetMaxCount(1), 500);
    EXPECT_EQ(GetSystemIni().Settings().ColorTransparent, 0x00FF00u);
    CSystemIni stored;
    stored.Open(GetSystemIni().GetFileName(), baseFolder());
    EXPECT_FALSE(stored.IsContentTypeUsed(8));
    EXPECT_EQ(stored.Settings().ColorTransparent, 0x00FF00u);
}
