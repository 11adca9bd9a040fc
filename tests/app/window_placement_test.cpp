// The main frame's placement from the stored rectangle against one or two
// screens, including rectangles left on a screen that is gone.
#include "app/window_placement.h"
#include "core/app_ini.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

WinRect rectOf(int left, int top, int width, int height)
{
    return WinRect{left, top, left + width, top + height};
}

const QList<QRect> kSingle = {QRect(0, 0, 1920, 1080)};
const QList<QRect> kTwo = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
const QRect kWorkArea(0, 0, 1920, 1040);

} // namespace

TEST(WindowPlacement, OffScreenComesBackAtTheOriginWithItsSize)
{
    EXPECT_EQ(PlacementFromStored(rectOf(5000, 5000, 800, 600), kSingle, kWorkArea), QRect(0, 0, 800, 600));
    EXPECT_EQ(PlacementFromStored(rectOf(100, 50, 800, 600), kSingle, kWorkArea), QRect(100, 50, 800, 600));
    // Left on the second screen: kept while it is there, back at the origin once it is gone.
    EXPECT_EQ(PlacementFromStored(rectOf(2100, 100, 800, 600), kTwo, kWorkArea), QRect(2100, 100, 800, 600));
    EXPECT_EQ(PlacementFromStored(rectOf(2100, 100, 800, 600), kSingle, kWorkArea), QRect(0, 0, 800, 600));
    // Negative coordinates far from every screen are not visible.
    EXPECT_EQ(PlacementFromStored(rectOf(-3000, -3000, 800, 600), kSingle, kWorkArea), QRect(0, 0, 800, 600));
    // Nothing stored: the work area.
    EXPECT_EQ(PlacementFromStored(WinRect(), kSingle, kWorkArea), kWorkArea);
}

TEST(WindowPlacement, VisibleWhenTheCentreOrEnoughOfItIsOnAScreen)
{
    EXPECT_TRUE(IsWindowRectVisible(rectOf(-200, -10, 800, 600), kSingle)); // centre on screen
    EXPECT_TRUE(IsWindowRectVisible(rectOf(1400, 700, 1000, 1000), kSingle)); // 520 x 380 on screen
    EXPECT_FALSE(IsWindowRectVisible(rectOf(1880, 100, 800, 600), kSingle)); // 40 pixels wide on screen
    EXPECT_FALSE(IsWindowRectVisible(rectOf(-790, 100, 800, 600), kSingle));
    EXPECT_FALSE(IsWindowRectVisible(rectOf(-100000, -100000, 800, 600), kTwo)); // far to the negative side
    EXPECT_TRUE(IsWindowRectVisible(rectOf(1880, 100, 800, 600), kTwo));
    EXPECT_FALSE(IsWindowRectVisible(rectOf(100, 1040, 800, 600), kSingle)); // 50 by 50 needed
    EXPECT_TRUE(IsWindowRectVisible(rectOf(100, 1030, 800, 600), kSingle));
}

TEST(WindowPlacement, RestoresFromTheStateFileOnTheRunningScreens)
{
    // The test program runs on two screens side by side.
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    QTemporaryDir dir;
    CAppIni ini;
    ini.SetFileName(dir.filePath(QStringLiteral("Q9A.ini")));
    QWidget frame;

    ASSERT_TRUE(ini.SetWindowRect(kMainFrameWindowNumber, rectOf(2000, 100, 900, 700)));
    RestoreWindowPlacement(&frame, ini);
    EXPECT_EQ(frame.geometry(), QRect(2000, 100, 900, 700));

    ASSERT_TRUE(ini.SetWindowRect(kMainFrameWindowNumber, rectOf(5000, 3000, 900, 700)));
    RestoreWindowPlacement(&frame, ini);
    EXPECT_EQ(frame.geometry(), QRect(0, 0, 900, 700));

    CAppIni empty;
    empty.SetFileName(dir.filePath(QStringLiteral("none.ini")));
    RestoreWindowPlacement(&frame, empty);
    EXPECT_EQ(frame.geometry(), QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_FALSE(frame.isVisible());
}
