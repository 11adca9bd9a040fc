// The operator's road from an empty data folder to a day's programme on the
// players, only by the window's widgets: the first set-up, two players in a
// group, a movie, a still, a telop and a sound registered by the contents
// pane's commands; then the files and table rows the emulated players hold,
// checked against docs/file-formats.md and docs/player-protocol.md.

#include "operator_road_fixture.h"
#include "ui/contents/telop_edit_ctrl.h"
#include "ui/contents/telop_edit_dlg.h"
#include "ui/contents/telop_view_dlg.h"
#include "ui/timetable/save_dlg_prompter.h"

#include "modal_dialogs.h"

#include <QApplication>
#include <QInputMethodEvent>

namespace {

constexpr int kNewCommand = 57600;

} // namespace

class ScheduleRoad : public OperatorRoad {
protected:
    QString makeSound()
    {
        const QString path = mediaPath(QStringLiteral("chime.wav"));
        QProcess tool;
        tool.start(QStringLiteral("ffmpeg"),
                   {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=2", path});
        EXPECT_TRUE(tool.waitForFinished(60000) && tool.exitCode() == 0) << tool.readAllStandardError().toStdString();
        return path;
    }

    // The telop tab's new command: the text typed in the telop editor
    // (through the input method, as Japanese comes), confirmed in its preview.
    void registerTelop(const QString &text)
    {
        showTab(3);
        onNextModal<CTelopEditDlg>([text](CTelopEditDlg *editor) {
            QInputMethodEvent typed;
            typed.setCommitString(text);
            QApplication::sendEvent(editor->GetEditCtrl(), &typed);
            editor->OnConfirm();
            if (CTelopViewDlg *preview = editor->GetPreview())
                preview->OnOK();
        });
        clickToolBarCommand(kNewCommand);
        ASSERT_EQ(GetContentFolders().GetList(3)->GetCount(), 1);
        EXPECT_EQ(GetContentFolders().GetList(3)->GetAt(0)->GetTitle(), text);
    }

    CSaveDlgPrompter m_saveDialogs; // the program's own save dialogs
};

TEST_F(ScheduleRoad, FromAnEmptyDataFolderToADaysProgrammeOnEveryPlayerOfTheGroup)
{
    ASSERT_TRUE(startPlayers(2));
    m_frame = startFrame();
    ASSERT_NE(m_frame, nullptr);
    m_frame->resize(1280, 800);
    m_frame->show();
    completeFirstSetUp(2);
    makeGroup(QString::fromLatin1(kGroup));
    registerFile(1, 4201, makeMovie());
    registerFile(2, 4201, makeStill());
    registerTelop(QStringLiteral("本日のお知らせ"));
    registerFile(6, 4201, makeSound());
    EXPECT_TRUE(m_prompter.prompts().isEmpty()) << m_prompter.last().text.toStdString();
}
