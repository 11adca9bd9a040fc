#pragma once
// The shell with players to talk to: emulated players on 127.0.0.2, .3, ...
// in the player list and in one group "Shop" that the frame shows, workers
// that take every player as answering the ping, and a movie in the library.

#include "shell_fixture.h"
#include "core/win_types.h"
#include "support/emulated_player.h"

#include <memory>
#include <vector>

class CMainFrame;
class QTableWidget;

class PlayerOpsTest : public ShellTest {
protected:
    static constexpr qint32 kMovie = 101000001;
    static constexpr const char *kGroup = "Shop";

    void SetUp() override;
    void TearDown() override;

    // Starts the frame with count players in the group; false on failure.
    bool startWithPlayers(int count);
    // Starts count emulated players (127.0.0.2, .3, ...) without registering them.
    bool startPlayers(int count);
    EmulatedPlayer &player(int i) { return *m_players[size_t(i)]; }
    qint32 number(int i) const { return 21 + i; }
    // A movie of the given bytes in the library, with its delete date.
    bool addMovie(qint32 number, const QByteArray &data, const DateValue &deleteDate);
    // A firmware update file: a cabinet of one member, written at path.
    static bool writeUpdateCabinet(const QString &path);
    // Processes events until the frame is no longer busy (bounded).
    bool waitIdle();
    // The status pane's player list.
    QTableWidget *statusList() const;
    QString statusCell(int row, int column) const;

    CMainFrame *m_frame = nullptr;

private:
    std::vector<std::unique_ptr<EmulatedPlayer>> m_players;
};
