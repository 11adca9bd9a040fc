#pragma once
// A transfer worker running whole jobs against one emulated player: the
// player record (number 7, "Lobby"), the status document, the notices, and a
// probe that opens the worker's command steps and client to the tests.

#include "worker_test_support.h"
#include "model/harl_player_xml.h"
#include "support/emulated_player.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_transfer.h"
#include "transfer/transfer_status_xml.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

class WorkerProbe : public CDlkTransfer {
public:
    WorkerProbe(CSystemIni *settings = nullptr, CSettingIni *options = nullptr)
        : CDlkTransfer(settings, options)
    {
    }
    using CDlkTransfer::checkDlkVersion;
    using CDlkTransfer::httpClient;
    using CDlkTransfer::sendGetCalendarList;
    using CDlkTransfer::sendPlayCommand;
};

class JobTest : public ::testing::Test {
protected:
    static constexpr qint32 kPlayerNumber = 7;

    void SetUp() override;

    // A worker of player 7 with its folders, documents, notices and ping.
    std::unique_ptr<WorkerProbe> makeWorker(CSettingIni *options = nullptr);
    // Runs the requests added to m_requests as one job; FinishTransfer's result.
    bool runJob(WorkerProbe &worker);
    // Connects the probe's client to the player without a job (for the
    // command steps called directly).
    void connect(WorkerProbe &worker);

    QString playerFolder() const;
    QString playerFile(const QString &name) const;
    PlayerRecord record() const;
    void setRecord(const PlayerRecord &record);
    // How many notices of a kind the job sent.
    int noticeCount(quint16 kind) const;

    static std::pair<quint32, quint32> outcome(const IDlkTransferWorker &worker)
    {
        return {worker.GetState(), worker.GetDetail()};
    }
    static std::pair<quint32, quint32> pair(quint32 state, quint32 detail) { return {state, detail}; }

    QTemporaryDir m_dir;
    EmulatedPlayer m_player;
    CHarlPlayerXml m_players;
    CTransferStatusXml m_status;
    CDlkRequestList m_requests;
    PingScript m_ping;
    NoticeLog m_notices;
};
