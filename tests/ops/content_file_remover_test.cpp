// Removal of a content's files by type: thumbnails and material, telop files,
// web packages; missing files, and stored names that try to leave their folder.
#include "ops/content_file_remover.h"
#include "core/content_id.h"
#include "model/img_property.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/telop_property.h"
#include "model/stored_list_files.h"
#include "model/web_property.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr qint32 kNumber = 101000007;
const QString kId = QStringLiteral("101000007");

class RemoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        root = m_dir.path() + QStringLiteral("/base");
        outside = m_dir.path() + QStringLiteral("/outside");
        for (const char *sub : {"TelvData/Content/Video", "TelvData/Content/Still", "TelvData/Content/Url",
                                "TelvData/Q9Data/Thumb/Video", "TelvData/Q9Data/Thumb/Still",
                                "TelvData/Q9Data/Thumb/URL", "TelvData/Q9Data/Text"})
            ASSERT_TRUE(QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub)));
        ASSERT_TRUE(QDir().mkpath(outside));
        ContentFileFolders folders;
        folders.dataRoot = root;
        folders.contentFolders = {{1, root + QStringLiteral("/TelvData/Content/Video")},
                                  {2, root + QStringLiteral("/TelvData/Content/Still")},
                                  {4, root + QStringLiteral("/TelvData/Content/Url")}};
        remover.SetFolders(folders);
    }

    QString path(const QString &relative) const { return root + QLatin1Char('/') + relative; }
    static void touch(const QString &file)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(file);
        f.write("x");
    }
    static bool exists(const QString &file) { return QFileInfo::exists(file) || QFileInfo(file).isSymLink(); }

    CMovieProperty movie(const QString &link) const
    {
        CMovieProperty record;
        record.SetIndex(kNumber);
        record.SetLink(link);
        return record;
    }

    QTemporaryDir m_dir;
    QString root;
    QString outside;
    CContentFileRemover remover{ContentFileFolders()};
};

} // namespace

TEST_F(RemoverTest, VideoLosesThumbnailsAndMaterial)
{
    touch(path("TelvData/Q9Data/Thumb/Video/" + kId + "t.jpg"));
    touch(path("TelvData/Q9Data/Thumb/Video/" + kId + ".jpg"));
    touch(path("TelvData/Content/Video/clip.mp4"));
    remover.DelContRealFileByType(1, movie(QStringLiteral("clip.mp4")));
    EXPECT_FALSE(exists(path("TelvData/Q9Data/Thumb/Video/" + kId + "t.jpg")));
    EXPECT_FALSE(exists(path("TelvData/Q9Data/Thumb/Video/" + kId + ".jpg")));
    EXPECT_FALSE(exists(path("TelvData/Content/Video/clip.mp4")));

    // Thumbnails already gone: the material still goes, and that is success.
    touch(path("TelvData/Content/Video/clip.mp4"));
    int state = 0;
    quint32 error = 0;
    EXPECT_TRUE(remover.DelContRealFileMedia(1, movie(QStringLiteral("clip.mp4")), state, error));
    EXPECT_FALSE(exists(path("TelvData/Content/Video/clip.mp4")));
    // Nothing left at all is success too, and so is a record without a file name.
    EXPECT_TRUE(remover.DelContRealFileMedia(1, movie(QStringLiteral("clip.mp4")), state, error));
    EXPECT_TRUE(remover.DelContRealFileMedia(1, movie(QString()), state, error));
    EXPECT_EQ(state, 0);
}

TEST_F(RemoverTest, HostileLinksRemoveNothingOutsideTheFolder)
{
    touch(outside + QStringLiteral("/victim.mp4"));
    int state = 0;
    quint32 error = 0;
    for (const QString &link : {QStringLiteral("../../../outside/victim.mp4"), outside + QStringLiteral("/victim.mp4"),
                                QStringLiteral("..\\..\\..\\outside\\victim.mp4")}) {
        state = 0;
        EXPECT_FALSE(remover.DelContRealFileMedia(1, movie(link), state, error)) << qPrintable(link);
        EXPECT_EQ(state, CContentFileRemover::kRemoveFailed);
        EXPECT_TRUE(exists(outside + QStringLiteral("/victim.mp4")));
    }

    // A folder inside the content folder that links outside.
    ASSERT_TRUE(QFile::link(outside, path("TelvData/Content/Video/escape")));
    EXPECT_FALSE(remover.DelContRealFileMedia(1, movie(QStringLiteral("escape/victim.mp4")), state, error));
    EXPECT_TRUE(exists(outside + QStringLiteral("/victim.mp4")));

    // A material file that is itself a link: the link goes, its target stays.
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/victim.mp4"), path("TelvData/Content/Video/linked.mp4")));
    EXPECT_TRUE(remover.DelContRealFileMedia(1, movie(QStringLiteral("linked.mp4")), state, error));
    EXPECT_FALSE(exists(path("TelvData/Content/Video/linked.mp4")));
    EXPECT_TRUE(exists(outside + QStringLiteral("/victim.mp4")));
}

TEST_F(RemoverTest, WebPagesLoseTheirPackageOnlyWhenLocal)
{
    const QString package = path("TelvData/Content/Url/" + kId);
    ASSERT_TRUE(QDir().mkpath(package + QStringLiteral("/img")));
    touch(package + QStringLiteral("/index.html"));
    touch(package + QStringLiteral("/img/a.png"));
    touch(path("TelvData/Q9Data/Thumb/URL/" + kId + "t.jpg"));
    touch(path("TelvData/Q9Data/Thumb/URL/" + kId + ".jpg"));

    CWebProperty web;
    web.SetIndex(kNumber);
    web.SetUrl(QStringLiteral("https://example.invalid/page"));
    remover.DelContRealFileByType(4, web);
    EXPECT_FALSE(exists(path("TelvData/Q9Data/Thumb/URL/" + kId + "t.jpg")));
    EXPECT_FALSE(exists(path("TelvData/Q9Data/Thumb/URL/" + kId + ".jpg")));
    EXPECT_TRUE(exists(package + QStringLiteral("/index.html"))) << "a web address has no package";

    web.SetUrl(QStringLiteral("index.html"));
    int state = 0;
    quint32 error = 0;
    EXPECT_TRUE(remover.DelContRealFileUrl(web, state, error));
    EXPECT_FALSE(exists(package));

    // A package folder that is a link is unlinked, never followed.
    touch(outside + QStringLiteral("/keep.html"));
    ASSERT_TRUE(QFile::link(outside, package));
    EXPECT_TRUE(remover.DelContRealFileUrl(web, state, error));
    EXPECT_FALSE(exists(package));
    EXPECT_TRUE(exists(outside + QStringLiteral("/keep.html")));

    // A thumbnail that cannot be removed stops the removal with state 2.
    ASSERT_TRUE(QDir().mkpath(path("TelvData/Q9Data/Thumb/URL/" + kId + "t.jpg/x")));
    state = 0;
    EXPECT_FALSE(remover.DelContRealFileUrl(web, state, error));
    EXPECT_EQ(state, CContentFileRemover::kRemoveFailed);
    EXPECT_NE(error, 0u);
}

TEST_F(RemoverTest, TelopLosesBitmapAndText)
{
    CTelopProperty telop;
    telop.SetIndex(301000002);
    touch(path("TelvData/Q9Data/Text/301000002.bmp"));
    touch(path("TelvData/Q9Data/Text/301000002.txt"));
    remover.DelContRealFileByType(3, telop);
    EXPECT_FALSE(exists(path("TelvData/Q9Data/Text/301000002.bmp")));
    EXPECT_FALSE(exists(path("TelvData/Q9Data/Text/301000002.txt")));
    // Types without files here change nothing.
    touch(path("TelvData/Content/Video/clip.mp4"));
    remover.DelContRealFileByType(6, movie(QStringLiteral("clip.mp4")));
    remover.DelContRealFileByType(7, movie(QStringLiteral("clip.mp4")));
    EXPECT_TRUE(exists(path("TelvData/Content/Video/clip.mp4")));
}


TEST_F(RemoverTest, ListsAndSchedulesLoseTheirSequenceFiles)
{
    ContentFileFolders folders = remover.GetFolders();
    folders.playlistFolder = path(QStringLiteral("Playlist"));
    folders.sequenceFolder = path(QStringLiteral("Sequence"));
    folders.scheduleFolder = path(QStringLiteral("Group/G/Schedule"));
    folders.scheduleSequenceFolder = path(QStringLiteral("Group/G/Schedule/Sequence"));
    for (const QString &folder : {folders.playlistFolder, folders.sequenceFolder, folders.scheduleSequenceFolder})
        ASSERT_TRUE(QDir().mkpath(folder));
    remover.SetFolders(folders);

    // The files of a list number, as its model writes them and the remover removes them.
    const auto layerNumbers = [](int type, qint32 number) {
        StoredListFiles files;
        EXPECT_TRUE(StoredListFilesOf(type, ContentIdPrefix(number), number, "L", "S", files));
        QList<qint32> numbers;
        for (const StoredListFiles::Layer &layer : files.layers)
            numbers.append(layer.number);
        return numbers;
    };
    EXPECT_EQ(layerNumbers(52, 520000012), (QList<qint32>{501000012, 502000012, 511000012, 503000012, 506000012,
                                                          505000012, 507000012, 509000012, 524000012, 523000012}));
    EXPECT_EQ(layerNumbers(53, 530000003), QList<qint32>{521000003});
    EXPECT_EQ(layerNumbers(51, 951900001), (QList<qint32>{912900001, 914900001, 920900001, 922900001}));
    EXPECT_TRUE(layerNumbers(52, 999000004).isEmpty()); // touch panel

    touch(path(QStringLiteral("Playlist/PL520000012.xml")));
    touch(path(QStringLiteral("Sequence/SQ501000012.xml")));
    touch(path(QStringLiteral("Sequence/SQ523000012.xml")));
    touch(path(QStringLiteral("Sequence/SQ501000013.xml"))); // another playlist's
    touch(path(QStringLiteral("Playlist/PL999000004.xml")));
    int state = 0;
    quint32 error = 0;
    EXPECT_TRUE(remover.DelContRealFilePlaylist(52, 520000012, state, error));
    EXPECT_FALSE(exists(path(QStringLiteral("Playlist/PL520000012.xml"))));
    EXPECT_FALSE(exists(path(QStringLiteral("Sequence/SQ501000012.xml"))));
    EXPECT_FALSE(exists(path(QStringLiteral("Sequence/SQ523000012.xml"))));
    EXPECT_TRUE(exists(path(QStringLiteral("Sequence/SQ501000013.xml"))));
    EXPECT_TRUE(remover.DelContRealFilePlaylist(52, 999000004, state, error));
    EXPECT_FALSE(exists(path(QStringLiteral("Playlist/PL999000004.xml"))));

    touch(path(QStringLiteral("Group/G/Schedule/SC951900001.xml")));
    touch(path(QStringLiteral("Group/G/Schedule/Sequence/SQ922900001.xml")));
    EXPECT_TRUE(remover.DelContRealFileSchedule(951900001, state, error));
    EXPECT_FALSE(exists(path(QStringLiteral("Group/G/Schedule/SC951900001.xml"))));
    EXPECT_FALSE(exists(path(QStringLiteral("Group/G/Schedule/Sequence/SQ922900001.xml"))));
    EXPECT_EQ(state, 0);
}

TEST_F(RemoverTest, CommonDeletionFindsTheRecordByNumber)
{
    CMovieList list;
    CMovieProperty record = movie(QStringLiteral("clip.mp4"));
    ASSERT_TRUE(list.Add(&record));
    touch(path(QStringLiteral("TelvData/Content/Video/clip.mp4")));
    int state = 0;
    quint32 error = 0;
    // Thumbnails already gone: the material file still goes.
    EXPECT_TRUE(remover.DelContRealFileCommon(&list, 1, kNumber, state, error));
    EXPECT_FALSE(exists(path(QStringLiteral("TelvData/Content/Video/clip.mp4"))));
    // A missing list or record is logged and counts as done.
    EXPECT_TRUE(remover.DelContRealFileCommon(nullptr, 9, kNumber, state, error));
    EXPECT_TRUE(remover.DelContRealFileCommon(&list, 1, kNumber + 1, state, error));
    EXPECT_EQ(state, 0);
}
