#include "core/last_error.h"
#include "core/path_utils.h"

#include <gtest/gtest.h>

TEST(PathUtils, NumberedPathsJoinTheFolderAndTheNineDigitNumber)
{
    QString path;
    EXPECT_EQ(JoinPath("/data/Thumb", "a.jpg"), "/data/Thumb/a.jpg");
    ASSERT_TRUE(MakeContentIdPath("/data/web", 400000012, path));
    EXPECT_EQ(path, "/data/web/400000012");
    ASSERT_TRUE(MakePlaylistXmlPath("/pl", 152000001, path));
    EXPECT_EQ(path, "/pl/PL152000001.xml");
    ASSERT_TRUE(MakeScheduleXmlPath("/sc", 151900001, path));
    EXPECT_EQ(path, "/sc/SC151900001.xml");
    ASSERT_TRUE(MakeSequenceXmlPath("/sq", 101000001, path));
    EXPECT_EQ(path, "/sq/SQ101000001.xml");
    ASSERT_TRUE(MakeTelopFilePath("/text", 3, TELOP_FILE_TEXT, path));
    EXPECT_EQ(path, "/text/000000003.txt");
    ASSERT_TRUE(MakeTelopFilePath("/text", 3, TELOP_FILE_BITMAP, path));
    EXPECT_EQ(path, "/text/000000003.bmp");
}

TEST(PathUtils, NumberedPathsRefuseBadNumbersEmptyFoldersAndUnknownKinds)
{
    QString path = "unchanged";
    SetLastError(0);
    EXPECT_FALSE(MakePlaylistXmlPath("/pl", -1, path));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(MakeSequenceXmlPath("/sq", 1000000000, path));
    EXPECT_FALSE(MakeContentIdPath("", 1, path)); // would land in the root folder
    EXPECT_FALSE(MakeTelopFilePath("/text", 1, 2, path));
    EXPECT_EQ(path, "unchanged");
}

TEST(PathUtils, AbsolutePathsAndWebAddresses)
{
    for (const char *text : {"C:\\data\\a.htm", "c:a.htm", "\\\\server\\share\\a.htm", "/home/u/a.htm"})
        EXPECT_TRUE(IsAbsolutePath(text)) << text;
    for (const char *text : {"a.htm", "web/a.htm", "\\single", "1:\\x", ""})
        EXPECT_FALSE(IsAbsolutePath(text)) << text;
    for (const char *text : {"http://h/", "HTTPS://h/x", "Http://h"})
        EXPECT_TRUE(IsHttpUrl(text)) << text;
    for (const char *text : {"ftp://h/", "http:/h", "httpx://h", " http://h", ""})
        EXPECT_FALSE(IsHttpUrl(text)) << text;
}

TEST(PathUtils, FolderPathsAllowBothSeparatorsAndADrivePrefixOnly)
{
    for (const char *path : {"C:\\TelvData\\Playlist", "/home/u/TelvData/Playlist", "C:/mixed\\sep", "relative/dir", "日本語"})
        EXPECT_TRUE(IsValidFolderPath(path)) << path;
    for (const char *path : {"", "C:\\a:b", "/a/b:c", "1:\\x", "/a*", "/a?", "/a\"", "/a<", "/a>", "/a|b"})
        EXPECT_FALSE(IsValidFolderPath(path)) << path;
}

TEST(PathUtils, SplitPathSplitsPosixDriveAndShareForms)
{
    struct Case {
        const char *path, *drive, *folder, *title, *extension;
    };
    const Case cases[] = {
        {"/home/u/movie.final.MP4", "", "/home/u/", "movie.final", ".MP4"},
        {"C:\\dir\\sub\\still.jpg", "C:", "\\dir\\sub\\", "still", ".jpg"},
        {"\\\\srv\\share\\a.txt", "", "\\\\srv\\share\\", "a", ".txt"},
        {"C:name.ext", "C:", "", "name", ".ext"},
        {"/dir.with.dots/noext", "", "/dir.with.dots/", "noext", ""},
        {"/folder/", "", "/folder/", "", ""},
        {"plain", "", "", "plain", ""},
        {".hidden", "", "", "", ".hidden"},
    };
    for (const Case &c : cases) {
        QString drive, folder, title, extension;
        ASSERT_TRUE(SplitPath(c.path, &drive, &folder, &title, &extension)) << c.path;
        EXPECT_EQ(drive, c.drive) << c.path;
        EXPECT_EQ(folder, c.folder) << c.path;
        EXPECT_EQ(title, c.title) << c.path;
        EXPECT_EQ(extension, c.extension) << c.path;
        EXPECT_EQ(drive + folder + title + extension, c.path);
    }
    QString title;
    EXPECT_TRUE(SplitPath("/a/b.c", nullptr, nullptr, &title, nullptr));
    EXPECT_EQ(title, "b");
    SetLastError(0);
    EXPECT_FALSE(SplitPath("", nullptr, nullptr, &title, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(PathUtils, PortableNamesLookAtTheNameOnly)
{
    EXPECT_TRUE(IsPortableFileName("/ホーム/web dir/index-1_a.html"));
    EXPECT_TRUE(IsPortableFileName("C:\\フォルダ\\A.htm"));
    for (const char *name : {"/web/in dex.html", "/web/インデックス.html", "/web/a+b.htm", "/web/", ""})
        EXPECT_FALSE(IsPortableFileName(QString::fromUtf8(name))) << name;
}

TEST(PathUtils, ContentTypeComesFromTheExtensionInAnyCase)
{
    const std::pair<const char *, int> cases[] = {
        {"/m/a.mpg", 1}, {"/m/a.M2P", 1}, {"/m/a.mp4", 1}, {"/m/a.m4e", 1}, {"/m/a.sdp", 1}, {"/m/a.WMV", 1},
        {"/m/a.bmp", 2}, {"/m/a.JPG", 2}, {"/m/a.swf", 5}, {"/m/a.wav", 6}, {"/m/a.Mp3", 6}, {"/m/a.wma", 6},
        {"/m/index.htm", 4}, {"/m/index.HTML", 4}, {"/m/my page.html", 100}, {"/m/アニメ.dscc", 101},
        {"/m/a.jpeg", 0}, {"/m/a.mp4.txt", 0}, {"/m.mp4/noext", 0}, {"", 0},
    };
    for (const auto &[path, type] : cases)
        EXPECT_EQ(GetContentTypeFromFileName(QString::fromUtf8(path)), type) << path;
}
