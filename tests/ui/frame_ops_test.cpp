// The frame's entry points of the small operations: the version item of the
// Help menu opens the about box; copied playlists and schedules reach the
// clipboard in their formats.
#include "app/main_frame.h"
#include "app/version_dlg.h"
#include "ops/clipboard_formats.h"
#include "shell_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class FrameOps : public ShellTest {};

QAction *menuAction(CMainFrame *frame, int command, QMenu *&menu)
{
    for (QAction *top : frame->menuBar()->actions()) {
        if (!top->menu())
            continue;
        for (QAction *action : top->menu()->actions()) {
            if (action->objectName() == QString::number(command)) {
                menu = top->menu();
                return action;
            }
        }
    }
    return nullptr;
}

} // namespace

TEST_F(FrameOps, TheVersionItemOpensTheAboutBox)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    QMenu *help = nullptr;
    QAction *about = menuAction(frame, CMainFrame::ID_APP_ABOUT, help);
    ASSERT_NE(about, nullptr);
    emit help->aboutToShow();
    EXPECT_TRUE(about->isEnabled());

    QString version;
    QTimer::singleShot(0, frame, [&version] {
        if (auto *dialog = qobject_cast<CVersionDlg *>(QApplication::activeModalWidget())) {
            version = dialog->findChild<QLabel *>(QStringLiteral("1312"))->text();
            dialog->reject();
        }
    });
    about->trigger();
    EXPECT_EQ(version, QStringLiteral("1.23"));
}

TEST_F(FrameOps, CopiedListsAndSchedulesReachTheClipboard)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetContentsDataFormat(), QStringLiteral("application/x-TelvContentsData"));
    frame->CopyPlaylist(53, {2, 0});
    QList<quint32> indexes;
    EXPECT_TRUE(ReadPlaylistCopyBlock(GetClipboardBlock(CLIPBOARD_BGM_LIST_COPY), 3, indexes));
    EXPECT_EQ(indexes, (QList<quint32>{2, 0}));

    // The schedule editor shows no group: the clipboard keeps the lists.
    frame->CopySchedule({1});
    EXPECT_FALSE(GetClipboardBlock(CLIPBOARD_BGM_LIST_COPY).isEmpty());
    addGroup(QStringLiteral("Hall"));
    ASSERT_TRUE(frame->SelectGroup(QStringLiteral("Hall"), 0));
    frame->CopySchedule({1});
    ScheduleCopyBlock copy;
    ASSERT_TRUE(ReadScheduleCopyBlock(GetClipboardBlock(CLIPBOARD_SCHEDULE_COPY), copy));
    EXPECT_EQ(copy.indexes, QList<quint32>{1});
}
