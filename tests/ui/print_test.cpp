// Printing through the frame: the refusals when no list or schedule is shown,
// and the end of a print whose spreadsheet macro is not beside the program.
#include "app/frame_worker.h"
#include "app/main_frame.h"
#include "core/data_folders.h"
#include "shell_fixture.h"
#include "ui/timetable/playlist_edit_dlg_view.h"

#include <QPushButton>

#include <QDir>
#include <QFileInfo>
#include <QTest>

TEST_F(ShellTest, PrintingNeedsAShownListAndTellsWhenTheSpreadsheetProgramIsMissing)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    m_prompter.expect(5399, IDOK);
    EXPECT_FALSE(frame->PrintPlaylist(52, false));
    m_prompter.expect(5398, IDOK);
    EXPECT_FALSE(frame->PrintSchedule(false, false));
    // The check pane's print button asks the same.
    auto *pane = dynamic_cast<CPlaylistEditDlgView *>(frame->GetViewPane(CMainFrame::PANE_BGM_CHECK));
    ASSERT_NE(pane, nullptr);
    m_prompter.expect(5399, IDOK);
    pane->GetPrintButton()->click();

    // The test program has no print macro beside it.
    m_prompter.expect(5400, IDOK);
    ASSERT_TRUE(frame->PrintCalendar(2026, 2));
    EXPECT_FALSE(frame->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->PrintWorker(); }, 20000));
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_TRUE(QFileInfo::exists(QDir(DataFolderOf(baseFolder())).filePath(QStringLiteral("PrintTemp/CALENDAR.TSV"))));
}
