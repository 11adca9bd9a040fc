// The wait dialog: what each starter shows, what the cancel button stops,
// that only the owner closes it, and that a dialog used again carries nothing
// of the last job.
#include "widgets/process_dlg.h"

#include "player/r40_http.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct CountingJob : IFlaggedJob, IDisplayCheckJob {
    void SetStopFlag() override { ++flags; }
    void Stop() override { ++stops; }
    int flags = 0;
    int stops = 0;
};

} // namespace

TEST(ProcessDlg, StartersSetTextCancelAndBar)
{
    QWidget owner;
    CProcessDlg dialog;
    dialog.Create(&owner);
    CountingJob job;

    dialog.StartUdpJob(&job, 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("自動検出中"));
    EXPECT_TRUE(dialog.GetProgressBar()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.GetProgressBar()->maximum(), 10);
    EXPECT_TRUE(dialog.IsTimerRunning());

    CR40Http http;
    dialog.StartConnectCheck(&http, QStringLiteral("Lobby"), QStringLiteral("127.0.0.2"));
    EXPECT_EQ(dialog.GetTextLabel()->text(), QStringLiteral("Lobby (127.0.0.2)\nと接続チェック中です。"));
    EXPECT_FALSE(dialog.GetCancelButton()->isEnabled());
    EXPECT_FALSE(dialog.GetProgressBar()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.IsTimerRunning());

    dialog.StartListUpdate(nullptr); // a null job changes nothing
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("接続チェック中"));

    CDlkTransferManager *none = nullptr;
    dialog.StartDelivery(none);
    dialog.StartBusy();
    EXPECT_FALSE(dialog.GetCancelButton()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.GetProgressBar()->maximum(), 50);
    EXPECT_TRUE(dialog.IsTimerRunning());
    dialog.Destroy();
    EXPECT_FALSE(dialog.IsTimerRunning());

    // The next job starts clean: mode 1 leaves the cancel button as the
    // dialog's own, not hidden as the busy job left it.
    dialog.StartUdpJob(&job, 1);
    EXPECT_EQ(dialog.GetTextLabel()->text(), QStringLiteral("ネットワーク設定の変更をしています。"));
    EXPECT_TRUE(dialog.GetCancelButton()->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.GetCancelButton()->isEnabled());
    EXPECT_FALSE(dialog.GetProgressBar()->isVisibleTo(&dialog));
    dialog.SetListCount(3);
    EXPECT_EQ(dialog.GetTextLabel()->text(), QStringLiteral("情報更新中(3)"));
}

TEST(ProcessDlg, CancelStopsTheOneJobOnlyWhenEnabled)
{
    QWidget owner;
    CProcessDlg dialog;
    dialog.Create(&owner);
    CountingJob job;

    dialog.StartDisplayCheck(&job, QStringLiteral("P"), QStringLiteral("127.0.0.3"));
    QTest::mouseClick(dialog.GetCancelButton(), Qt::LeftButton);
    dialog.OnCancel();
    EXPECT_EQ(job.stops, 0); // disabled until the owner enables it
    dialog.EnableCancel();
    dialog.OnCancel();
    dialog.OnCancel();
    EXPECT_EQ(job.stops, 2);
    EXPECT_EQ(job.flags, 0);

    dialog.StartUdpJob(&job, 0);
    dialog.OnCancel();
    EXPECT_EQ(job.flags, 1);
    EXPECT_EQ(job.stops, 2); // the display check is no longer referenced

    // An aborted client refuses its next call with the stopped code.
    CR40Http http;
    ASSERT_TRUE(http.Init());
    ASSERT_TRUE(http.Connect(QStringLiteral("127.0.0.1"), QString(), QString()));
    dialog.StartSend(&http, QStringLiteral("P"), QStringLiteral("127.0.0.1"));
    dialog.OnCancel();
    EXPECT_FALSE(http.MakeDirectory(QStringLiteral("/import/x")));
    EXPECT_EQ(http.GetLastError(), quint32(R40_ERROR_STOPPED));
    EXPECT_EQ(job.flags, 1);
}

TEST(ProcessDlg, OnlyTheOwnerClosesIt)
{
    QWidget owner;
    owner.show();
    CProcessDlg dialog;
    dialog.Create(&owner);
    CountingJob job;
    dialog.StartUdpJob(&job, 1);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(job.flags, 0); // Enter did not press cancel
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    dialog.CloseProgress();
    EXPECT_FALSE(dialog.isVisible());
}
