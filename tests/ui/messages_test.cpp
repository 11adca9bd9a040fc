// The frame's application messages: the progress of its operations, the end
// of printing with the worker joined, the transfer progress by mode, and the
// end of the transfer manager.
#include "app/app_message.h"
#include "app/frame_worker.h"
#include "app/main_frame.h"
#include "widgets/progress_view.h"
#include "core/message_box.h"
#include "core/owner_thread.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "shell_fixture.h"
#include "transfer/dlk_transfer_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>
#include <QThread>

#include <atomic>

namespace {

class FakeProgress final : public IProgressView {
public:
    void SetProgressText(const QString &text) override { texts.append(text); }
    void SetProgressCount(int done) override { counts.append(done); }
    void RefreshByteCount() override { ++byteRefreshes; }
    void CloseProgress() override { ++closes; }

    QStringList texts;
    QList<int> counts;
    int byteRefreshes = 0;
    int closes = 0;
};

class FakeExImport final : public IExImportView {
public:
    void EndExport(quint32 result) override { ends.append(QStringLiteral("export %1").arg(result)); }
    void EndImport(quint32 result) override { ends.append(QStringLiteral("import %1").arg(result)); }
    void OnExImportProgress(int number, quint32 wParam, quint32) override
    {
        ends.append(QStringLiteral("progress %1 %2").arg(number).arg(wParam));
    }
    QStringList ends;
};

} // namespace

class FrameMessages : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startFrame();
        ASSERT_NE(frame, nullptr);
    }

    // Posts a message to the frame and lets it be handled.
    void post(int number, quint32 wParam, quint32 lParam = 0)
    {
        ASSERT_TRUE(PostAppMessage(frame, number, wParam, lParam));
        QCoreApplication::sendPostedEvents(frame, CAppMessageEvent::EventType());
    }

    QString logText() const
    {
        QString text;
        QDirIterator it(GetSystemIni().Settings().LogFolder, {QStringLiteral("Q9_*.log")}, QDir::Files);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromLocal8Bit(file.readAll());
        }
        return text;
    }

    CMainFrame *frame = nullptr;
};

TEST_F(FrameMessages, RegistrationProgressNamesTheFileAtTheIndexOrTheSingleFile)
{
    FakeProgress progress;
    frame->SetRegistProgress(&progress);
    frame->SetRegistPaths({QStringLiteral("/media/in/春.mp4"), QStringLiteral("/media/in/two.jpg")},
                          QStringLiteral("/media/single.png"));
    post(APPMSG_REGIST_COPY, 1);
    post(APPMSG_REGIST_COPY, 5);
    post(APPMSG_REGIST_THUMB, 0);
    post(APPMSG_REGIST_STEP, 2);
    frame->SetRegistProgress(nullptr);
    EXPECT_EQ(progress.texts, QStringList({FormatString(5634, QStringLiteral("two.jpg")),
                                           FormatString(5634, QStringLiteral("single.png")),
                                           FormatString(5637, QStringLiteral("春.mp4"))}));
    EXPECT_EQ(progress.byteRefreshes, 2);
    EXPECT_EQ(progress.counts, QList<int>{3});
}

TEST_F(FrameMessages, DeleteProgressCountsFromOne)
{
    FakeProgress progress;
    frame->SetDeleteProgress(&progress);
    post(APPMSG_DELETE_STEP, 0);
    post(APPMSG_DELETE_STEP, 9);
    frame->SetDeleteProgress(nullptr);
    EXPECT_EQ(progress.counts, QList<int>({1, 10}));
}

TEST_F(FrameMessages, TransferProgressIsShownOnlyInTheDeleteAndInformationModes)
{
    FakeProgress deleting;
    FakeProgress process;
    frame->SetDeleteProgress(&deleting);
    frame->SetProcessDialog(&process);
    frame->SetTransferMode(3);
    post(APPMSG_TRANSFER_PROGRESS, 0);
    EXPECT_TRUE(deleting.counts.isEmpty());
    EXPECT_TRUE(process.texts.isEmpty());
    frame->SetTransferMode(6);
    post(APPMSG_TRANSFER_PROGRESS, 0);
    EXPECT_EQ(deleting.counts, QList<int>{0});
    frame->SetTransferMode(7);
    post(APPMSG_TRANSFER_PROGRESS, 0);
    EXPECT_EQ(process.texts, QStringList{FormatString(5638, 0)});
    frame->SetDeleteProgress(nullptr);
    frame->SetProcessDialog(nullptr);
}

TEST_F(FrameMessages, PrintEndJoinsTheWorkerEnablesTheFrameAndShowsTheOutcome)
{
    FakeProgress process;
    frame->SetProcessDialog(&process);
    for (quint32 result : {0u, 1u, 7u}) {
        std::atomic<bool> ran{false};
        ASSERT_TRUE(frame->StartWorker(
            frame->PrintWorker(),
            [this, &ran, result] {
                ran = true;
                PostAppMessage(frame, APPMSG_PRINT_END, result, 0);
            },
            true));
        EXPECT_FALSE(frame->isEnabled());
        if (result == 1)
            m_prompter.expect(5400, IDOK);
        else if (result == 7)
            m_prompter.expect(5404, IDOK);
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame->isEnabled(); }, 30000)) << result;
        EXPECT_TRUE(ran);
        EXPECT_EQ(frame->PrintWorker(), nullptr);
    }
    frame->SetProcessDialog(nullptr);
    EXPECT_EQ(process.closes, 3);
    EXPECT_EQ(logText().count(QStringLiteral("Print end.")), 3);
}

// A worker that hands the window's thread a step as the frame joins it: the
// join runs the step, or the two would wait for each other for ever.
TEST_F(FrameMessages, ASecondWorkerInTheSameSlotIsRefusedAndTheJoinRunsWhatTheWorkerHandsOver)
{
    std::atomic<bool> release{false};
    QThread *stepThread = nullptr;
    ASSERT_TRUE(frame->StartWorker(frame->PrintWorker(), [&release, &stepThread] {
        while (!release)
            std::this_thread::yield();
        RunOnOwnerThread([&stepThread] { stepThread = QThread::currentThread(); });
    }, false));
    EXPECT_FALSE(frame->StartWorker(frame->PrintWorker(), [] {}, true));
    EXPECT_TRUE(frame->isEnabled());
    release = true;
    frame->EndWorker(frame->PrintWorker());
    EXPECT_EQ(frame->PrintWorker(), nullptr);
    EXPECT_EQ(stepThread, QThread::currentThread());
}

TEST_F(FrameMessages, LogArchiveEndClearsTheBusyModeAndTellsWhereTheArchiveIs)
{
    frame->SetBusyMode(3);
    frame->SetLogArchivePath(QStringLiteral("/home/op/Desktop/Q9_Log.cab"));
    m_prompter.expect(5271, IDOK);
    post(APPMSG_LOG_END, 1);
    EXPECT_EQ(frame->GetBusyMode(), 0);
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("/home/op/Desktop/Q9_Log.cab")));
    frame->SetBusyMode(3);
    m_prompter.expect(5272, IDOK);
    post(APPMSG_LOG_END, 0);
    EXPECT_EQ(frame->GetBusyMode(), 0);
}

TEST_F(FrameMessages, ExportAndImportEndsTellThePanesAndTheDialog)
{
    FakeExImport dialog;
    frame->SetExImportView(&dialog);
    post(103, 40);
    post(APPMSG_EXPORT_END, 1);
    post(APPMSG_IMPORT_END, 5);
    frame->SetExImportView(nullptr);
    EXPECT_EQ(dialog.ends, QStringList({QStringLiteral("progress 103 40"), QStringLiteral("export 1"),
                                        QStringLiteral("import 5")}));
}

TEST_F(FrameMessages, TheTransferManagersEndIsPostedAndJoined)
{
    CDlkTransferManager &manager = GetTransferManager();
    ASSERT_TRUE(manager.StartTransfer({}, &frame->GetRequestList()));
    EXPECT_TRUE(frame->IsBusy());
    // The manager's last notice arrives as WM_APP+21 and its handler joins it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.IsRunning(); }, 30000));
    EXPECT_FALSE(frame->IsBusy());
}
