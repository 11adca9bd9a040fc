#include "player_ops_fixture.h"

#include "app/main_frame.h"
#include "cab/dlkx_cab.h"
#include "core/clock.h"
#include "core/win_types.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/movie_property.h"
#include "model/player_record.h"
#include "transfer/dlk_ping.h"
#include "transfer/dlk_transfer.h"
#include "transfer/dlk_transfer_manager.h"
#include "ui/players/status_dlg_view.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

namespace {

constexpr int kWaitLimitMs = 60000;

class AnsweringPing final : public IDlkPing {
public:
    bool Open() override { return true; }
    bool Ping(const QString &, quint32) override { return true; }
    void Close() override {}
};

} // namespace

void PlayerOpsTest::SetUp()
{
    ShellTest::SetUp();
    GetTransferManager().SetWorkerFactory([](CSystemIni *settings, CSettingIni *options) {
        auto worker = std::make_unique<CDlkTransfer>(settings, options);
        worker->SetPingFactory([] { return std::make_unique<AnsweringPing>(); });
        return worker;
    });
}

void PlayerOpsTest::TearDown()
{
    if (m_frame && m_frame->IsBusy()) {
        m_frame->StopTransfer();
        waitIdle();
    }
    GetTransferManager().SetWorkerFactory([](CSystemIni *settings, CSettingIni *options) {
        return std::make_unique<CDlkTransfer>(settings, options);
    });
    ShellTest::TearDown();
    m_players.clear();
}

bool PlayerOpsTest::startWithPlayers(int count)
{
    // A failed player is not tried again after the retry interval: each
    // transfer ends after one pass.
    writeIni("Q9S.ini", QStringLiteral("ExOption"), QStringLiteral("R40RetryEnable"), QStringLiteral("0"));
    m_frame = startFrame();
    if (!m_frame)
        return false;
    if (!startPlayers(count))
        return false;
    CGroupRecord group;
    group.Number = GetAppData().GetGroupXml().GetCount() + 1;
    group.Name = QString::fromLatin1(kGroup);
    for (int i = 0; i < count; ++i) {
        PlayerRecord record;
        record.Number = number(i);
        record.Name = QStringLiteral("Shop%1").arg(i + 1);
        record.IPAddress = m_players[size_t(i)]->address();
        record.Port = m_players[size_t(i)]->port();
        record.Pass = QString::fromLatin1(EmulatedPlayer::kDefaultPassword);
        record.Group = group.Name;
        GetAppData().GetPlayerXml().AddPlayer(record);
        group.Players.append(record.Number);
    }
    GetAppData().GetGroupXml().AddGroup(group);
    return m_frame->SelectGroup(group.Name, 0);
}

bool PlayerOpsTest::startPlayers(int count)
{
    for (int i = 0; i < count; ++i) {
        m_players.push_back(std::make_unique<EmulatedPlayer>(QStringLiteral("127.0.0.%1").arg(i + 2)));
        if (!m_players.back()->start())
            return false;
    }
    return true;
}

bool PlayerOpsTest::addMovie(qint32 index, const QByteArray &data, const DateValue &deleteDate)
{
    CContentsStore &store = GetContentFolders();
    const QString name = QStringLiteral("clip%1.mpg").arg(index);
    QFile file(store.GetContentFolder(1) + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return false;
    file.close();
    CMovieProperty record;
    record.SetIndex(index);
    record.SetTitle(QStringLiteral("動画 %1").arg(index));
    record.SetLink(name);
    record.SetSize(quint64(data.size()));
    record.SetDeleteDate(deleteDate);
    // As registered: the record knows the file's time, so it is not probed again.
    record.SetFileDate(ToSystemTime(QFileInfo(file).lastModified().toLocalTime()));
    return store.GetList(1)->Add(&record);
}

bool PlayerOpsTest::writeUpdateCabinet(const QString &path)
{
    QTemporaryDir source;
    QFile image(QDir(source.path()).filePath(QStringLiteral("image.bin")));
    if (!image.open(QIODevice::WriteOnly) || image.write(QByteArray(4096, 'u')) != 4096)
        return false;
    image.close();
    QDir().mkpath(QFileInfo(path).path());
    return DLKxCompressCab({source.path(), {QStringLiteral("image.bin")}, 1, path}) == 0;
}

bool PlayerOpsTest::waitIdle()
{
    const QDeadlineTimer deadline(kWaitLimitMs);
    while (m_frame->IsBusy() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    QCoreApplication::processEvents();
    return !m_frame->IsBusy();
}

QTableWidget *PlayerOpsTest::statusList() const
{
    QWidget *pane = m_frame->GetViewPane(CMainFrame::PANE_STATUS);
    return pane ? pane->findChild<QTableWidget *>(QString::fromLatin1(CStatusDlgView::kPlayerListName)) : nullptr;
}

QString PlayerOpsTest::statusCell(int row, int column) const
{
    QTableWidget *list = statusList();
    const QTableWidgetItem *item = list ? list->item(row, column) : nullptr;
    return item ? item->text() : QString();
}
