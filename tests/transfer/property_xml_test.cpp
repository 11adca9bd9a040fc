// The property registration file: one hand-written golden file per player
// table, the table of each record, and adds and saves that fail.

#include "transfer_test_util.h"

#include "core/last_error.h"
#include "model/audio_property.h"
#include "model/control_property.h"
#include "model/flash_property.h"
#include "model/img_property.h"
#include "model/movie_property.h"
#include "model/pin_p_property.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"
#include "transfer/property_xml.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const SystemTime kPropertyFileTime = MakeTime(2026, 4, 1, 9, 5, 3, 999);
constexpr qint32 kSignal = 2;

void SetCommon(CPropertyBase &record, qint32 index, const QString &title, const QString &info, quint64 size,
               const SystemTime &created, const DateValue &deleteDate)
{
    ASSERT_TRUE(record.SetIndex(index));
    ASSERT_TRUE(record.SetTitle(title));
    ASSERT_TRUE(record.SetInfo(info));
    record.SetSize(size);
    ASSERT_TRUE(record.SetCreateDate(created));
    ASSERT_TRUE(record.SetDeleteDate(deleteDate));
}

void SetPicture(CMediaProperty &record, const QString &file, qint32 width, qint32 height)
{
    ASSERT_TRUE(record.SetLink(file));
    ASSERT_TRUE(record.SetWidth(width));
    ASSERT_TRUE(record.SetHeight(height));
}

CControlProperty MakeControl(qint32 type, qint32 index, const QString &title, const QString &info,
                             const SystemTime &created, const DateValue &deleteDate, const QString &param1,
                             const QString &param2, qint32 port = 1)
{
    CControlProperty control;
    SetCommon(control, index, title, info, 0, created, deleteDate);
    EXPECT_TRUE(control.SetCtrlType(type));
    EXPECT_TRUE(control.SetCtrlParams(param1, param2));
    EXPECT_TRUE(control.SetPort(port));
    return control;
}

// Saves the file into a fresh folder and returns its bytes.
QByteArray SavedBytes(CPropertyXml &file)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("property.xml");
    EXPECT_TRUE(file.Save(path, kPropertyFileTime, kSignal)) << file.GetLastError();
    // Web and camera rows carry passwords.
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    return ReadFileBytes(path);
}

} // namespace

TEST(PropertyXmlGolden, MovieRowsInsertedAndUpdated)
{
    CMovieProperty first;
    SetCommon(first, 101000001, "Opening", "Lobby", 5000000000ULL, MakeTime(2026, 3, 1, 10, 20, 30, 456),
              MakeDate(2026, 12, 31));
    ASSERT_TRUE(first.SetDDate(MakeTime(2026, 3, 2, 11, 22, 33, 44)));
    SetPicture(first, "D:\\clips\\open.mp4", 1920, 1080);
    first.SetDuration(1234567);
    ASSERT_TRUE(first.SetAudioLevel(true, 80));

    // No ddate, no deletion date and no audio level.
    CMovieProperty second;
    SetCommon(second, 101000002, "Loop", "", 0, MakeTime(2026, 3, 5), DateValue());
    SetPicture(second, "loop.mpg", 720, 480);
    ASSERT_TRUE(second.SetAudioLevel(false, 30));

    CPropertyXml file;
    ASSERT_TRUE(file.AddMovie(&first, "/import/video/A101000001.mp4", false));
    ASSERT_TRUE(file.AddMovie(&second, "A101000002.mpg", true));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_movie.xml"));
}

TEST(PropertyXmlGolden, StillRowWithJapaneseTexts)
{
    CImgProperty still;
    SetCommon(still, 201000001, "ロビー案内", "案内", 123456, MakeTime(2026, 2, 10, 8, 0, 0, 1),
              MakeDate(2026, 6, 30));
    SetPicture(still, "/home/op/pics/lobby.jpg", 1920, 1080);

    CPropertyXml file;
    ASSERT_TRUE(file.AddImage(&still, "/import/still/A201000001.jpg", false));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_still.xml"));
}

TEST(PropertyXmlGolden, TelopRowsWithEffectsAndColours)
{
    CTelopProperty scroll;
    SetCommon(scroll, 301000001, "News & <Info>", "", 2048, MakeTime(2026, 1, 1), DateValue());
    SetPicture(scroll, "301000001.bmp", 1920, 64);
    ASSERT_TRUE(scroll.SetLineHeight(48));
    ASSERT_TRUE(scroll.SetEffectType(CTelopProperty::EFFECT_SCROLL));
    ASSERT_TRUE(scroll.SetSpeed(150));
    ASSERT_TRUE(scroll.SetColor(1, MakeRgb(0x12, 0xAB, 0x0F)));

    CTelopProperty blink;
    SetCommon(blink, 301000002, "Sale", "Shop", 100, MakeTime(2026, 1, 2, 3, 4, 5, 6), MakeDate(2026, 5, 31));
    SetPicture(blink, "", 640, 48);
    ASSERT_TRUE(blink.SetLineHeight(40));
    ASSERT_TRUE(blink.SetEffectType(CTelopProperty::EFFECT_BLINK));
    ASSERT_TRUE(blink.SetSpeed(0));
    ASSERT_TRUE(blink.SetColor(0, MakeRgb(0xFF, 0x00, 0x80)));

    CPropertyXml file;
    ASSERT_TRUE(file.AddTelop(&scroll, "/import/text/A301000001.txt", false));
    ASSERT_TRUE(file.AddTelop(&blink, "/import/text/B301000002.txt", true));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_text.xml"));
}

TEST(PropertyXmlGolden, WebAndFlashRowsShareTheWebTable)
{
    CWebProperty web;
    SetCommon(web, 401000001, "Menu", "Cafe", 0, MakeTime(2026, 3, 10, 12), MakeDate(2026, 8, 31));
    ASSERT_TRUE(web.SetUrl("http://127.0.0.1/menu.html"));
    ASSERT_TRUE(web.SetWidth(1920));
    ASSERT_TRUE(web.SetHeight(1080));
    ASSERT_TRUE(web.SetOffset(10, 20));
    ASSERT_TRUE(web.SetUser("viewer"));
    ASSERT_TRUE(web.SetAudioLevel(true, 50));
    ASSERT_TRUE(web.SetOption(1));
    ASSERT_TRUE(web.SetReload(600));

    CFlashProperty flash;
    SetCommon(flash, 501000001, "Intro", "", 777, MakeTime(2026, 3, 11, 13, 14, 15, 161), DateValue());
    SetPicture(flash, "C:\\flash\\intro.swf", 800, 600);
    flash.SetDuration(300);

    CPropertyXml file;
    // An empty link writes the page's address.
    ASSERT_TRUE(file.AddWeb(&web, QString(), false));
    ASSERT_TRUE(file.AddFlash(&flash, "/import/swf/A501000001.swf", true));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_web.xml"));
}

TEST(PropertyXmlGolden, AudioRow)
{
    CAudioProperty audio;
    SetCommon(audio, 601000001, "BGM", "Music", 4096, MakeTime(2026, 3, 12, 7, 8, 9, 10), MakeDate(2026, 9, 30));
    ASSERT_TRUE(audio.SetLink("bgm.mp3"));
    audio.SetDuration(180000);
    ASSERT_TRUE(audio.SetAudioLevel(true, -1));

    CPropertyXml file;
    ASSERT_TRUE(file.AddAudio(&audio, "/import/aud/A601000001.mp3", false));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_audio.xml"));
}

TEST(PropertyXmlGolden, ControlRowsByControlType)
{
    const CControlProperty volume = MakeControl(CControlProperty::CTRL_VOLUME, 701000001, "Volume", "Hall",
                                                MakeTime(2026, 3, 13, 1, 2, 3, 4), DateValue(), "75", "");
    CPropertyXml volumeFile;
    ASSERT_TRUE(volumeFile.AddControl(&volume, false));
    EXPECT_EQ(SavedBytes(volumeFile), ReadGolden("property_audcont.xml"));

    const CControlProperty gpio = MakeControl(CControlProperty::CTRL_GPIO, 701000002, "Lamp", "",
                                              MakeTime(2026, 3, 14, 1, 2, 3, 4), MakeDate(2026, 10, 31), "5", "2");
    CPropertyXml gpioFile;
    ASSERT_TRUE(gpioFile.AddControl(&gpio, true));
    EXPECT_EQ(SavedBytes(gpioFile), ReadGolden("property_extgpio.xml"));
}

TEST(PropertyXmlGolden, SerialDisplayAndPictureInPictureRowsShareTheSerialTable)
{
    const CControlProperty com = MakeControl(CControlProperty::CTRL_COM, 701000003, "Projector", "COM",
                                             MakeTime(2026, 3, 15, 1, 2, 3, 4), DateValue(), "A0B1C2", "0D", 2);
    const CControlProperty display = MakeControl(CControlProperty::CTRL_DISPLAY, 701000004, "Display on", "",
                                                 MakeTime(2026, 3, 16, 1, 2, 3, 4), DateValue(), "01020304", "");
    CPinPProperty pinp;
    SetCommon(pinp, 110000001, "Camera", "", 0, MakeTime(2026, 3, 17, 1, 2, 3, 4), DateValue());
    ASSERT_TRUE(pinp.SetLink("HDMI1"));
    ASSERT_TRUE(pinp.SetData("AA55", "55AA"));

    CPropertyXml file;
    ASSERT_TRUE(file.AddControl(&com, false));
    ASSERT_TRUE(file.AddControl(&display, false));
    ASSERT_TRUE(file.AddPinP(&pinp, true));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_extsio.xml"));
}

TEST(PropertyXmlGolden, StreamingRowWritesItsAddressAsLink)
{
    CStreamingProperty stream;
    SetCommon(stream, 801000001, "Gate", "Camera", 0, MakeTime(2026, 3, 18, 18, 19, 20, 210),
              MakeDate(2026, 11, 30));
    ASSERT_TRUE(stream.SetAddress("127.0.0.2/live"));
    ASSERT_TRUE(stream.SetMode(1));
    ASSERT_TRUE(stream.SetUser("cam"));
    ASSERT_TRUE(stream.SetPassword("secret"));
    ASSERT_TRUE(stream.SetPort(8080));

    CPropertyXml file;
    ASSERT_TRUE(file.AddStreaming(&stream, false));
    EXPECT_EQ(SavedBytes(file), ReadGolden("property_stream.xml"));
}

TEST(PropertyXml, TableNamesOfEveryRecordClass)
{
    EXPECT_EQ(GetPropertyTableName(CMovieProperty()), "MOVIE_TBL");
    EXPECT_EQ(GetPropertyTableName(CImgProperty()), "STILL_TBL");
    EXPECT_EQ(GetPropertyTableName(CTelopProperty()), "TEXT_TBL");
    EXPECT_EQ(GetPropertyTableName(CWebProperty()), "WEB_TBL");
    EXPECT_EQ(GetPropertyTableName(CFlashProperty()), "WEB_TBL");
    EXPECT_EQ(GetPropertyTableName(CAudioProperty()), "AUDIO_TBL");
    EXPECT_EQ(GetPropertyTableName(CStreamingProperty()), "STREAM_TBL");
    EXPECT_EQ(GetPropertyTableName(CPinPProperty()), "EXTSIO_TBL");
    CControlProperty control;
    const std::pair<qint32, const char *> controls[] = {
        {CControlProperty::CTRL_COM, "EXTSIO_TBL"},
        {CControlProperty::CTRL_VOLUME, "AUDCONT_TBL"},
        {CControlProperty::CTRL_GPIO, "EXTGPIO_TBL"},
        {CControlProperty::CTRL_DISPLAY, "EXTSIO_TBL"},
    };
    for (const auto &[type, table] : controls) {
        ASSERT_TRUE(control.SetCtrlType(type));
        EXPECT_EQ(GetPropertyTableName(control), table) << type;
    }
}

TEST(PropertyXml, AddsRefuseNullAndUncopyableRecordsAndAppendNothing)
{
    CPropertyXml file;
    EXPECT_FALSE(file.AddMovie(nullptr, "x", false));
    EXPECT_EQ(file.GetLastError(), 87u);
    EXPECT_FALSE(file.AddWeb(nullptr, QString(), false));
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_FALSE(file.AddStreaming(nullptr, false));
    // A picture-in-picture record is not a plain control: its copy fails.
    const CPinPProperty pinp;
    EXPECT_FALSE(file.AddControl(&pinp, false));
    EXPECT_EQ(file.GetLastError(), 87u);
    EXPECT_EQ(file.GetCount(), 0);
}

TEST(PropertyXml, RowsAreCopiesTakenWhenAdded)
{
    CAudioProperty audio;
    ASSERT_TRUE(audio.SetIndex(601000009));
    ASSERT_TRUE(audio.SetTitle("before"));
    CPropertyXml file;
    ASSERT_TRUE(file.AddAudio(&audio, "a.mp3", false));
    ASSERT_TRUE(audio.SetTitle("after"));
    const QByteArray bytes = SavedBytes(file);
    EXPECT_TRUE(bytes.contains("<title>before</title>"));
    EXPECT_FALSE(bytes.contains("after"));
}

TEST(PropertyXml, EmptyFileAndRefusedPath)
{
    CPropertyXml file;
    EXPECT_EQ(SavedBytes(file), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                           "<content ver=\"1.0\" date=\"2026-04-01\" time=\"09:05:03\"/>\n"));
    EXPECT_FALSE(file.Save(QString(), kPropertyFileTime, 0));
    EXPECT_EQ(file.GetLastError(), 87u);
}

TEST(PropertyXml, FailedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("property1.xml");
    CMovieProperty movie;
    ASSERT_TRUE(movie.SetIndex(101000001));
    CPropertyXml file;
    ASSERT_TRUE(file.AddMovie(&movie, "m.mp4", false));
    ASSERT_TRUE(file.Save(path, kPropertyFileTime, 0));
    const QByteArray before = ReadFileBytes(path);

    EXPECT_FALSE(file.Save(dir.filePath("missing/property1.xml"), kPropertyFileTime, 0));
    EXPECT_EQ(file.GetLastError(), 3u);
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"property1.xml"});
}
