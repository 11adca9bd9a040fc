#include "ops/clipboard_formats.h"

#include "model/q9_group_xml.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray words(std::initializer_list<quint32> values)
{
    QByteArray block;
    for (quint32 value : values) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        block.append(bytes, 4);
    }
    return block;
}

} // namespace

TEST(ClipboardFormats, NamesAndOrderOfRegistration)
{
    EXPECT_STREQ(ClipboardFormatName(CLIPBOARD_BGM_LIST_COPY), "TelvBgmListCoppyData");
    EXPECT_STREQ(ClipboardFormatName(CLIPBOARD_SCHEDULE_EVENT), "TelvScheduleEventData");
    EXPECT_EQ(ClipboardMimeType(CLIPBOARD_PLAYLIST_COPY), QStringLiteral("application/x-TelvPlaylistCoppyData"));
    EXPECT_EQ(PlaylistCopyFormat(52), CLIPBOARD_PLAYLIST_COPY);
    EXPECT_EQ(PlaylistCopyFormat(53), CLIPBOARD_BGM_LIST_COPY);
}

TEST(ClipboardFormats, PlaylistBlockIsLittleEndianAndRefusesShortOrOutOfRangeBlocks)
{
    const QByteArray block = MakePlaylistCopyBlock({3, 0, 0x01020304});
    EXPECT_EQ(block, words({3, 3, 0, 0x01020304}));

    QList<quint32> indexes;
    ASSERT_TRUE(ReadPlaylistCopyBlock(block, 0x01020305, indexes));
    EXPECT_EQ(indexes, (QList<quint32>{3, 0, 0x01020304}));
    // An index at or past the list's end.
    EXPECT_FALSE(ReadPlaylistCopyBlock(block, 4, indexes));
    EXPECT_TRUE(indexes.isEmpty());
    // One word short of the count, no count at all, a count that would wrap.
    EXPECT_FALSE(ReadPlaylistCopyBlock(block.left(block.size() - 1), 0x7fffffff, indexes));
    EXPECT_FALSE(ReadPlaylistCopyBlock(QByteArray(3, '\0'), 10, indexes));
    EXPECT_FALSE(ReadPlaylistCopyBlock(words({0xffffffff, 1}), 10, indexes));
    // An empty selection is a block with count 0; extra bytes after it are allowed.
    EXPECT_EQ(MakePlaylistCopyBlock({}), words({0}));
    EXPECT_TRUE(ReadPlaylistCopyBlock(words({0}) + QByteArray(12, '\0'), 0, indexes));
    EXPECT_TRUE(indexes.isEmpty());
}

TEST(ClipboardFormats, ScheduleBlockRoundTripsAndRefusesShortBlocks)
{
    ScheduleCopyBlock copy{7, 3, 1, {2, 5}};
    const QByteArray block = MakeScheduleCopyBlock(copy);
    EXPECT_EQ(block, words({7, 3, 1, 2, 2, 5}));
    ScheduleCopyBlock read;
    ASSERT_TRUE(ReadScheduleCopyBlock(block, read));
    EXPECT_EQ(read, copy);
    EXPECT_TRUE(AreIndexesBelow(read.indexes, 6));
    EXPECT_FALSE(AreIndexesBelow(read.indexes, 5));
    EXPECT_FALSE(ReadScheduleCopyBlock(block.left(20), read));
    EXPECT_FALSE(ReadScheduleCopyBlock(words({7, 3, 1}), read));
    EXPECT_FALSE(ReadScheduleCopyBlock(words({7, 3, 1, 0x40000000}), read));
    EXPECT_EQ(read, ScheduleCopyBlock());
}

// The offscreen platform keeps the clipboard inside the process, so the
// round trip through the system clipboard is checked within one process.
TEST(ClipboardFormats, BlocksRoundTripThroughTheClipboard)
{
    ASSERT_TRUE(PutClipboardBlock(CLIPBOARD_PLAYLIST_COPY, MakePlaylistCopyBlock({1, 4})));
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("application/x-TelvPlaylistCoppyData")));
    QList<quint32> indexes;
    EXPECT_TRUE(ReadPlaylistCopyBlock(GetClipboardBlock(CLIPBOARD_PLAYLIST_COPY), 5, indexes));
    EXPECT_EQ(indexes, (QList<quint32>{1, 4}));
    EXPECT_TRUE(GetClipboardBlock(CLIPBOARD_BGM_LIST_COPY).isEmpty());
}

TEST(ClipboardFormats, ScheduleCopyNeedsTheShownGroup)
{
    CQ9GroupXml groups;
    CGroupRecord group;
    group.Number = 12;
    group.Name = QStringLiteral("Lobby");
    group.ResolutionId = 4;
    group.Orientation = 1;
    groups.AddGroup(group);

    ASSERT_TRUE(PutClipboardBlock(CLIPBOARD_PLAYLIST_COPY, MakePlaylistCopyBlock({9})));
    EXPECT_FALSE(CopyScheduleSelection(groups, QStringLiteral("Gone"), {0}));
    EXPECT_FALSE(GetClipboardBlock(CLIPBOARD_PLAYLIST_COPY).isEmpty()); // left as it was

    ASSERT_TRUE(CopyScheduleSelection(groups, QStringLiteral("LOBBY"), {0, 3}));
    ScheduleCopyBlock read;
    ASSERT_TRUE(ReadScheduleCopyBlock(GetClipboardBlock(CLIPBOARD_SCHEDULE_COPY), read));
    EXPECT_EQ(read, (ScheduleCopyBlock{12, 4, 1, {0, 3}}));
    EXPECT_TRUE(GetClipboardBlock(CLIPBOARD_PLAYLIST_COPY).isEmpty());
}
