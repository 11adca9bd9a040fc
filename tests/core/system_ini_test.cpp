#include "core/last_error.h"
#include "core/system_ini.h"
#include "ini_test_support.h"

namespace {

class SystemIni : public IniFolderTest {
protected:
    void open(const QByteArray &contents)
    {
        writeFile("Q9S.ini", contents);
        m_ini.Open(path("Q9S.ini"), "/base");
    }

    CSystemIni m_ini;
};

TEST_F(SystemIni, MissingFileGivesEveryDefault)
{
    m_ini.Open(path("Q9S.ini"), "/home/op");
    const SystemSettings s = m_ini.Settings();
    EXPECT_FALSE(s.AutoSend);
    EXPECT_EQ(s.AutoSendStartTime, (TimeValue{1, 0, 0, 0}));
    EXPECT_EQ(s.NotSendStartTime, TimeValue{});
    EXPECT_TRUE(s.R40AppendEnable);
    EXPECT_TRUE(s.R40RetryEnable);
    EXPECT_EQ(s.R40RetryInterval, 300);
    EXPECT_EQ(s.R40CheckFreeThreshold, 10485760u);
    EXPECT_EQ(s.R40CheckFreeThresholdAV, 10485760u);
    EXPECT_EQ(s.RegContMinFree, 100u * 1024 * 1024);
    EXPECT_EQ(s.UrlThumbWidth, 1920);
    EXPECT_EQ(s.AutoDelOffsetDay, 30);
    EXPECT_EQ(s.TelopThumbHeight, 20);
    EXPECT_TRUE(s.FontFilter);
    EXPECT_EQ(s.LogFolder, "/home/op/TelvData/Q9Data/Log");
    EXPECT_EQ(s.LogLevel, 5);
    EXPECT_EQ(s.LogKeepDay, 30);
    EXPECT_EQ(s.User, 0);
    EXPECT_EQ(m_ini.GetTextSpeed(0), 100);
    EXPECT_EQ(m_ini.GetTextSpeed(1), 150);
    EXPECT_EQ(m_ini.GetTextSpeed(2), 200);
    EXPECT_EQ(m_ini.GetTextSpeed(3), 100);
    EXPECT_EQ(m_ini.GetTextSize(2), 100);
    EXPECT_EQ(m_ini.GetMaxCount(52), 2000);
    EXPECT_EQ(m_ini.GetMaxCount(53), 200);
    EXPECT_EQ(m_ini.GetMaxCount(51), 200);
    EXPECT_EQ(m_ini.GetMaxCount(7), 200);
    EXPECT_EQ(m_ini.GetContentIndex(1), 1);
    EXPECT_EQ(m_ini.GetContentIndex(51), 900001);
    EXPECT_EQ(m_ini.GetContentIndex(54), 900001);
    EXPECT_TRUE(m_ini.IsContentTypeUsed(6));
    EXPECT_FALSE(m_ini.IsContentLayerUsed(ContentLayer::Com1));
}

TEST_F(SystemIni, StoredValuesAreReadAndGarbageFallsBack)
{
    open("[Option]\nAutoSend=1\nAutoSendStartTime=02:30:00\nNotSendStartTime=25:00:00\nRemotePowerOn=1\n"
         "[ExOption]\nR40RetryInterval=abc\nR40AppendEnable=0\nR40CheckFreeThreshold=\n"
         "R40CheckFreeThresholdAV=20971520\nRegContMinFree=50\nUrlThumbDelay=-1\nAutoDelOffsetDay=7\n"
         "LogFolder=/var/log/q9\nLogLevel=12\nLogKeepDay=0\n"
         "[ExContents]\nMaxVideo=20000\nMaxPlaylist=-3\nMaxSchedule=0x10\nTextSpeedLow=80\n"
         "ColorTransparent=0x00FF00\nText24BitColor=1\n"
         "[Content\\Index]\nUser=3\n");
    const SystemSettings s = m_ini.Settings();
    EXPECT_TRUE(s.AutoSend);
    EXPECT_EQ(s.AutoSendStartTime, (TimeValue{2, 30, 0, 0}));
    EXPECT_EQ(s.NotSendStartTime, TimeValue{});
    EXPECT_TRUE(s.RemotePowerOn);
    EXPECT_EQ(s.R40RetryInterval, 300);
    EXPECT_FALSE(s.R40AppendEnable);
    EXPECT_EQ(s.R40CheckFreeThreshold, 10485760u); // empty
    EXPECT_EQ(s.R40CheckFreeThresholdAV, 20971520u);
    EXPECT_EQ(s.RegContMinFree, 50u * 1024 * 1024);
    EXPECT_EQ(s.UrlThumbDelay, 1000);
    EXPECT_EQ(s.AutoDelOffsetDay, 7);
    EXPECT_EQ(s.LogFolder, "/var/log/q9");
    EXPECT_EQ(s.LogLevel, 7);
    EXPECT_EQ(s.LogKeepDay, 30);
    EXPECT_EQ(m_ini.GetMaxCount(1), 9999);
    EXPECT_EQ(m_ini.GetMaxCount(52), 0);
    EXPECT_EQ(m_ini.GetMaxCount(51), 16);
    EXPECT_EQ(m_ini.GetTextSpeed(0), 80);
    EXPECT_EQ(s.ColorTransparent, 0x00FF00u);
    EXPECT_TRUE(s.Text24BitColor);
    EXPECT_EQ(s.User, 3);
}

TEST_F(SystemIni, MaxCountOnlyForListedTypes)
{
    m_ini.Open(path("Q9S.ini"), "/base");
    for (int type : {0, 9, 10, 11, 50, 54, 100})
        EXPECT_EQ(m_ini.GetMaxCount(type), 0) << type;
    for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 51, 52, 53})
        EXPECT_GT(m_ini.GetMaxCount(type), 0) << type;
}

TEST_F(SystemIni, CountersWrapAtTheirLimits)
{
    const struct {
        int type;
        int from;
        int next;
    } steps[] = {
        {1, 1, 2},          {1, 998997, 998998}, {1, 998998, 1},      {1, 998999, 1},
        {8, 998998, 1},     {10, 998998, 1},     {52, 98997, 98998},  {52, 98998, 1},
        {53, 98998, 1},     {51, 900001, 900002}, {51, 998998, 900001}, {54, 998998, 900001},
        {51, 5, 900001},    {3, -7, 1},          {1, 2147483647, 1},
    };
    for (const auto &step : steps) {
        EXPECT_EQ(CSystemIni::NextContentIndex(step.type, step.from), step.next) << step.type << " " << step.from;
        ASSERT_TRUE(m_ini.SetContentIndex(step.type, step.from));
        ASSERT_TRUE(m_ini.AdvanceContentIndex(step.type));
        EXPECT_EQ(m_ini.GetContentIndex(step.type), step.next);
    }
    EXPECT_EQ(CSystemIni::NextContentIndex(50, 1), -1);
}

TEST_F(SystemIni, SchedulesAndSequencesShareOneCounter)
{
    m_ini.Open(path("Q9S.ini"), "/base");
    ASSERT_TRUE(m_ini.SetContentIndex(51, 900010));
    ASSERT_TRUE(m_ini.AdvanceContentIndex(54));
    EXPECT_EQ(m_ini.GetContentIndex(51), 900011);
    EXPECT_EQ(m_ini.GetContentIndex(54), 900011);
    EXPECT_EQ(m_ini.GetContentIndex(52), 1); // untouched
}

TEST_F(SystemIni, SavedCounterIsWrittenAloneAndReadBack)
{
    open("[Content\\Index]\nUser=1\nPlaylist=40\n; keep me\n");
    ASSERT_TRUE(m_ini.SetContentIndex(52, 41));
    ASSERT_TRUE(m_ini.AdvanceContentIndex(52));
    ASSERT_TRUE(m_ini.SetContentIndex(1, 500)); // set but not saved
    ASSERT_TRUE(m_ini.SaveContentIndex(52));
    ASSERT_TRUE(m_ini.SaveContentIndex(54));
    EXPECT_EQ(readFile("Q9S.ini"), "[Content\\Index]\nUser=1\nPlaylist=42\nSchedule=900001\n; keep me\n");

    CSystemIni again;
    again.Open(path("Q9S.ini"), "/base");
    EXPECT_EQ(again.GetContentIndex(52), 42);
    EXPECT_EQ(again.GetContentIndex(1), 1);
}

TEST_F(SystemIni, CounterOutOfRangeInTheFileStartsOver)
{
    open("[Content\\Index]\nVideo=998999\nSchedule=12\nPlaylist=junk\nStill=77\n");
    EXPECT_EQ(m_ini.GetContentIndex(1), 1);
    EXPECT_EQ(m_ini.GetContentIndex(51), 900001);
    EXPECT_EQ(m_ini.GetContentIndex(52), 1);
    EXPECT_EQ(m_ini.GetContentIndex(2), 77);
}

TEST_F(SystemIni, TypesWithoutCounterAreRefused)
{
    for (int type : {0, 9, 11, 50, 55}) {
        SetLastError(0);
        EXPECT_FALSE(m_ini.SetContentIndex(type, 1));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_FALSE(m_ini.AdvanceContentIndex(type));
        EXPECT_FALSE(m_ini.SaveContentIndex(type));
        EXPECT_EQ(m_ini.GetContentIndex(type), 0);
    }
}

TEST_F(SystemIni, ContentTypeUseAndLayers)
{
    open("[Content\\Use]\nAudio=0\nPinP=0\n[Content\\Layer]\nDisplay=1\n");
    EXPECT_FALSE(m_ini.IsContentTypeUsed(6));
    EXPECT_FALSE(m_ini.IsContentTypeUsed(10));
    EXPECT_TRUE(m_ini.IsContentTypeUsed(1));
    for (int type : {50, 51, 52, 53})
        EXPECT_TRUE(m_ini.IsContentTypeUsed(type)) << type;
    for (int type : {0, 9, 11, 54})
        EXPECT_FALSE(m_ini.IsContentTypeUsed(type)) << type;
    EXPECT_TRUE(m_ini.IsContentLayerUsed(ContentLayer::Display));
    EXPECT_FALSE(m_ini.IsContentLayerUsed(ContentLayer::Audio));
}

TEST_F(SystemIni, CalendarColourNames)
{
    m_ini.Open(path("Q9S.ini"), "/base");
    EXPECT_EQ(m_ini.GetColorName(0), "");
    ASSERT_TRUE(m_ini.SetColorName(7, QString::fromUtf8("特別-4 展示")));
    EXPECT_EQ(m_ini.GetColorName(7), QString::fromUtf8("特別-4 展示"));
    EXPECT_EQ(readFile("Q9S.ini"), QString::fromUtf8("[Content\\Calendar]\nColorName_7=特別-4 展示\n").toUtf8());
    EXPECT_FALSE(m_ini.SetColorName(8, "x"));
    EXPECT_FALSE(m_ini.SetColorName(-1, "x"));
    EXPECT_EQ(m_ini.GetColorName(8), "");
}

TEST(SystemIniColors, EachListTypeHasItsOwnColourAndOthersAreWhite)
{
    QList<ColorRef> seen;
    for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 10, 51, 52, 53}) {
        const ColorRef color = CSystemIni::GetContentColor(type);
        EXPECT_NE(color, 0xFFFFFFu) << type;
        EXPECT_FALSE(seen.contains(color)) << type;
        seen.append(color);
    }
    for (int type : {0, 11, 50, 54, 99})
        EXPECT_EQ(CSystemIni::GetContentColor(type), 0xFFFFFFu) << type;
}

TEST_F(SystemIni, TheSettingsPagesValuesAreWrittenTogetherAndReadBack)
{
    open("; system\n[Option]\nAutoSend=0\nRemotePowerOn=1\n[ExOption]\nLogFolder=/var/log/q9\n");
    SystemSettings settings = m_ini.Settings();
    settings.AutoSend = true;
    settings.AutoSendStartTime = TimeValue{2, 30, 0, 0};
    settings.NotSendStartTime = TimeValue{22, 0, 0, 0};
    settings.NotSendEndTime = TimeValue{6, 0, 0, 0};
    settings.R40RetryEnable = false;
    settings.R40RetryInterval = 60;
    settings.LogFolder = QStringLiteral("/base/TelvData/Q9Data/Log"); // the default: stored as none
    settings.LogLevel = 7;
    settings.LogKeepDay = 10;
    settings.ColorTransparent = 0x00FF00;
    ASSERT_TRUE(m_ini.SaveSettings(settings));
    const QByteArray file = readFile("Q9S.ini");
    EXPECT_TRUE(file.startsWith("; system\n[Option]\nAutoSend=1\nRemotePowerOn=1\nAutoSendStartTime=02:30:00\n"));
    EXPECT_TRUE(file.contains("LogFolder=\n"));
    EXPECT_TRUE(file.contains("ColorTransparent=0x00FF00\n"));
    CSystemIni again;
    again.Open(path("Q9S.ini"), "/base");
    const SystemSettings read = again.Settings();
    EXPECT_TRUE(read.AutoSend);
    EXPECT_EQ(read.NotSendEndTime, (TimeValue{6, 0, 0, 0}));
    EXPECT_FALSE(read.R40RetryEnable);
    EXPECT_EQ(read.R40RetryInterval, 60);
    EXPECT_EQ(read.LogFolder, QStringLiteral("/base/TelvData/Q9Data/Log"));
    EXPECT_EQ(read.LogLevel, 7);
    EXPECT_EQ(read.LogKeepDay, 10);
    EXPECT_EQ(read.ColorTransparent, 0x00FF00u);
    EXPECT_TRUE(read.RemotePowerOn);

    ASSERT_TRUE(m_ini.SaveContentTypes({{8, false}, {10, false}}, {{1, 50}, {52, 9999}}));
    EXPECT_FALSE(m_ini.IsContentTypeUsed(8));
    EXPECT_FALSE(m_ini.IsContentTypeUsed(10));
    EXPECT_TRUE(m_ini.IsContentTypeUsed(1));
    EXPECT_EQ(m_ini.GetMaxCount(1), 50);
    EXPECT_EQ(m_ini.GetMaxCount(52), 9999);
    const QByteArray before = readFile("Q9S.ini");
    EXPECT_FALSE(m_ini.SaveContentTypes({{1, true}}, {{2, 10000}}));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(m_ini.SaveContentTypes({{51, true}}, {}));
    EXPECT_EQ(readFile("Q9S.ini"), before);
}

} // namespace
