#include "ops/frame_helpers.h"

#include "model/contents_store.h"
#include "transfer/dlk_request_send.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FrameHelpers, ArchiveMembersAndRequestFolders)
{
    QStringList names{QStringLiteral("first")};
    CollectSettingsFiles(names);
    CollectTempLogFiles(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("first"), QStringLiteral("TelvData\\Q9Data\\*.ini"),
                                  QStringLiteral("TelvData\\Q9Data\\*.xml"), QStringLiteral("TelvData\\Q9Data\\ContentData"),
                                  QStringLiteral("TelvData\\Q9Data\\Group"), QStringLiteral("TelvData\\Q9Data\\Log"),
                                  QStringLiteral("TelvData\\Q9Data\\Setup"), QStringLiteral("TelvData\\Q9Data\\Template"),
                                  QStringLiteral("TelvData\\Q9Data\\KDP-R40"), QStringLiteral("TelvData\\Q9Data\\LogTemp")}));

    QTemporaryDir dir;
    CContentsStore store;
    store.SetFolders(dir.path(), dir.path());
    ASSERT_TRUE(store.SetCurrentGroup(QStringLiteral("Lobby")));
    CDlkRequestSend request;
    ASSERT_TRUE(SetGroupFolders(request, store, dir.path()));
    EXPECT_EQ(request.GetTextFolder(), dir.path() + QStringLiteral("/TelvData/Q9Data/Text"));
    EXPECT_EQ(request.GetPlaylistFolder(), store.m_playlistFolder);
    EXPECT_TRUE(request.GetGroupScheduleFolder().contains(QStringLiteral("Lobby")));
    EXPECT_TRUE(request.GetGroupSequenceFolder().startsWith(request.GetGroupScheduleFolder()));
}
