// Closing while a transfer runs: the exit stops the transfer manager, waits
// for its workers and its thread, and joins them before the frame goes.
#include "app/main_frame.h"
#include "app/telv_q9_app.h"
#include "core/message_box.h"
#include "model/app_data.h"
#include "shell_fixture.h"
#include "transfer/dlk_transfer.h"
#include "transfer/dlk_transfer_manager.h"

#include <QTest>

#include <atomic>
#include <thread>

namespace {

// A worker that keeps sending until it is stopped.
class EndlessWorker final : public IDlkTransferWorker {
public:
    explicit EndlessWorker(std::atomic<int> &running) : m_running(running) {}
    ~EndlessWorker() override { FinishTransfer(); }

    bool EnableCallback(bool, DlkTransferNotify, void *) override { return true; }
    void SetMultiSend(bool, quint32) override {}
    bool SetDlkName(const QString &) override { return true; }
    bool SetPcFolder(const QString &, const QString &) override { return true; }
    void SetContentFolder(int, const QString &) override {}
    void SetPowerOn(bool) override {}
    void SetStatusDocument(CTransferStatusXml *, qint32) override {}
    void SetPlayerTable(CHarlPlayerXml *, const QString &) override {}
    void SetDisplayLinkValues(CQ9DisplayXml *, std::mutex *) override {}
    void SetAppendSend(bool) override {}

    bool StartTransfer(const QString &, const QString &, const QString &, quint16, quint32, CDlkRequestList *,
                       int) override
    {
        m_active = true;
        ++m_running;
        m_thread = std::thread([this] {
            while (!m_stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            m_active = false;
            --m_running;
        });
        return true;
    }
    void Stop() override { m_stop = true; }
    bool FinishTransfer() override
    {
        if (m_thread.joinable())
            m_thread.join();
        return !m_stop;
    }
    bool IsRunning() const override { return m_active; }
    quint32 GetState() const override { return m_stop ? DLK_STATE_STOPPED : DLK_STATE_NONE; }
    quint32 GetDetail() const override { return 0; }
    qint32 GetErrorIndex() const override { return -1; }

private:
    std::atomic<int> &m_running;
    std::atomic<bool> m_active{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

class ExitWait : public ShellTest {
protected:
    void TearDown() override
    {
        GetTransferManager().SetWorkerFactory([](CSystemIni *settings, CSettingIni *options) {
            return std::unique_ptr<IDlkTransferWorker>(std::make_unique<CDlkTransfer>(settings, options));
        });
        ShellTest::TearDown();
    }

    // The main frame with one player and a transfer to it on a worker that
    // sends until it is stopped, once the worker runs.
    void startEndlessTransfer()
    {
        frame = startFrame();
        ASSERT_NE(frame, nullptr);
        PlayerRecord player;
        player.Number = 1;
        player.Name = QStringLiteral("店頭1");
        player.IPAddress = QStringLiteral("127.0.0.2");
        GetAppData().GetPlayerXml().AddPlayer(player);
        GetTransferManager().SetWorkerFactory([this](CSystemIni *, CSettingIni *) {
            return std::unique_ptr<IDlkTransferWorker>(std::make_unique<EndlessWorker>(running));
        });
        ASSERT_TRUE(GetTransferManager().StartTransfer({1}, &frame->GetRequestList()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return running.load() == 1; }, 30000));
    }

    CMainFrame *frame = nullptr;
    // How many endless workers are sending.
    std::atomic<int> running{0};
};

TEST_F(ExitWait, ClosingStopsTheRunningTransferAndJoinsIt)
{
    ASSERT_NO_FATAL_FAILURE(startEndlessTransfer());
    CDlkTransferManager &manager = GetTransferManager();

    m_prompter.expect(5013, IDNO);
    EXPECT_FALSE(frame->ExitApplication(false));
    EXPECT_EQ(running.load(), 1);

    m_prompter.expect(5013, IDYES);
    EXPECT_TRUE(frame->ExitApplication(false));
    EXPECT_EQ(running.load(), 0);
    EXPECT_FALSE(manager.IsRunning());
    // The end was handled while exiting, without a result shown: the
    // transfer ended as stopped.
    EXPECT_EQ(m_prompter.prompts().size(), 2);
    EXPECT_EQ(manager.GetResultState(), 9);
}

TEST_F(ExitWait, TheFrameGoesOnlyAfterTheTransferIsJoined)
{
    ASSERT_NO_FATAL_FAILURE(startEndlessTransfer());
    // Destroyed without the exit routine: the frame still ends the transfer
    // and joins it, so nothing posts to a frame that is gone.
    GetApp()->ExitInstance();
    EXPECT_EQ(GetMainFrame(), nullptr);
    EXPECT_EQ(running.load(), 0);
    EXPECT_FALSE(GetTransferManager().IsRunning());
}
