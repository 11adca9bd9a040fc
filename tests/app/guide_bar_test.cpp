// The navigation bar: item states and groups, the guide commands with their
// guards, scrolling arithmetic and keys; the guidance bar's toggle.
#include "app/guidance_bar.h"
#include "app/guide_bar.h"
#include "widgets/password_prompter.h"
#include "widgets/telv_bmp_button.h"
#include "app_test_support.h"
#include "core/message_box.h"
#include "core/setting_ini.h"
#include "support/scripted_prompter.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr quint32 kConfirmSystemSettings = 5307;

// Sets the set-up step and the settings password switch for one test.
class ScopedOptions {
public:
    ScopedOptions(int initSeq, bool setupPassUse) : m_saved(GetSettingIni().Options())
    {
        SystemOptions options = m_saved;
        options.InitSeq = initSeq;
        options.SetupPassUse = setupPassUse;
        GetSettingIni().SetOptions(options);
    }
    ~ScopedOptions() { GetSettingIni().SetOptions(m_saved); }

private:
    SystemOptions m_saved;
};

class FakePasswordPrompter final : public IPasswordPrompter {
public:
    explicit FakePasswordPrompter(int answer) : m_answer(answer) { SetPasswordPrompter(this); }
    ~FakePasswordPrompter() override { SetPasswordPrompter(nullptr); }
    int PromptPassword(QWidget *, int mode) override
    {
        modes.append(mode);
        return m_answer;
    }
    QList<int> modes;

private:
    int m_answer;
};

struct BarFixture {
    explicit BarFixture(QSet<int> viewsOff = {})
    {
        frame.viewsOff = std::move(viewsOff);
        bar.Create(&host);
        bar.resize(bar.CalcFixedLayout(true, false).width(), 300);
        host.resize(400, 2200);
        host.show();
    }
    // The shown items in order.
    QList<int> shown() const
    {
        QList<int> ids;
        for (const CGuideBar::Entry &entry : CGuideBar::ButtonTable()) {
            if (bar.IsItemAvailable(entry.id))
                ids.append(entry.id);
        }
        return ids;
    }

    FakePaneFrame frame;
    QWidget host;
    CGuideBar bar;
};

const QList<int> kMainItems = {1532, 1504, 1505, 1506, 1507, 1508, 1510, 1509, 1533,
                               1511, 1522, 1523, 1534, 1524, 1537};
const QList<int> kSettingsOpen = {1532, 1504, 1505, 1506, 1507, 1508, 1510, 1509, 1533, 1511, 1522,
                                  1523, 1534, 1530, 1535, 1525, 1526, 1527, 1528, 1529, 1531, 1536, 1537};

} // namespace

TEST(GuideBar, BuildsTheTableWithTheSettingsGroupClosed)
{
    BarFixture f;
    EXPECT_EQ(f.bar.objectName(), QStringLiteral("1502"));
    EXPECT_EQ(int(CGuideBar::ButtonTable().size()), 24);
    EXPECT_EQ(f.shown(), kMainItems);
    EXPECT_EQ(f.bar.GetItemState(1525), CGuideBar::STATE_HIDDEN);
    EXPECT_EQ(f.bar.FindItem(1504), 1);
    EXPECT_EQ(f.bar.FindItem(1503), -1);
    EXPECT_EQ(f.bar.GetItemState(1538), -1);
    // Every bitmap of the table is compiled in.
    for (const CGuideBar::Entry &entry : CGuideBar::ButtonTable())
        EXPECT_GT(f.bar.GetButton(entry.id)->height(), 1) << entry.id;
    EXPECT_EQ(f.bar.CalcFixedLayout(true, false).height(), CTelvDlgBar::kStretchLength);
}

TEST(GuideBar, ToggleOpensAndClosesTheSettingsGroup)
{
    ScopedOptions options(7, false);
    BarFixture f;
    QTest::mouseClick(f.bar.GetButton(1524), Qt::LeftButton);
    EXPECT_EQ(f.shown(), kSettingsOpen);
    EXPECT_EQ(f.bar.GetItemState(1524), CGuideBar::STATE_HIDDEN);
    EXPECT_TRUE(f.bar.GetButton(1525)->isVisible());
    EXPECT_FALSE(f.bar.GetButton(1524)->isVisible());

    f.bar.OnGuideCommand(1530);
    EXPECT_EQ(f.shown(), kMainItems);

    // A view button switches the view through the frame; a picture does nothing.
    f.bar.OnGuideCommand(1505);
    f.bar.OnGuideCommand(1532);
    EXPECT_EQ(f.frame.views, (QList<QPair<int, bool>>{{1505, false}}));
}

TEST(GuideBar, SettingsPasswordCancelKeepsTheGroupClosed)
{
    ScopedOptions options(7, true);
    BarFixture f;
    {
        FakePasswordPrompter prompter(IDCANCEL);
        f.bar.OnGuideCommand(1524);
        EXPECT_EQ(prompter.modes, (QList<int>{PASSWORD_SETTINGS}));
    }
    EXPECT_EQ(f.shown(), kMainItems);
    {
        // Without a prompter nothing guarded by the password opens either.
        f.bar.OnGuideCommand(1524);
        EXPECT_EQ(f.shown(), kMainItems);
    }
    FakePasswordPrompter prompter(IDOK);
    f.bar.OnGuideCommand(1524);
    EXPECT_EQ(f.shown(), kSettingsOpen);
}

TEST(GuideBar, FirstSetUpStepRefusesEveryCommand)
{
    ScopedOptions options(0, false);
    BarFixture f;
    ScriptedPrompter prompter;
    prompter.expect(kConfirmSystemSettings, IDOK);
    f.bar.OnGuideCommand(1505);
    EXPECT_TRUE(f.frame.views.isEmpty());
    // Ids of the range that no button carries are ignored without a word.
    f.bar.OnGuideCommand(1503);
    f.bar.OnGuideCommand(1538);
    EXPECT_EQ(prompter.prompts().size(), 1);
}

TEST(GuideBar, SwitchedOffViewsStayHiddenForGood)
{
    ScopedOptions options(7, false);
    BarFixture f({1506, 1522});
    EXPECT_EQ(f.bar.GetItemState(1506), CGuideBar::STATE_OFF);
    EXPECT_EQ(f.bar.GetItemState(1522), CGuideBar::STATE_OFF);
    EXPECT_EQ(f.bar.GetItemState(1505), CGuideBar::STATE_SHOWN);
    f.bar.OnGuideCommand(1524);
    f.bar.Select(1526);
    EXPECT_EQ(f.bar.GetItemState(1506), CGuideBar::STATE_OFF);
    EXPECT_FALSE(f.bar.IsItemAvailable(1522));
    EXPECT_FALSE(f.bar.GetButton(1506)->isVisible());
}

TEST(GuideBar, ItemStatesSelectAndHighlight)
{
    BarFixture f;
    f.bar.SetItemState(1507, CGuideBar::STATE_DISABLED);
    f.bar.Relayout();
    EXPECT_TRUE(f.bar.IsItemAvailable(1507));
    EXPECT_FALSE(f.bar.IsCommandEnabled(1507));
    EXPECT_FALSE(f.bar.GetButton(1507)->isEnabled());
    EXPECT_TRUE(f.bar.IsCommandEnabled(1505));

    // Selecting a view inside the settings group opens the group.
    f.bar.Select(1528);
    EXPECT_EQ(f.bar.GetItemState(1524), CGuideBar::STATE_HIDDEN);
    EXPECT_EQ(f.bar.GetItemState(1528), CGuideBar::STATE_SHOWN);
    EXPECT_EQ(f.bar.GetItemState(1530), CGuideBar::STATE_SHOWN);
    // A view without a group changes nothing.
    f.bar.Select(1505);
    EXPECT_EQ(f.bar.GetItemState(1507), CGuideBar::STATE_DISABLED);

    EXPECT_EQ(f.bar.GetCurrentView(), -1);
    f.bar.Highlight(1528);
    EXPECT_EQ(f.bar.GetCurrentView(), 1528);
    f.bar.Highlight(1504);
    EXPECT_EQ(f.bar.GetCurrentView(), 1504);
    EXPECT_FALSE(f.bar.GetButton(1528)->IsPushed());
}

TEST(GuideBar, ScrollsByHalfTheSmallestButton)
{
    ScopedOptions options(7, false);
    BarFixture f;
    f.bar.OnGuideCommand(1524);
    f.bar.resize(f.bar.width(), 200);
    int content = 0;
    int smallest = INT_MAX;
    for (int id : kSettingsOpen) {
        content += f.bar.GetButton(id)->height();
        smallest = std::min(smallest, f.bar.GetButton(id)->height());
    }
    EXPECT_EQ(f.bar.GetContentHeight(), content);
    EXPECT_EQ(f.bar.GetLineStep(), smallest / 2);
    EXPECT_EQ(f.bar.GetVisibleHeight(), 200);
    EXPECT_EQ(f.bar.GetScrollLimit(), content - 200);

    f.bar.OnVScroll(CGuideBar::SB_LINEDOWN);
    f.bar.OnVScroll(CGuideBar::SB_LINEDOWN);
    EXPECT_EQ(f.bar.GetScrollPos(), 2 * f.bar.GetLineStep());
    EXPECT_EQ(f.bar.GetButton(1532)->y(), -2 * f.bar.GetLineStep());
    f.bar.OnVScroll(CGuideBar::SB_PAGEUP);
    EXPECT_EQ(f.bar.GetScrollPos(), f.bar.GetLineStep());
    f.bar.OnVScroll(CGuideBar::SB_THUMBTRACK, 100000);
    EXPECT_EQ(f.bar.GetScrollPos(), content - 200);

    // Home goes back to the top, End to the end.
    QTest::keyClick(&f.bar, Qt::Key_Home);
    EXPECT_EQ(f.bar.GetScrollPos(), 0);
    QTest::keyClick(&f.bar, Qt::Key_End);
    EXPECT_EQ(f.bar.GetScrollPos(), content - 200);

    // Closing the group shortens the content: the position comes back within it.
    f.bar.OnGuideCommand(1530);
    EXPECT_LE(f.bar.GetScrollPos(), std::max(0, f.bar.GetContentHeight() - 200));
    f.bar.resize(f.bar.width(), 2000);
    EXPECT_EQ(f.bar.GetScrollLimit(), 0);
    EXPECT_EQ(f.bar.GetScrollPos(), 0);
}

TEST(GuidanceBar, ButtonShowsAndHidesTheNavigationBar)
{
    FakePaneFrame frame;
    QWidget host;
    CGuidanceBar bar;
    ASSERT_TRUE(bar.Create(&host));
    host.resize(800, 100);
    host.show();
    EXPECT_EQ(bar.objectName(), QStringLiteral("1501"));
    bar.SetGuidanceText(QStringLiteral("guidance"));
    EXPECT_EQ(bar.findChild<QLineEdit *>(QStringLiteral("1127"))->text(), QStringLiteral("guidance"));
    EXPECT_TRUE(bar.findChild<QLineEdit *>(QStringLiteral("1127"))->isReadOnly());

    auto *button = bar.findChild<CTelvBmpButton *>(QStringLiteral("1016"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(bar.IsNavigationShown());
    bar.OnGuideButton();
    EXPECT_TRUE(bar.IsNavigationShown());
    EXPECT_EQ(frame.bars, (QList<QPair<int, bool>>{{1502, false}, {1502, true}}));

    // The text field follows the bar's width.
    auto *text = bar.findChild<QLineEdit *>(QStringLiteral("1127"));
    const int before = text->width();
    bar.resize(bar.width() + 100, bar.height());
    EXPECT_EQ(text->width(), before + 100);
}

TEST(GuideBar, LabelsFitTheirButtons)
{
    BarFixture f;
    for (const CGuideBar::Entry &entry : CGuideBar::ButtonTable()) {
        CTelvBmpButton *button = f.bar.GetButton(entry.id);
        if (button->text().isEmpty())
            continue;
        const int room = button->width() - button->GetTextOffset();
        EXPECT_LE(QFontMetrics(button->LabelFont()).horizontalAdvance(button->text()), room)
            << button->text().toStdString();
    }
}
