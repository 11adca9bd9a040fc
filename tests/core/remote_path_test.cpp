#include "core/remote_path.h"

#include <gtest/gtest.h>

TEST(RemotePath, UploadFoldersByType)
{
    EXPECT_EQ(GetUploadPath(1), "/import/video");
    EXPECT_EQ(GetUploadPath(2), "/import/still");
    EXPECT_EQ(GetUploadPath(3), "/import/text");
    EXPECT_EQ(GetUploadPath(5), "/import/swf");
    EXPECT_EQ(GetUploadPath(6), "/import/aud");
    for (const int type : {0, 4, 7, 51, 52, 54})
        EXPECT_EQ(GetUploadPath(type), "/import/db") << type;
}

TEST(RemotePath, ContentFilesTakeLetterNumberAndLowerCaseExtension)
{
    EXPECT_EQ(MakeRemoteContentPath(1, 'A', 100000001, "/home/u/Clip.Final.MP4"), "/import/video/A100000001.mp4");
    EXPECT_EQ(MakeRemoteContentPath(3, 'B', 3, "/text/000000003.bmp"), "/import/text/B000000003.bmp");
    EXPECT_EQ(MakeRemoteContentPath(2, 'A', 0, "C:\\Pics\\S.JPG"), "/import/still/A000000000.jpg");
}

TEST(RemotePath, ListAndRegistrationFiles)
{
    EXPECT_EQ(MakeRemotePlaylistPath(152000001), "/import/db/PL152000001.xml");
    EXPECT_EQ(MakeRemoteSchedulePath(900001), "/import/db/SC000900001.xml");
    EXPECT_EQ(MakeRemoteSequencePath(101000001), "/import/db/SQ101000001.xml");
    EXPECT_EQ(MakeRemoteCalendarPath("Calendar3.xml"), "/import/db/Calendar3.xml");
    EXPECT_EQ(MakeRemotePropertyPath("property3.xml"), "/import/db/property3.xml");
    EXPECT_EQ(MakeRemoteGroupPath("group3.xml"), "/import/group3.xml");
}
