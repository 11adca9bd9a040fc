// The main window as the program shows it, grabbed offscreen: the bars, the
// child frames' captions and the Japanese texts must be drawn. The picture
// is written to the file that TELV_MAIN_SCREENSHOT names, when it names one.
#include "app/child_frame.h"
#include "app/guidance_bar.h"
#include "app/guide_bar.h"
#include "app/main_frame.h"
#include "widgets/telv_bmp_button.h"
#include "core/string_table.h"
#include "shell_fixture.h"

#include <QFontMetrics>
#include <QMdiArea>
#include <QTest>

using MainWindowScreenshot = ShellTest;

TEST_F(MainWindowScreenshot, BarsCaptionsAndJapaneseTextsAreDrawn)
{
    writeIni("Y5.ini", QStringLiteral("Sysytem"), QStringLiteral("InitSeq"), QStringLiteral("7"));
    writeIni("Q9A.ini", QStringLiteral("Window"), QStringLiteral("LastGuideSelect"), QStringLiteral("1505"));
    writeIni("Q9A.ini", QStringLiteral("Window_1"), QStringLiteral("WindowLeft"), QStringLiteral("0"));
    writeIni("Q9A.ini", QStringLiteral("Window_1"), QStringLiteral("WindowTop"), QStringLiteral("0"));
    writeIni("Q9A.ini", QStringLiteral("Window_1"), QStringLiteral("WindowWidth"), QStringLiteral("1280"));
    writeIni("Q9A.ini", QStringLiteral("Window_1"), QStringLiteral("WindowHeight"), QStringLiteral("800"));
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    EXPECT_EQ(frame->size(), QSize(1280, 800));
    EXPECT_EQ(frame->GetCurrentView(), CMainFrame::VIEW_PLAYLIST);
    // The view opened at the start, before the window was first shown, is
    // arranged in the client area the window has once shown.
    const QRect opened = frame->GetMdiClient()->viewport()->rect();
    for (int pane : {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_PLAYLIST_EDIT, CMainFrame::PANE_LAYOUT_DISP})
        EXPECT_TRUE(opened.contains(frame->GetViewFrame(pane)->geometry())) << pane;
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->width(), opened.width());
    frame->OnWindowArrange();
    QTest::qWait(100);

    const QImage image = frame->grab().toImage();
    const QByteArray target = qgetenv("TELV_MAIN_SCREENSHOT");
    if (!target.isEmpty())
        image.save(QString::fromLocal8Bit(target));

    // The bars stand at the top and the left; the guidance is the view's.
    EXPECT_TRUE(frame->GetGuidanceBar()->isVisible());
    EXPECT_TRUE(frame->GetGuideBar()->isVisible());
    EXPECT_EQ(frame->GetGuidanceBar()->GetGuidanceText(), LoadString(6111));
    EXPECT_LT(frame->GetGuidanceBar()->mapTo(frame, QPoint(0, 0)).y(),
              frame->GetMdiClient()->mapTo(frame, QPoint(0, 0)).y());
    EXPECT_LT(frame->GetGuideBar()->mapTo(frame, QPoint(0, 0)).x(), frame->GetMdiClient()->mapTo(frame, QPoint(0, 0)).x());
    // The three panes of the view are shown with their captions.
    for (int pane : {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_PLAYLIST_EDIT, CMainFrame::PANE_LAYOUT_DISP})
        EXPECT_TRUE(frame->GetViewFrame(pane)->isVisible()) << pane;
    // Japanese text has glyphs in the font the window draws with.
    const QFontMetrics metrics(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->font());
    for (QChar c : LoadString(6111))
        EXPECT_TRUE(metrics.inFont(c)) << int(c.unicode());
    // The current view's navigation button is drawn pushed.
    EXPECT_TRUE(frame->GetGuideBar()->GetButton(CMainFrame::VIEW_PLAYLIST)->IsPushed());
    EXPECT_FALSE(frame->GetGuideBar()->GetButton(CMainFrame::VIEW_CONTENTS)->IsPushed());
    // Every pane of the view lies inside the client area: nothing to scroll.
    const QRect client = frame->GetMdiClient()->viewport()->rect();
    for (int pane : {CMainFrame::PANE_CONTENTS, CMainFrame::PANE_PLAYLIST_EDIT, CMainFrame::PANE_LAYOUT_DISP})
        EXPECT_TRUE(client.contains(frame->GetViewFrame(pane)->geometry())) << pane;
}
