#include "core/clock.h"
#include "model/media_probe.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

namespace {

QString WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteImage(const QString &path, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(30, 160, 90));
    image.save(path, format);
    return path;
}

QString StillThumb(const QString &root, const char *name)
{
    return root + "/TelvData/Q9Data/Thumb/Still/" + name;
}

QString VideoThumb(const QString &root, const char *name)
{
    return root + "/TelvData/Q9Data/Thumb/Video/" + name;
}

} // namespace

// ---- Files every type treats alike, and stills and telops (no tool needed) ----

class MediaProbeTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return m_files.path() + "/" + name; }
    QString root() const { return m_root.path(); }

    QTemporaryDir m_files;
    QTemporaryDir m_root;
};

TEST_F(MediaProbeTest, MissingEmptyAndUnprobedFiles)
{
    MediaInfo info;
    info.title = "stale";
    const QString empty = WriteBytes(path("empty.mpg"), QByteArray());
    for (int type : {1, 2, 3, 5, 6}) {
        EXPECT_EQ(ProbeMediaFile(type, 1, path("missing.dat"), root(), info), MEDIA_PROBE_NOT_ACCESSIBLE) << type;
        EXPECT_EQ(ProbeMediaFile(type, 1, m_files.path(), root(), info), MEDIA_PROBE_NOT_ACCESSIBLE) << type;
        EXPECT_EQ(ProbeMediaFile(type, 1, empty, root(), info), MEDIA_PROBE_EMPTY_FILE) << type;
    }
    EXPECT_TRUE(info.title.isEmpty()); // the record is reset even when refused
    // A pipe would block the probe for ever, a device would never end.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.mpg")).constData(), 0600), 0);
    EXPECT_EQ(ProbeMediaFile(1, 1, path("pipe.mpg"), root(), info), MEDIA_PROBE_NOT_ACCESSIBLE);
    EXPECT_EQ(ProbeMediaFile(6, 1, "/dev/zero", root(), info), MEDIA_PROBE_NOT_ACCESSIBLE);
    const QString jpeg = WriteImage(path("a.jpg"), QSize(64, 64), "JPEG");
    EXPECT_EQ(ProbeMediaFile(4, 1, jpeg, root(), info), MEDIA_PROBE_BAD_PARAMETER);
    EXPECT_EQ(ProbeMediaFile(7, 1, jpeg, root(), info), MEDIA_PROBE_BAD_PARAMETER);
    // Thumbnails are named after the number, so it must have nine digits.
    EXPECT_EQ(ProbeMediaFile(2, 1000000000, jpeg, root(), info), MEDIA_PROBE_BAD_PARAMETER);
    EXPECT_EQ(ProbeMediaFile(2, -3, jpeg, root(), info), MEDIA_PROBE_BAD_PARAMETER);
}

TEST_F(MediaProbeTest, JpegStillGivesFactsAndBothThumbnails)
{
    const QString file = WriteImage(path("Spring campaign poster with a long name, longer than forty.jpg"),
                                    QSize(1600, 900), "JPEG");
    MediaInfo info;
    ASSERT_EQ(ProbeMediaFile(2, 200000001, file, root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.dataFormat, "JPEG");
    EXPECT_EQ(info.width, 1600);
    EXPECT_EQ(info.height, 900);
    EXPECT_EQ(info.title, "Spring campaign poster with a long name,"); // 40 characters
    EXPECT_EQ(info.size, QFileInfo(file).size());
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(info.fileDate, ToSystemTime(QFileInfo(file).lastModified()));
    const QImage large(StillThumb(root(), "200000001.jpg"));
    EXPECT_EQ(large.size(), QSize(640, 360));
    EXPECT_NEAR(qGreen(large.pixel(320, 180)), 160, 12);
    EXPECT_EQ(QImage(StillThumb(root(), "200000001t.jpg")).size(), QSize(94, 52));
}

TEST_F(MediaProbeTest, BmpStillIsRecognisedByItsContent)
{
    // A bitmap saved under a JPEG name is still a bitmap.
    const QString file = WriteImage(path("tall.jpg"), QSize(800, 2400), "BMP");
    MediaInfo info;
    ASSERT_EQ(ProbeMediaFile(2, 200000002, file, root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.dataFormat, "BMP");
    EXPECT_EQ(QSize(info.width, info.height), QSize(800, 2400));
    EXPECT_EQ(QImage(StillThumb(root(), "200000002.jpg")).size(), QSize(213, 640));
    EXPECT_EQ(QImage(StillThumb(root(), "200000002t.jpg")).size(), QSize(31, 94));
}

TEST_F(MediaProbeTest, StillsOfOtherFormatsOrSizesAreRefused)
{
    MediaInfo info;
    EXPECT_EQ(ProbeMediaFile(2, 1, WriteImage(path("a.png"), QSize(64, 64), "PNG"), root(), info),
              MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(2, 1, WriteBytes(path("b.jpg"), "not a picture at all"), root(), info),
              MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(2, 1, WriteImage(path("tiny.jpg"), QSize(4, 40), "JPEG"), root(), info),
              MEDIA_PROBE_PICTURE_TOO_SMALL);
    EXPECT_EQ(ProbeMediaFile(2, 1, WriteImage(path("wide.bmp"), QSize(9000, 10), "BMP"), root(), info),
              MEDIA_PROBE_PICTURE_TOO_LARGE);
    EXPECT_FALSE(QFile::exists(StillThumb(root(), "000000001.jpg")));
}

TEST_F(MediaProbeTest, ForgedPictureSizeIsRefusedBeforeDecoding)
{
    // A small JPEG whose frame header claims 60000 x 60000 pixels (about 14 GB decoded).
    QByteArray jpeg = ReadBytes(WriteImage(path("real.jpg"), QSize(64, 48), "JPEG"));
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    for (int at : {5, 7}) {
        jpeg[sof + at] = char(0xEA);
        jpeg[sof + at + 1] = char(0x60);
    }
    MediaInfo info;
    EXPECT_EQ(ProbeMediaFile(2, 1, WriteBytes(path("forged.jpg"), jpeg), root(), info),
              MEDIA_PROBE_PICTURE_TOO_LARGE);
}

TEST_F(MediaProbeTest, TelopBitmaps)
{
    MediaInfo info;
    const QString strip = WriteImage(path("ticker.bmp"), QSize(20000, 48), "BMP");
    ASSERT_EQ(ProbeMediaFile(3, 300000001, strip, root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.dataFormat, "BMP");
    EXPECT_EQ(QSize(info.width, info.height), QSize(20000, 48));
    EXPECT_FALSE(QFile::exists(root() + "/TelvData")); // telops have no thumbnails here

    EXPECT_EQ(ProbeMediaFile(3, 1, WriteImage(path("t.jpg"), QSize(200, 48), "JPEG"), root(), info),
              MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(3, 1, WriteImage(path("tall.bmp"), QSize(200, 2000), "BMP"), root(), info),
              MEDIA_PROBE_PICTURE_TOO_LARGE);
    // A header cut short.
    EXPECT_NE(ProbeMediaFile(3, 1, WriteBytes(path("cut.bmp"), ReadBytes(strip).left(30)), root(), info),
              MEDIA_PROBE_OK);
}

TEST_F(MediaProbeTest, StillsCutShortAreRefusedAsDamaged)
{
    MediaInfo info;
    // The header promises 800 x 600 pixels; 64 bytes hold none of them.
    const QByteArray bmp = ReadBytes(WriteImage(path("full.bmp"), QSize(800, 600), "BMP"));
    EXPECT_EQ(ProbeMediaFile(2, 200000011, WriteBytes(path("cut.bmp"), bmp.left(64)), root(), info), MEDIA_PROBE_DAMAGED);
    EXPECT_EQ(ProbeMediaFile(3, 300000011, path("cut.bmp"), root(), info), MEDIA_PROBE_DAMAGED);
    // Pixel rows missing from the end.
    EXPECT_EQ(ProbeMediaFile(2, 200000012, WriteBytes(path("short.bmp"), bmp.left(bmp.size() - 1000)), root(), info),
              MEDIA_PROBE_DAMAGED);
    // The decoder would fill what is missing with grey.
    QImage noisy(1600, 900, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    noisy.save(path("full.jpg"), "JPEG");
    const QByteArray jpeg = ReadBytes(path("full.jpg"));
    for (qsizetype keep : {qsizetype(512), jpeg.size() / 2}) {
        EXPECT_EQ(ProbeMediaFile(2, 200000013, WriteBytes(path("cut.jpg"), jpeg.left(keep)), root(), info),
                  MEDIA_PROBE_DAMAGED)
            << keep;
    }
    EXPECT_FALSE(QFile::exists(StillThumb(root(), "200000011.jpg")));
    EXPECT_FALSE(QFile::exists(StillThumb(root(), "200000013.jpg")));
    EXPECT_EQ(ProbeMediaFile(2, 200000014, path("full.jpg"), root(), info), MEDIA_PROBE_OK);
}

TEST_F(MediaProbeTest, UnwritableThumbnailsDoNotRefuseTheFile)
{
    // The still thumbnail folder's place is taken by a file.
    ASSERT_TRUE(QDir().mkpath(root() + "/TelvData/Q9Data/Thumb"));
    WriteBytes(root() + "/TelvData/Q9Data/Thumb/Still", "x");
    MediaInfo info;
    EXPECT_EQ(ProbeMediaFile(2, 5, WriteImage(path("a.jpg"), QSize(64, 64), "JPEG"), root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.width, 64);
    // No data root: no thumbnails are wanted.
    EXPECT_EQ(ProbeMediaFile(2, 5, path("a.jpg"), QString(), info), MEDIA_PROBE_OK);
}

// ---- Video and audio, made by the ffmpeg tool once for the whole suite ----

namespace {

// A length inside the program-stream pack that holds a byte position.
qsizetype MidPack(qsizetype position)
{
    constexpr qsizetype kPackSize = 2048;
    return position / kPackSize * kPackSize + kPackSize / 2;
}

} // namespace

class AvProbeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_hasTool = !QStandardPaths::findExecutable("ffmpeg").isEmpty();
        if (!s_hasTool)
            return;
        const QString testsrc = "testsrc=size=%1:rate=30";
        make({"-f", "lavfi", "-i", testsrc.arg("320x240"), "-t", "2", "-c:v", "mpeg4", file("clip.mp4")});
        make({"-f", "lavfi", "-i", testsrc.arg("720x480"), "-t", "2", "-c:v", "mpeg2video", "-f", "vob",
              file("clip.mpg")});
        make({"-f", "lavfi", "-i", testsrc.arg("720x480"), "-t", "2", "-c:v", "mpeg2video", "-f", "mpegts",
              file("clip.ts")});
        make({"-f", "lavfi", "-i", testsrc.arg("2560x1440"), "-t", "0.2", "-c:v", "mpeg4", file("wide.mp4")});
        make({"-f", "lavfi", "-i", testsrc.arg("320x240"), "-t", "1", "-c:v", "wmv2", file("clip.wmv")});
        make({"-f", "lavfi", "-i", "sine=frequency=440:duration=3", file("tone.wav")});
        make({"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-c:a", "libmp3lame", file("tone.mp3")});
        make({"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-c:a", "wmav2", file("tone.wma")});
        make({"-f", "lavfi", "-i", testsrc.arg("64x64"), "-frames:v", "1", file("cover.jpg")});
        make({"-f", "lavfi", "-i", "sine=duration=2", "-i", file("cover.jpg"), "-map", "0", "-map", "1", "-c:a", "aac",
              "-c:v", "mjpeg", "-disposition:v", "attached_pic", file("song.mp4")});
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        if (!s_hasTool)
            GTEST_SKIP() << "the ffmpeg tool is not installed; video and audio probes are not tested";
    }

    static QString file(const QString &name) { return s_dir->path() + "/" + name; }
    static void make(QStringList arguments)
    {
        arguments.prepend("-y");
        arguments.prepend("error");
        arguments.prepend("-v");
        // One encoder thread: the encoded stream, and so the length a probe
        // estimates from its time stamps, then no longer depends on the cores.
        arguments.insert(arguments.size() - 1, "1");
        arguments.insert(arguments.size() - 2, "-threads");
        QProcess tool;
        tool.start("ffmpeg", arguments);
        const bool done = tool.waitForFinished(60000) && tool.exitCode() == 0;
        EXPECT_TRUE(done) << "ffmpeg " << arguments.join(' ').toStdString() << ": "
                          << tool.readAllStandardError().toStdString();
    }
    // A copy of a generated file, changed, under a new name.
    static QString variant(const QString &from, const QString &to, const std::function<QByteArray(QByteArray)> &change)
    {
        return WriteBytes(file(to), change(ReadBytes(file(from))));
    }

    QString root() const { return m_root.path(); }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline bool s_hasTool = false;
    QTemporaryDir m_root;
};

TEST_F(AvProbeTest, Mp4VideoGivesFactsAndThumbnails)
{
    MediaInfo info;
    ASSERT_EQ(ProbeMediaFile(1, 100000001, file("clip.mp4"), root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.title, "clip");
    EXPECT_EQ(info.dataFormat, "MPEG-4");
    EXPECT_EQ(QSize(info.width, info.height), QSize(320, 240));
    EXPECT_EQ(info.duration, 60);
    EXPECT_EQ(info.playTime, (PlayLength{0, 0, 2, 0}));
    EXPECT_EQ(info.size, QFileInfo(file("clip.mp4")).size());
    const QImage large(VideoThumb(root(), "100000001.jpg"));
    EXPECT_EQ(large.size(), QSize(320, 240));
    EXPECT_GT(qGray(large.pixel(10, 10)) + qGray(large.pixel(300, 200)), 0); // a real picture, not black
    EXPECT_EQ(QImage(VideoThumb(root(), "100000001t.jpg")).size(), QSize(94, 70));
}

TEST_F(AvProbeTest, MpegProgramStreamAndWmv)
{
    MediaInfo info;
    ASSERT_EQ(ProbeMediaFile(1, 100000002, file("clip.mpg"), root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.dataFormat, "MPEG-2");
    EXPECT_EQ(QSize(info.width, info.height), QSize(720, 480));
    EXPECT_NEAR(double(info.duration), 60.0, 2.0);
    EXPECT_EQ(QImage(VideoThumb(root(), "100000002.jpg")).size(), QSize(640, 426));
    EXPECT_EQ(QImage(VideoThumb(root(), "100000002t.jpg")).size(), QSize(94, 62));

    ASSERT_EQ(ProbeMediaFile(1, 100000003, file("clip.wmv"), root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.dataFormat, "WMV8");
    EXPECT_NEAR(double(info.duration), 30.0, 2.0);

    // The play time's last field is milliseconds, as the list file keeps it:
    // a 2.96 s movie is 00:00:02.9xx, not 2 s and 28 frames.
    make({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-t", "2.96", "-c:v", "mpeg2video", "-f", "vob",
          file("odd.mpg")});
    ASSERT_EQ(ProbeMediaFile(1, 100000004, file("odd.mpg"), root(), info), MEDIA_PROBE_OK);
    EXPECT_EQ(info.playTime.second, 2);
    EXPECT_NEAR(double(info.playTime.millisecond), 960.0, 40.0);
}

TEST_F(AvProbeTest, AudioFiles)
{
    const struct {
        const char *name;
        const char *format;
    } cases[] = {{"tone.wav", "PCM"}, {"tone.mp3", "MP3"}, {"tone.wma", "WMA"}};
    for (const auto &c : cases) {
        MediaInfo info;
        ASSERT_EQ(ProbeMediaFile(6, 600000001, file(c.name), root(), info), MEDIA_PROBE_OK) << c.name;
        EXPECT_EQ(info.dataFormat, c.format);
        EXPECT_NEAR(double(info.duration), 90.0, 2.0) << c.name;
        EXPECT_EQ(info.playTime.second, info.duration / 30 % 60);
        EXPECT_EQ(info.width, 0);
    }
    EXPECT_FALSE(QFile::exists(root() + "/TelvData"));
}

TEST_F(AvProbeTest, WrongKindOfStreamOrContainer)
{
    MediaInfo info;
    // Audio is no video, and a video container is no audio file.
    EXPECT_EQ(ProbeMediaFile(1, 1, file("tone.mp3"), root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(1, 1, file("tone.wma"), root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(6, 1, file("clip.mp4"), root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    // Music with a cover picture has no video.
    EXPECT_EQ(ProbeMediaFile(1, 1, file("song.mp4"), root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    const QString noise = WriteBytes(file("noise.mpg"), QByteArray(100000, '\x5a'));
    EXPECT_EQ(ProbeMediaFile(1, 1, noise, root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_EQ(ProbeMediaFile(6, 1, noise, root(), info), MEDIA_PROBE_NOT_SUPPORTED);
}

TEST_F(AvProbeTest, FrameSizesThePlayersDoNotPlay)
{
    MediaInfo info;
    EXPECT_EQ(ProbeMediaFile(1, 100000009, file("wide.mp4"), root(), info), MEDIA_PROBE_VIDEO_SIZE);
    EXPECT_FALSE(QFile::exists(VideoThumb(root(), "100000009.jpg")));
}

TEST_F(AvProbeTest, UnknownCodingNeedsADecoder)
{
    const QString path = variant("clip.wmv", "unknown.wmv", [](QByteArray bytes) {
        return bytes.replace("WMV2", "ZZZZ");
    });
    MediaInfo info;
    EXPECT_EQ(ProbeMediaFile(1, 1, path, root(), info), MEDIA_PROBE_NO_DECODER);
}

TEST_F(AvProbeTest, TruncatedVideos)
{
    MediaInfo info;
    // The index of an MP4 is written last: without it nothing can be read.
    const QString mp4 = variant("clip.mp4", "cut.mp4", [](QByteArray bytes) { return bytes.left(bytes.size() / 2); });
    EXPECT_EQ(ProbeMediaFile(1, 100000004, mp4, root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    EXPECT_FALSE(QFile::exists(VideoThumb(root(), "100000004.jpg")));
    // A program stream whose last packet is cut short holds fewer bytes than
    // it states, though its first picture is there (cut inside one of its
    // 2048-byte packs: a cut between packs leaves nothing stated short).
    const QString mpg = variant("clip.mpg", "cut.mpg", [](QByteArray bytes) { return bytes.left(MidPack(bytes.size() / 3)); });
    EXPECT_EQ(ProbeMediaFile(1, 100000005, mpg, root(), info), MEDIA_PROBE_DAMAGED);
    EXPECT_FALSE(QFile::exists(VideoThumb(root(), "100000005t.jpg")));
    // Only the first headers: no picture at all.
    const QString stub = variant("clip.mpg", "stub.mpg", [](QByteArray bytes) { return bytes.left(100); });
    EXPECT_NE(ProbeMediaFile(1, 100000006, stub, root(), info), MEDIA_PROBE_OK);
}

TEST_F(AvProbeTest, FilesCutShortOfWhatTheyDeclareAreRefusedAsDamaged)
{
    MediaInfo info;
    const auto cut = [](qsizetype keep) {
        return [keep](QByteArray bytes) { return bytes.left(keep > 0 ? keep : bytes.size() / 2); };
    };
    // No whole picture in the first 512 bytes.
    EXPECT_EQ(ProbeMediaFile(1, 100000021, variant("clip.mpg", "head.mpg", cut(512)), root(), info),
              MEDIA_PROBE_DAMAGED);
    // The header states the file's size; half of the packets are gone.
    EXPECT_EQ(ProbeMediaFile(1, 100000022, variant("clip.wmv", "half.wmv", cut(0)), root(), info),
              MEDIA_PROBE_DAMAGED);
    EXPECT_EQ(ProbeMediaFile(6, 600000021, variant("tone.wma", "half.wma", cut(0)), root(), info),
              MEDIA_PROBE_DAMAGED);
    // A few frames of an MP3 whose header states three seconds.
    EXPECT_EQ(ProbeMediaFile(6, 600000022, variant("tone.mp3", "head.mp3", cut(512)), root(), info),
              MEDIA_PROBE_DAMAGED);
    // Half of a WAV file whose header states the whole data; half of an MPEG
    // program stream and of a transport stream (in the middle of a packet).
    EXPECT_EQ(ProbeMediaFile(6, 600000023, variant("tone.wav", "half.wav", cut(0)), root(), info),
              MEDIA_PROBE_DAMAGED);
    EXPECT_EQ(ProbeMediaFile(1, 100000023, variant("clip.mpg", "half.mpg", cut(MidPack(ReadBytes(file("clip.mpg")).size() / 2))), root(), info),
              MEDIA_PROBE_DAMAGED);
    const auto midPacket = [](QByteArray bytes) { return bytes.left(bytes.size() / 2 - 100); };
    EXPECT_EQ(ProbeMediaFile(1, 100000024, variant("clip.ts", "half.ts", midPacket), root(), info),
              MEDIA_PROBE_DAMAGED);
    // A 512-byte WAV file without a single frame: a header, a padding chunk and
    // an empty data chunk.
    const auto noFrames = [](QByteArray bytes) {
        QByteArray head = bytes.left(36);
        head += "LIST" + QByteArray(4, '\0') + QByteArray(512 - 36 - 8 - 8, ' ') + "data" + QByteArray(4, '\0');
        const quint32 listSize = 512 - 36 - 8 - 8;
        for (int i = 0; i < 4; ++i)
            head[40 + i] = char((listSize >> (8 * i)) & 0xFF);
        return head;
    };
    EXPECT_EQ(ProbeMediaFile(6, 600000024, variant("tone.wav", "empty.wav", noFrames), root(), info),
              MEDIA_PROBE_DAMAGED);
    // The whole transport stream is accepted.
    EXPECT_EQ(ProbeMediaFile(1, 100000025, file("clip.ts"), root(), info), MEDIA_PROBE_OK);
    EXPECT_FALSE(QFile::exists(VideoThumb(root(), "100000021.jpg")));
    EXPECT_FALSE(QFile::exists(VideoThumb(root(), "100000022.jpg")));
}

TEST_F(AvProbeTest, PlaylistsThatNameOtherFilesAreNotFollowed)
{
    MediaInfo info;
    const QString target = file("clip.mp4");
    const QString hls = WriteBytes(file("list.mp4"), "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\n" + target.toUtf8()
                                                          + "\n#EXT-X-ENDLIST\n");
    EXPECT_EQ(ProbeMediaFile(1, 1, hls, root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    const QString concat = WriteBytes(file("concat.mpg"), "ffconcat version 1.0\nfile '" + target.toUtf8() + "'\n");
    EXPECT_EQ(ProbeMediaFile(1, 1, concat, root(), info), MEDIA_PROBE_NOT_SUPPORTED);
    const QString sdp = WriteBytes(file("stream.sdp"), "v=0\no=- 0 0 IN IP4 127.0.0.1\ns=x\nc=IN IP4 127.0.0.1\n"
                                                       "t=0 0\nm=video 5004 RTP/AVP 96\na=rtpmap:96 H264/90000\n");
    EXPECT_EQ(ProbeMediaFile(1, 1, sdp, root(), info), MEDIA_PROBE_NOT_SUPPORTED);
}

TEST_F(AvProbeTest, WorkIsBoundedByTimeAndPackets)
{
    MediaInfo info;
    AvProbeLimits noTime;
    noTime.timeLimit = std::chrono::milliseconds(0);
    EXPECT_EQ(ProbeMediaFile(1, 1, file("clip.mp4"), root(), info, noTime), MEDIA_PROBE_LIMIT_REACHED);
    EXPECT_EQ(ProbeMediaFile(6, 1, file("tone.mp3"), root(), info, noTime), MEDIA_PROBE_LIMIT_REACHED);
    AvProbeLimits noPackets;
    noPackets.maxPackets = 0;
    EXPECT_EQ(ProbeMediaFile(1, 1, file("clip.mpg"), root(), info, noPackets), MEDIA_PROBE_LIMIT_REACHED);
}
