// Printing through the frame: the refusals when no list or schedule is shown,
// and the end of a print whose spreadsheet macro is not beside the program.
#include "app/app_message.h"
#include "app/frame_worker.h"
#include "app/main_frame.h"
#include "core/data_folders.h"
#include "fake_shell_opener.h"
#include "ops/print_files.h"
#include "shell_fixture.h"
#include "ui/timetable/playlist_edit_dlg_view.h"

#include <QPushButton>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

TEST_F(ShellTest, PrintingNeedsAShownListAndTellsWhenTheSpreadsheetProgramIsMissing)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    m_prompter.expect(5399, IDOK);
    EXPECT_FALSE(frame->PrintPlaylist(52, false));
    m_prompter.expect(5398, IDOK);
    EXPECT_FALSE(frame->PrintSchedule(false, false));
    // The background-music check pane's print button asks the same, naming
    // its own kind of list.
    auto *pane = dynamic_cast<CPlaylistEditDlgView *>(frame->GetViewPane(CMainFrame::PANE_BGM_CHECK));
    ASSERT_NE(pane, nullptr);
    m_prompter.expect(5440, IDOK);
    pane->GetPrintButton()->click();
    EXPECT_EQ(m_prompter.last().text, QStringLiteral("BGMリストが表示されていないため、印刷できません。"));

    // The test program has no print macro beside it.
    m_prompter.expect(5400, IDOK);
    ASSERT_TRUE(frame->PrintCalendar(2026, 2));
    EXPECT_FALSE(frame->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->PrintWorker(); }, 20000));
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_TRUE(QFileInfo::exists(QDir(DataFolderOf(baseFolder())).filePath(QStringLiteral("PrintTemp/CALENDAR.TSV"))));

    // Pages written to a PDF that no program shows: the message says where it is.
    const QString macro = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("PrintMacroJ.py"));
    const std::unique_ptr<const QString, void (*)(const QString *)> removeMacro(
        &macro, [](const QString *path) { QFile::remove(*path); });
    QFile script(macro);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("import os, sys\nopen(os.path.join(sys.argv[1], 'Print.pdf'), 'w').close()\nsys.exit(3)\n");
    script.close();
    FakeOpener opener;
    m_prompter.expect(5431, IDOK);
    ASSERT_TRUE(frame->PrintCalendar(2026, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->PrintWorker(); }, 20000));
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_TRUE(m_prompter.last().text.contains(opener.opened.first()));

    // A print file that cannot be written says so, not that the spreadsheet
    // program failed.
    m_prompter.expect(5432, IDOK);
    ASSERT_TRUE(PostAppMessage(frame, APPMSG_PRINT_END, PRINT_END_WRITE_FAILED, 112));
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("PrintTemp")));
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}
