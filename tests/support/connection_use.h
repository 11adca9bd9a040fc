#pragma once
// How a client used its connections to an emulated player, checked from the
// player's request log (docs/player-protocol.md, Transport): a command that
// acts goes out once, on a new connection of its own that serves nothing
// else, beside at most the kept-alive one; every other request goes out on
// the one kept-alive connection, and when lost there (logged without an HTTP
// status on a connection that served before) once more at once, on a new
// connection.

#include "player/r40_request.h"
#include "support/emulated_player.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QSet>

inline void ExpectConnectionsAsDocumented(const QList<EmulatedPlayer::Request> &seen)
{
    QHash<qint64, int> uses;
    for (const EmulatedPlayer::Request &request : seen)
        ++uses[request.connection];
    QSet<qint64> earlier;
    for (qsizetype i = 0; i < seen.size(); ++i) {
        const EmulatedPlayer::Request &request = seen[i];
        SCOPED_TRACE(testing::Message() << "request " << i << " " << request.path.toStdString() << " "
                                        << request.command().toStdString());
        const bool acts = request.path == QLatin1String("/command.php") && !CR40Request(request.command()).IsSafeToRepeat();
        if (acts) {
            EXPECT_EQ(uses.value(request.connection), 1) << "a command that acts has a connection of its own";
            EXPECT_LE(request.openConnections, 2);
        } else {
            EXPECT_EQ(request.openConnections, 1) << "one kept-alive connection";
        }
        const bool lost = request.httpStatus == 0 && earlier.contains(request.connection);
        earlier.insert(request.connection);
        if (!lost)
            continue;
        ASSERT_LT(i + 1, seen.size()) << "a lost request is sent again";
        const EmulatedPlayer::Request &again = seen[i + 1];
        EXPECT_EQ(again.path, request.path);
        EXPECT_EQ(again.parameters, request.parameters);
        EXPECT_FALSE(earlier.contains(again.connection)) << "sent again on a new connection";
        EXPECT_NE(again.httpStatus, 0) << "sent again once";
    }
}
