#include "core/setting_ini.h"
#include "ini_test_support.h"

namespace {

class SettingIni : public IniFolderTest {
protected:
    void open(const QByteArray &contents)
    {
        writeFile("Y5.ini", contents);
        m_ini.Open(path("Y5.ini"));
    }

    CSettingIni m_ini;
};

TEST_F(SettingIni, MissingFileGivesDefaults)
{
    m_ini.Open(path("Y5.ini"));
    const SystemOptions o = m_ini.Options();
    EXPECT_EQ(o.InitSeq, 0);
    EXPECT_EQ(o.PowerOnTime, (TimeValue{10, 0, 0, 0}));
    EXPECT_EQ(o.PowerOffTime, (TimeValue{18, 0, 0, 0}));
    EXPECT_EQ(o.MaxSession, 5);
    EXPECT_EQ(o.HttpPort, 4980);
    EXPECT_FALSE(o.RunPassUse);
    EXPECT_FALSE(o.SetupPassUse);
    EXPECT_FALSE(m_ini.IsLocalUrlEnabled());
}

TEST_F(SettingIni, SetUpKeysLiveInTheSysytemSection)
{
    open("[System]\nInitSeq=7\n[sysytem]\nInitSeq=5\nPowerOnTime=06:30:00\nPowerOffTime=bad\n");
    const SystemOptions o = m_ini.Options();
    EXPECT_EQ(o.InitSeq, 5);
    EXPECT_EQ(o.PowerOnTime, (TimeValue{6, 30, 0, 0}));
    EXPECT_EQ(o.PowerOffTime, (TimeValue{18, 0, 0, 0}));
}

TEST_F(SettingIni, SessionsAndPortOutsideTheirRangeFallBack)
{
    for (const char *text : {"0", "-2", "x"}) {
        open(QByteArray("[Option]\nMaxSession=") + text + "\nHttpPort=70000\n");
        EXPECT_EQ(m_ini.Options().MaxSession, 5) << text;
        EXPECT_EQ(m_ini.Options().HttpPort, 4980) << text;
    }
    open("[Option]\nMaxSession=12\nHttpPort=8080\n");
    EXPECT_EQ(m_ini.Options().MaxSession, 12);
    EXPECT_EQ(m_ini.Options().HttpPort, 8080);
}

TEST_F(SettingIni, LocalUrlIsForcedOnBySIUseWithoutChangingTheStoredSwitch)
{
    open("[Option]\nSILocalUrl=0\nSIUse=1\n");
    EXPECT_TRUE(m_ini.IsLocalUrlEnabled());
    EXPECT_FALSE(m_ini.Options().SILocalUrl);
    ASSERT_TRUE(m_ini.Save());
    EXPECT_EQ(m_ini.Options().SILocalUrl, false);
    EXPECT_TRUE(readFile("Y5.ini").contains("SILocalUrl=0\n"));

    open("[Option]\nSILocalUrl=1\n");
    EXPECT_TRUE(m_ini.IsLocalUrlEnabled());
}

TEST_F(SettingIni, SaveWritesTheRecordAndKeepsUnknownKeys)
{
    open("; options\n[Sysytem]\nInitSeq=0\nTimeSync=1\n[Option]\nRunPassUse=0\n");
    m_ini.SetInitSeq(7);
    SystemOptions o = m_ini.Options();
    o.PowerOffTime = TimeValue{23, 5, 9, 0};
    o.RunPassUse = true;
    m_ini.SetOptions(o);
    ASSERT_TRUE(m_ini.Save());
    const QByteArray file = readFile("Y5.ini");
    EXPECT_TRUE(file.startsWith("; options\n[Sysytem]\nInitSeq=7\nTimeSync=1\nPowerOnTime=10:00:00\nPowerOffTime=23:05:09\n"));
    EXPECT_TRUE(file.contains("[Option]\nRunPassUse=1\n"));

    CSettingIni again;
    again.Open(path("Y5.ini"));
    EXPECT_EQ(again.Options().InitSeq, 7);
    EXPECT_EQ(again.Options().PowerOffTime, (TimeValue{23, 5, 9, 0}));
    EXPECT_TRUE(again.Options().RunPassUse);
}

TEST_F(SettingIni, PasswordsAreStoredAsTypedInAFileOnlyItsUserReads)
{
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    // A file written earlier with the usual mode is private from its next save.
    open("[Option]\nRunPassUse=1\n");
    SystemOptions o = m_ini.Options();
    o.RunPassword = QStringLiteral("kdp r40=1");
    o.SetupPassword = QStringLiteral("設定");
    m_ini.SetOptions(o);
    ASSERT_TRUE(m_ini.Save());
    EXPECT_TRUE(readFile("Y5.ini").contains("RunPassword=kdp r40=1\n"));
    EXPECT_EQ(QFile::permissions(path("Y5.ini")), owner);

    // A new file, and one made anew after a damaged one was set aside, are
    // private from their first byte.
    for (const QByteArray &before : {QByteArray(), QByteArray("not\0an ini", 10)}) {
        QFile::remove(path("Y5.ini"));
        if (!before.isEmpty())
            open(before);
        CSettingIni fresh;
        fresh.Open(path("Y5.ini"));
        fresh.SetOptions(o);
        ASSERT_TRUE(fresh.Save());
        EXPECT_EQ(QFile::permissions(path("Y5.ini")), owner);
    }
    EXPECT_TRUE(QFile::exists(path("Y5.ini.damaged")));
    CSettingIni again;
    again.Open(path("Y5.ini"));
    EXPECT_EQ(again.Options().RunPassword, QStringLiteral("kdp r40=1"));
    EXPECT_EQ(again.Options().SetupPassword, QStringLiteral("設定"));
}

} // namespace
