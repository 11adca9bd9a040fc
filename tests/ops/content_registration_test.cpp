// Registration of the operator's files: each type from real files, the names
// copies get, cancellation, full lists and disks, and failed list saves.

#include "ops_test_library.h"
#include "registration_test_support.h"

#include "core/app_ini.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "model/contents_list.h"
#include "model/media_property.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

namespace {

// A short movie and a tone, made by the ffmpeg tool once for the suite.
class MediaFiles {
public:
    static QString Get(const QString &name)
    {
        static MediaFiles files;
        return files.m_dir.filePath(name);
    }
    static bool HasTool() { return !QStandardPaths::findExecutable("ffmpeg").isEmpty(); }

private:
    MediaFiles()
    {
        if (!HasTool())
            return;
        make({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=30", "-t", "1", "-c:v", "libx264", "-pix_fmt",
              "yuv420p", m_dir.filePath("movie.mp4")});
        make({"-f", "lavfi", "-i", "sine=frequency=440:duration=2", m_dir.filePath("tone.wav")});
    }
    static void make(QStringList arguments)
    {
        arguments = QStringList{"-v", "error", "-y"} + arguments;
        QProcess tool;
        tool.start("ffmpeg", arguments);
        EXPECT_TRUE(tool.waitForFinished(60000) && tool.exitCode() == 0) << tool.readAllStandardError().toStdString();
    }
    QTemporaryDir m_dir;
};

// An uncompressed Flash header of a 640 x 360 stage, 24 frames a second, 240 frames.
const QByteArray kSwf("\x46\x57\x53\x09\x19\x00\x00\x00\x78\x00\x06\x40\x00\x00\x0e\x10\x00\x00\x18\xf0\x00\x40\x00"
                      "\x00\x00",
                      25);

QStringList FilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

TEST_F(RegistrationTest, EveryMediaTypeBecomesAContent)
{
    if (!MediaFiles::HasTool())
        GTEST_SKIP() << "the ffmpeg tool is not installed";
    QDir().mkpath(source("Spring campaign 2010 Tokyo"));
    ASSERT_TRUE(QFile::copy(MediaFiles::Get("movie.mp4"), source("Spring campaign 2010 Tokyo/movie.mp4")));
    ASSERT_TRUE(QFile::copy(MediaFiles::Get("tone.wav"), source("tone.wav")));
    const QStringList files{source("Spring campaign 2010 Tokyo/movie.mp4"), writePicture("photo.jpg", {1600, 900}),
                            source("tone.wav"), writeBytes("banner.swf", kSwf)};
    CContentRegistration reg = registration();
    const RegistResult result = reg.AddContentsFilesWorker(files, 0);
    EXPECT_EQ(result.kind, REGIST_OK);
    EXPECT_TRUE(reg.GetFailedFile().isEmpty());

    // Video: copied, probed, both thumbnails, the category from its folder.
    auto *movie = static_cast<CMediaProperty *>(record(CONTENT_MOVIE, 0));
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->GetLink(), "movie.mp4");
    EXPECT_EQ(movie->GetInfo(), "Spring campaign 2010");
    EXPECT_EQ(movie->GetDataFormat(), "H.264");
    EXPECT_EQ(QSize(movie->GetWidth(), movie->GetHeight()), QSize(320, 240));
    EXPECT_EQ(movie->GetPlayTime().second, 1);
    EXPECT_TRUE(QFile::exists(m_store.GetContentFolder(CONTENT_MOVIE) + "/movie.mp4"));
    EXPECT_EQ(QImage(thumb(CONTENT_MOVIE, movie->GetIndex(), true)).size(), QSize(94, 70));

    // Still: the small thumbnail of 1600 x 900 is 94 x 52 and keeps the colour.
    auto *still = static_cast<CMediaProperty *>(record(CONTENT_IMAGE, 0));
    ASSERT_NE(still, nullptr);
    EXPECT_EQ(still->GetInfo(), "source");
    const QImage small(thumb(CONTENT_IMAGE, still->GetIndex(), true));
    EXPECT_EQ(small.size(), QSize(94, 52));
    EXPECT_GT(qBlue(small.pixel(40, 20)), 200);

    auto *audio = static_cast<CMediaProperty *>(record(CONTENT_AUDIO, 0));
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->GetPlayTime().second, 2);

    // Flash: its stage size, and a capture of its page asked for.
    auto *flash = static_cast<CMediaProperty *>(record(CONTENT_FLASH, 0));
    ASSERT_NE(flash, nullptr);
    EXPECT_EQ(QSize(flash->GetWidth(), flash->GetHeight()), QSize(640, 360));
    ASSERT_EQ(m_thumbnails.requests.size(), 1);
    EXPECT_EQ(m_thumbnails.requests[0].type, CONTENT_FLASH);
    EXPECT_EQ(m_thumbnails.requests[0].number, flash->GetIndex());
    EXPECT_EQ(m_thumbnails.requests[0].delayMs, 1000);
    EXPECT_EQ(m_thumbnails.requests[0].source, m_store.GetContentFolder(CONTENT_FLASH) + "/banner.swf");

    // Lists and counters are saved per file; the window heard of each step.
    for (int type : {CONTENT_MOVIE, CONTENT_IMAGE, CONTENT_AUDIO, CONTENT_FLASH})
        EXPECT_TRUE(QFile::exists(m_store.GetListPath(type))) << type;
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_IMAGE), 2);
    EXPECT_EQ(noticesOf(REGIST_NOTICE_COPY), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(noticesOf(REGIST_NOTICE_THUMB), (QList<int>{0, 1}));
    EXPECT_EQ(noticesOf(REGIST_NOTICE_STEP), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(noticesOf(REGIST_NOTICE_END), (QList<int>{REGIST_OK}));
    QString folder;
    QString extension;
    GetAppIni().GetLastFolder(CONTENT_FLASH, folder, extension);
    EXPECT_EQ(folder, source(""));
    EXPECT_EQ(extension, ".swf");
}

TEST_F(RegistrationTest, TelopBitmapIsStoredUnderItsNumber)
{
    const QString bitmap = writePicture("any name.bmp", {600, 40}, Qt::red);
    CContentRegistration reg = registration();
    ASSERT_EQ(reg.AddContentsFilesWorker({bitmap}, CONTENT_TELOP).kind, REGIST_OK);
    auto *telop = static_cast<CTelopProperty *>(record(CONTENT_TELOP, 0));
    ASSERT_NE(telop, nullptr);
    const QString stored = QString("%1/%2.bmp").arg(TextFolderOf(base())).arg(telop->GetIndex(), 9, 10, QChar('0'));
    EXPECT_TRUE(QFile::exists(stored));
    EXPECT_EQ(telop->GetLink(), QFileInfo(stored).fileName());
    EXPECT_EQ(telop->GetFormat(), CTelopProperty::FORMAT_BITMAP);
    EXPECT_EQ(telop->GetEffectType(), CTelopProperty::EFFECT_SCROLL);
    EXPECT_EQ(telop->GetSpeed(), 150);
    EXPECT_EQ(QSize(telop->GetWidth(), telop->GetHeight()), QSize(600, 40));
    EXPECT_EQ(telop->GetLineHeight(), 40);
    EXPECT_EQ(FilesIn(TextFolderOf(base())), QStringList{QFileInfo(stored).fileName()});
}

TEST_F(RegistrationTest, CopiesNeverOverwriteAnotherFileAndNamesFit128)
{
    const QString photo = writePicture("a.jpg", {64, 64});
    CContentRegistration reg = registration();
    ASSERT_EQ(reg.AddContentsFilesWorker({photo, photo}, 0).kind, REGIST_OK);
    const qint32 second = record(CONTENT_IMAGE, 1)->GetIndex();
    const QString numbered = QString("%1_a.jpg").arg(second, 9, 10, QChar('0'));
    EXPECT_EQ(static_cast<CMediaProperty *>(record(CONTENT_IMAGE, 1))->GetLink(), numbered);

    // The numbered name of the next content is taken by a file nobody
    // registered: the copy takes a further name instead of writing over it.
    const QString folder = m_store.GetContentFolder(CONTENT_IMAGE);
    const QString squatter = QString("%1/%2_a.jpg").arg(folder).arg(second + 1, 9, 10, QChar('0'));
    QFile file(squatter);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not mine");
    file.close();
    ASSERT_EQ(reg.AddContentsFilesWorker({photo}, 0).kind, REGIST_OK);
    EXPECT_EQ(QFile(squatter).size(), 8);
    EXPECT_EQ(static_cast<CMediaProperty *>(record(CONTENT_IMAGE, 2))->GetLink(),
              QString("%1_2_a.jpg").arg(second + 1, 9, 10, QChar('0')));

    // Title and extension are cut to 128 characters together.
    const QString longPhoto = writePicture(QString(140, 'x') + ".jpg", {64, 64});
    ASSERT_EQ(reg.AddContentsFilesWorker({longPhoto}, 0).kind, REGIST_OK);
    EXPECT_EQ(static_cast<CMediaProperty *>(record(CONTENT_IMAGE, 3))->GetLink(), QString(124, 'x') + ".jpg");
}

TEST_F(RegistrationTest, CancelDuringACopyKeepsWhatWasDoneAndLeavesNoPart)
{
    const QStringList files{writePicture("1.jpg", {64, 64}), writePicture("2.jpg", {64, 64}),
                            writePicture("3.jpg", {64, 64}), writePicture("4.jpg", {64, 64})};
    m_onNotice = [this](const PostedNotice &posted) {
        if (posted.notice == REGIST_NOTICE_COPY && posted.wParam == 2)
            m_progress.Cancel();
    };
    CContentRegistration reg = registration();
    const RegistResult result = reg.AddContentsFilesWorker(files, 0);
    EXPECT_EQ(result.kind, REGIST_CANCELLED);
    EXPECT_EQ(reg.GetFailedFile(), files[2]);
    EXPECT_EQ(m_store.GetList(CONTENT_IMAGE)->GetCount(), 2);
    EXPECT_EQ(FilesIn(m_store.GetContentFolder(CONTENT_IMAGE)), (QStringList{"1.jpg", "2.jpg"}));
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_IMAGE), 3);
}

TEST_F(RegistrationTest, FullListAndFullDiskStopTheBatch)
{
    const QString photo = writePicture("p.jpg", {64, 64});
    const quint64 size = quint64(QFileInfo(photo).size());
    const quint64 margin = 100ull << 20;
    CContentRegistration reg = registration();

    m_freeBytes = size + margin - 1;
    RegistResult result = reg.AddContentsFilesWorker({photo}, 0);
    EXPECT_EQ(result.kind, REGIST_DISK_FULL);
    EXPECT_EQ(reg.GetFailedFile(), photo);
    EXPECT_TRUE(FilesIn(m_store.GetContentFolder(CONTENT_IMAGE)).isEmpty());

    m_freeBytes = size + margin;
    EXPECT_EQ(reg.AddContentsFilesWorker({photo}, 0).kind, REGIST_OK);

    setSystemValue("ExContents", "MaxStill", "1");
    result = reg.AddContentsFilesWorker({photo}, 0);
    EXPECT_EQ(result.kind, REGIST_LIST_FULL);
    EXPECT_EQ(result.detail, quint32(CONTENT_IMAGE));
    EXPECT_EQ(FilesIn(m_store.GetContentFolder(CONTENT_IMAGE)), QStringList{"p.jpg"});
}

TEST_F(RegistrationTest, RefusedMediaAndUnsavedListsLeaveNothingBehind)
{
    CContentRegistration reg = registration();
    const QString empty = writeBytes("empty.jpg", {});
    RegistResult result = reg.AddContentsFilesWorker({empty}, 0);
    EXPECT_EQ(result.kind, REGIST_MEDIA_REFUSED);
    EXPECT_EQ(result.detail, 5205u);
    EXPECT_TRUE(FilesIn(m_store.GetContentFolder(CONTENT_IMAGE)).isEmpty());

    // The list file cannot be replaced: the record is taken back and the
    // copy and its thumbnails go, and the batch says why.
    ASSERT_TRUE(QDir().mkpath(m_store.GetListPath(CONTENT_IMAGE)));
    result = reg.AddContentsFilesWorker({writePicture("p.jpg", {64, 64})}, 0);
    EXPECT_EQ(result.kind, REGIST_FILE_ERROR);
    EXPECT_NE(result.detail, 0u);
    EXPECT_EQ(m_store.GetList(CONTENT_IMAGE)->GetCount(), 0);
    EXPECT_TRUE(FilesIn(m_store.GetContentFolder(CONTENT_IMAGE)).isEmpty());
    EXPECT_TRUE(FilesIn(ThumbnailFolder(base(), CONTENT_IMAGE)).isEmpty());
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_IMAGE), 1);
}

// The window repaints its lists while the worker registers: each paint reads
// every row the list shows, as the list view draws it, and sees only whole
// records; the list ends with every file. The folder the next file dialog
// opens in is the window's setting too: the worker leaves it to the step
// that saves the list, so whenever the worker waits for the window the
// setting names the folder of a file the saved list holds. Run under
// ThreadSanitizer too.
TEST_F(RegistrationTest, ManyFilesRegisterWhileTheListRepaints)
{
    constexpr int kFiles = 40;
    QStringList files;
    for (int i = 0; i < kFiles; ++i)
        files.append(writePicture(QStringLiteral("d%1/pic-%1.jpg").arg(i, 2, 10, QChar('0')), {48, 32}));
    CContentRegistration reg = registration();
    CContentsList &list = *m_store.GetList(CONTENT_IMAGE);
    int shown = 0;
    int paints = 0;
    int remembered = 0;
    const auto paint = [&] {
        const int count = list.GetDisplayCount();
        EXPECT_GE(count, shown);
        for (int row = 0; row < count; ++row) {
            const auto *still = static_cast<const CMediaProperty *>(list.GetDisplayAt(row));
            EXPECT_TRUE(still && still->GetLink().endsWith(".jpg") && still->GetWidth() == 48) << row;
        }
        shown = count;
        ++paints;
    };
    const auto held = [&] {
        QString folder;
        QString extension;
        GetAppIni().GetLastFolder(CONTENT_IMAGE, folder, extension);
        if (!folder.startsWith(source("d")))
            return;
        QFile saved(m_store.GetListPath(CONTENT_IMAGE));
        const QString file = "pic-" + QDir(folder).dirName().mid(1) + ".jpg";
        EXPECT_TRUE(saved.open(QIODevice::ReadOnly) && saved.readAll().contains(file.toUtf8())) << folder.toStdString();
        ++remembered;
    };
    RunWhileTheWindowPaints([&] { reg.AddContentsFilesWorker(files, 0); }, paint, held);
    EXPECT_EQ(list.GetCount(), kFiles);
    EXPECT_GT(paints, 1);
    EXPECT_GT(remembered, kFiles);
    EXPECT_EQ(noticesOf(REGIST_NOTICE_END), (QList<int>{REGIST_OK}));
}

TEST_F(RegistrationTest, CategoryIsTheFoldersNameCutTo20)
{
    EXPECT_EQ(CContentRegistration::CategoryOfPath("D:\\Media\\Spring campaign 2010 Tokyo\\a.mpg"),
              "Spring campaign 2010");
    EXPECT_EQ(CContentRegistration::CategoryOfPath("D:\\a.mpg"), "");
    EXPECT_EQ(CContentRegistration::CategoryOfPath("/a.mpg"), "");
    EXPECT_EQ(CContentRegistration::CategoryOfPath("/home/op/shop/a.mpg"), "shop");
}
