#include "core/app_ini.h"
#include "ini_test_support.h"

namespace {

class AppIni : public IniFolderTest {
protected:
    void open(const QByteArray &contents)
    {
        writeFile("Q9A.ini", contents);
        m_ini.Open(path("Q9A.ini"), "/home/op");
    }

    CAppIni m_ini;
};

TEST_F(AppIni, WindowRectangleRoundTripAndNegativeCornerKeepsTheSize)
{
    open("");
    WinRect rect;
    EXPECT_FALSE(m_ini.GetWindowRect(80, rect));
    EXPECT_TRUE(rect.isEmpty());

    ASSERT_TRUE(m_ini.SetWindowRect(80, WinRect{-30, -5, 770, 595}));
    EXPECT_EQ(readFile("Q9A.ini"), "[Window_80]\nWindowLeft=0\nWindowTop=0\nWindowWidth=800\nWindowHeight=600\n");
    ASSERT_TRUE(m_ini.GetWindowRect(80, rect));
    EXPECT_EQ(rect, (WinRect{0, 0, 800, 600}));

    ASSERT_TRUE(m_ini.SetWindowRect(1, WinRect{100, 50, 400, 250}));
    ASSERT_TRUE(m_ini.GetWindowRect(1, rect));
    EXPECT_EQ(rect, (WinRect{100, 50, 400, 250}));
}

TEST_F(AppIni, WindowSectionWithoutUsableSizeGivesAnEmptyRectangle)
{
    open("[Window_83]\nWindowLeft=10\nWindowTop=10\nWindowWidth=abc\nWindowHeight=100\n"
         "[Window_84]\nWindowLeft=10\nWindowTop=10\nWindowWidth=-100\nWindowHeight=100\n");
    WinRect rect{1, 2, 3, 4};
    EXPECT_FALSE(m_ini.GetWindowRect(83, rect));
    EXPECT_EQ(rect, WinRect{});
    EXPECT_FALSE(m_ini.GetWindowRect(84, rect));
    EXPECT_EQ(rect, WinRect{});
}

TEST_F(AppIni, DefaultsOfTheRememberedChoices)
{
    open("");
    EXPECT_EQ(m_ini.GetLastGuideSelect(), -1);
    EXPECT_TRUE(m_ini.GetSettingsOpen());
    EXPECT_EQ(m_ini.GetWindowActive(1505), 0);
    EXPECT_EQ(m_ini.GetLastPreviewSet(), -1);
    EXPECT_TRUE(m_ini.GetLastThumbDisp(2));
    EXPECT_EQ(m_ini.GetRecoverContIndex(3), -1);
    EXPECT_EQ(m_ini.GetScSaverContIndex(3), -1);
    EXPECT_EQ(m_ini.GetLastPlayTime(1), (PlayLength{0, 0, 10, 0}));
    EXPECT_EQ(m_ini.GetLastPlayMode(1), 0);
    EXPECT_EQ(m_ini.GetEditFontSize(), 24);
    EXPECT_EQ(m_ini.GetLastExportFolder(), "/home/op");
    EXPECT_EQ(m_ini.GetLastUpdateFolder(), "");
    QString folder, extension = "x";
    m_ini.GetLastFolder(1, folder, extension);
    EXPECT_EQ(folder, "/home/op");
    EXPECT_EQ(extension, "");
    m_ini.GetLastTextFolder(folder);
    EXPECT_EQ(folder, "/home/op/TelvData/Q9Data");
}

TEST_F(AppIni, ChoicesAreWrittenUnderTheirSectionsAndKeys)
{
    open("");
    ASSERT_TRUE(m_ini.SetLastGuideSelect(1507));
    ASSERT_TRUE(m_ini.SetWindowActive(1507, 30));
    ASSERT_TRUE(m_ini.SetColumnDisp(11, 52, 3, false));
    ASSERT_TRUE(m_ini.SetListWidth(11, 52, 3, 120));
    ASSERT_TRUE(m_ini.SetLastResolution(4));
    ASSERT_TRUE(m_ini.SetLastFolder(2, "/media/stills", ".jpg"));
    ASSERT_TRUE(m_ini.SetLastPlayTime(3, PlayLength{1, 2, 3, 44}));
    ASSERT_TRUE(m_ini.SetRecoverContIndex(5, 102000017));
    ASSERT_TRUE(m_ini.SetLastExportFolder("/mnt/usb"));
    EXPECT_EQ(readFile("Q9A.ini"),
              "[Window]\nLastGuideSelect=1507\nWindowActive_1507=30\n\n"
              "[Window_11]\nColumnDisp_52_3=0\nListWidth_52_3=120\n\n"
              "[Playlist]\nLastResolution=4\n\n"
              "[Contents]\nLastFolder_2=/media/stills\nLastExt_2=.jpg\nLastPlayTime_3=01:02:03\nRecoverContIndex_5=102000017\n\n"
              "[Config]\nLastExportFolder=/mnt/usb\n");
    EXPECT_FALSE(m_ini.GetColumnDisp(11, 52, 3, true));
    EXPECT_TRUE(m_ini.GetColumnDisp(11, 52, 4, true));
    EXPECT_EQ(m_ini.GetListWidth(11, 52, 3, 80), 120);
    EXPECT_EQ(m_ini.GetListWidth(12, 52, 3, 80), 80);
    QString folder, extension;
    m_ini.GetLastFolder(2, folder, extension);
    EXPECT_EQ(folder, "/media/stills");
    EXPECT_EQ(extension, ".jpg");
}

TEST_F(AppIni, TelopColourListLivesInMemoryUntilSaved)
{
    open("[Telop]\nLastFont=IPAGothic\nLastColor_0=16777215\nLastColor_1=0xFF\nLastColor_3=5\n");
    // The list stops at the first gap.
    EXPECT_EQ(m_ini.GetTelopColorCount(), 2);
    ColorRef color = 0;
    ASSERT_TRUE(m_ini.GetTelopColor(1, color));
    EXPECT_EQ(color, 0xFFu);
    EXPECT_FALSE(m_ini.GetTelopColor(2, color));
    EXPECT_FALSE(m_ini.SetTelopColor(2, 1));
    EXPECT_FALSE(m_ini.GetTelopColor(-1, color));

    m_ini.ClearTelopColors();
    m_ini.AddTelopColor(0x123456);
    EXPECT_EQ(m_ini.GetTelopColorCount(), 1);
    ASSERT_TRUE(m_ini.SetTelopColor(0, 0x654321));
    EXPECT_EQ(m_ini.GetTelopSettings().LastFont, "IPAGothic");
    TelopSettings settings = m_ini.GetTelopSettings();
    settings.LastEffect = 2;
    settings.LastTransparent = true;
    m_ini.SetTelopSettings(settings);
    // Nothing reaches the file before the save.
    EXPECT_TRUE(readFile("Q9A.ini").contains("LastColor_1=0xFF"));
    ASSERT_TRUE(m_ini.SaveTelopSettings());

    CAppIni again;
    again.Open(path("Q9A.ini"), "/home/op");
    EXPECT_EQ(again.GetTelopColorCount(), 1);
    ASSERT_TRUE(again.GetTelopColor(0, color));
    EXPECT_EQ(color, 0x654321u);
    EXPECT_EQ(again.GetTelopSettings().LastEffect, 2);
    EXPECT_TRUE(again.GetTelopSettings().LastTransparent);
    EXPECT_FALSE(readFile("Q9A.ini").contains("LastColor_1="));
    EXPECT_TRUE(readFile("Q9A.ini").contains("LastColor_3=5")); // beyond the gap: not part of the list
}

} // namespace
