// The player and group settings pages in the main window: each bad value is
// refused with its message, OK stores players and groups together, a page
// left with changes asks first, and nothing is removed under a transfer; the
// overview's group selector then chooses among the groups.

#include "app/main_frame.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "shell_fixture.h"
#include "ui/players/set_group_dlg_view.h"
#include "ui/players/set_r40_list_dlg_view.h"
#include "ui/timetable/schedule_view_dlg_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

template <class Control>
Control *control(QWidget *page, int id)
{
    auto *found = page->findChild<Control *>(QString::number(id));
    EXPECT_NE(found, nullptr) << id;
    return found;
}

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
        writeIni("Y5.ini", QStringLiteral("Sysytem"), QStringLiteral("InitSeq"), QStringLiteral("7"));
        frame = startFrame();
        ASSERT_NE(frame, nullptr);
        frame->resize(1200, 800);
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

    fillPlayer(page, QStringLiteral("a/b"), QStringLiteral("127.0.0.2"));
    m_prompter.expect(5470, IDOK);
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

    click(page, CSetR40ListDlgView::kOkButtonId);
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    CHarlPlayerXml stored;
    ASSERT_TRUE(stored.Load(GetAppData().GetPlayerFilePath()));
    ASSERT_EQ(stored.GetCount(), 2);
    const PlayerRecord &first = stored.GetPlayers()[0];
    EXPECT_EQ(first.Name, QStringLiteral("ロビー"));
    EXPECT_EQ(first.Port, 8080);
    EXPECT_EQ(first.Pass, QStringLiteral("secret"));
    EXPECT_FALSE(first.NoComm);
    EXPECT_EQ(stored.GetPlayers()[1].Port, 0);
    EXPECT_TRUE(stored.GetPlayers()[1].NoComm);
    for (const PlayerRecord &player : stored.GetPlayers())
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
    type(page, CSetGroupDlgView::kNameId, QStringLiteral("a:b"));
    m_prompter.expect(5476, IDOK);
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
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().GetPlayers())
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
    for (const PlayerRecord &player : GetAppData().GetPlayerXml().GetPlayers())
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
