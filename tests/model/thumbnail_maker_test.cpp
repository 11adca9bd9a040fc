#include "core/last_error.h"
#include "model/thumbnail_maker.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ThumbnailMaker, SmallSizeFitsInto94ByTheIntegerRule)
{
    EXPECT_EQ(FitSmallThumbnailSize(1600, 900), QSize(94, 52));
    EXPECT_EQ(FitSmallThumbnailSize(800, 2400), QSize(31, 94));
    EXPECT_EQ(FitSmallThumbnailSize(1920, 1080), QSize(94, 52));
    EXPECT_EQ(FitSmallThumbnailSize(320, 240), QSize(94, 70));
    // Squares of every size stay square despite the single-precision factor.
    for (int side : {1, 47, 94, 500, 940, 4096})
        EXPECT_EQ(FitSmallThumbnailSize(side, side), QSize(94, 94)) << side;
}

TEST(ThumbnailMaker, SmallSizeOfDegeneratePictures)
{
    EXPECT_TRUE(FitSmallThumbnailSize(0, 100).isEmpty());
    EXPECT_TRUE(FitSmallThumbnailSize(100, 0).isEmpty());
    EXPECT_TRUE(FitSmallThumbnailSize(-5, 100).isEmpty());
    // A side that would truncate to nothing keeps one pixel.
    EXPECT_EQ(FitSmallThumbnailSize(1, 10000), QSize(1, 94));
    EXPECT_EQ(FitSmallThumbnailSize(32767, 1), QSize(94, 1));
}

TEST(ThumbnailMaker, LargeSizeIsThePictureFittedInto640)
{
    EXPECT_EQ(FitLargeThumbnailSize(320, 240), QSize(320, 240));
    EXPECT_EQ(FitLargeThumbnailSize(640, 640), QSize(640, 640));
    EXPECT_EQ(FitLargeThumbnailSize(1920, 1080), QSize(640, 360));
    EXPECT_EQ(FitLargeThumbnailSize(800, 2400), QSize(213, 640));
    EXPECT_EQ(FitLargeThumbnailSize(32767, 1), QSize(640, 1));
    EXPECT_TRUE(FitLargeThumbnailSize(0, 10).isEmpty());
}

TEST(ThumbnailMaker, FoldersAndFileNames)
{
    EXPECT_EQ(ThumbnailFolder("/base", 1), "/base/TelvData/Q9Data/Thumb/Video");
    EXPECT_EQ(ThumbnailFolder("/base", 2), "/base/TelvData/Q9Data/Thumb/Still");
    EXPECT_EQ(ThumbnailFolder("/base", 4), "/base/TelvData/Q9Data/Thumb/URL");
    EXPECT_EQ(ThumbnailFolder("/base", 5), "/base/TelvData/Q9Data/Thumb/Flash");
    EXPECT_TRUE(ThumbnailFolder("/base", 3).isEmpty());

    QString path;
    ASSERT_TRUE(MakeThumbnailPath("/t", 42, false, path));
    EXPECT_EQ(path, "/t/000000042.jpg");
    ASSERT_TRUE(MakeThumbnailPath("/t", 102000007, true, path));
    EXPECT_EQ(path, "/t/102000007t.jpg");
    // Numbers without nine digits and an empty folder would name files elsewhere.
    path = "unchanged";
    EXPECT_FALSE(MakeThumbnailPath("/t", 1000000000, false, path));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(MakeThumbnailPath("/t", -1, false, path));
    EXPECT_FALSE(MakeThumbnailPath("", 1, false, path));
    EXPECT_EQ(path, "unchanged");
}

TEST(ThumbnailMaker, WritesBothJpegsAndReplacesOldOnes)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Thumb/Still"; // created on the way
    QImage picture(1600, 900, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(WriteThumbnails(picture, picture.size(), folder, 200000001));
    EXPECT_EQ(QImage(folder + "/200000001.jpg").size(), QSize(640, 360));
    EXPECT_EQ(QImage(folder + "/200000001t.jpg").size(), QSize(94, 52));

    // A picture decoded at reduced size still gives the small size of the original.
    QImage reduced(400, 1200, QImage::Format_RGB32);
    reduced.fill(Qt::blue);
    ASSERT_TRUE(WriteThumbnails(reduced, QSize(800, 2400), folder, 200000001));
    const QImage large(folder + "/200000001.jpg");
    EXPECT_EQ(large.size(), QSize(213, 640));
    EXPECT_EQ(QImage(folder + "/200000001t.jpg").size(), QSize(31, 94));
    EXPECT_LT(qRed(large.pixel(100, 100)), 40);
    EXPECT_GT(qBlue(large.pixel(100, 100)), 200);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2); // no temporary files left
}

TEST(ThumbnailMaker, RefusesWhatItCannotWrite)
{
    QTemporaryDir dir;
    QFile blocker(dir.path() + "/Still");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    EXPECT_FALSE(WriteThumbnails(picture, picture.size(), blocker.fileName(), 1));
    EXPECT_FALSE(WriteThumbnails(QImage(), QSize(100, 100), dir.path(), 1));
    EXPECT_FALSE(WriteThumbnails(picture, QSize(0, 0), dir.path(), 1));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).contains("Still"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/000000001.jpg"));
}
