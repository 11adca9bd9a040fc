// Player setup documents: values, merge of the details, stored and send forms,
// and their paths.

#include "core/last_error.h"
#include "player/setup_xml.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

TEST(SetupXmlTest, DetailsMergeOverTheSetup)
{
    SetupData setup;
    ASSERT_TRUE(setup.SetValue(SetupKey::kNetwork, QStringLiteral("ipaddress"), QStringLiteral("192.168.0.10")));
    ASSERT_TRUE(setup.SetValue(SetupKey::kHttp, QStringLiteral("port"), QStringLiteral("4980")));
    SetupData details;
    ASSERT_TRUE(details.SetValue(SetupKey::kHttp, QStringLiteral("port"), QStringLiteral("8080")));
    ASSERT_TRUE(details.SetValue(QStringLiteral("volume"), QStringLiteral("level"), QStringLiteral("50")));
    setup.MergeFrom(details);

    EXPECT_EQ(setup.Value(SetupKey::kHttp, QStringLiteral("port")), QStringLiteral("8080"));
    EXPECT_EQ(setup.Value(SetupKey::kNetwork, QStringLiteral("ipaddress")), QStringLiteral("192.168.0.10"));
    EXPECT_EQ(setup.Value(QStringLiteral("volume"), QStringLiteral("level")), QStringLiteral("50"));
    EXPECT_TRUE(setup.Value(QStringLiteral("volume"), QStringLiteral("none")).isNull());
    ASSERT_EQ(setup.Sections().size(), 3);
    EXPECT_EQ(setup.Sections()[2].name, QStringLiteral("volume"));

    EXPECT_FALSE(setup.SetValue(QStringLiteral("bad name"), QStringLiteral("x"), QString()));
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(setup.SetValue(SetupKey::kOption, QStringLiteral("1st"), QString()));
    EXPECT_FALSE(setup.SetValue(SetupKey::kOption, QStringLiteral("名前"), QString()));
}

TEST(SetupXmlTest, StoredAndSendFormsRoundTrip)
{
    QTemporaryDir folder;
    SetupData data;
    data.SetValue(SetupKey::kNetwork, QStringLiteral("name"), QStringLiteral("受付 <1> & 2"));
    data.SetValue(SetupKey::kPower, QStringLiteral("poweron"), QStringLiteral("1899-12-30 10:00:00.000"));
    data.SetValue(SetupKey::kOption, QStringLiteral("text"), QString());
    CSetupXml xml;
    xml.SetSetupData(data);

    const QString stored = folder.filePath(QStringLiteral("kdp-r40_setup.xml"));
    ASSERT_TRUE(xml.Save(stored));
    const QByteArray storedBytes = readAll(stored);
    EXPECT_TRUE(storedBytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<setup ver=\"1.0\">\n\t<network>\n\t\t<name>"));
    CSetupXml loaded;
    ASSERT_TRUE(loaded.Load(stored));
    SetupData back;
    loaded.GetSetupData(back);
    EXPECT_EQ(back, data);

    const QString send = MakeSetupSendFilePath(folder.path());
    ASSERT_TRUE(xml.SaveForSend(send, SystemTime {2026, 4, 0, 1, 9, 5, 7, 0}));
    EXPECT_TRUE(readAll(send).contains("<setup ver=\"1.0\" date=\"2026-04-01\" time=\"09:05:07\">"));
    ASSERT_TRUE(loaded.Load(send));
    loaded.GetSetupData(back);
    EXPECT_EQ(back, data);
    // Both forms may carry the player's password: only their user reads them.
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    EXPECT_EQ(QFile::permissions(stored), ownerOnly);
    EXPECT_EQ(QFile::permissions(send), ownerOnly);
}

TEST(SetupXmlTest, LoadRefusesWhatIsNotASetup)
{
    QTemporaryDir folder;
    CSetupXml xml;
    SetupData data;
    data.SetValue(SetupKey::kHttp, QStringLiteral("port"), QStringLiteral("1"));
    xml.SetSetupData(data);

    EXPECT_FALSE(xml.Load(folder.filePath(QStringLiteral("missing.xml"))));
    EXPECT_EQ(GetLastError(), quint32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(xml.Load(folder.filePath(QStringLiteral("no/missing.xml"))));
    EXPECT_EQ(GetLastError(), quint32(ERROR_PATH_NOT_FOUND));

    const QString path = folder.filePath(QStringLiteral("x.xml"));
    writeAll(path, "<config><http><port>1</port></http></config>");
    EXPECT_FALSE(xml.Load(path));
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_DATA));
    writeAll(path, "<setup><http><port>1</port></http>");
    EXPECT_FALSE(xml.Load(path));
    xml.GetSetupData(data);
    EXPECT_TRUE(data.IsEmpty());

    // Deeper elements are passed over; their value keeps its own text.
    writeAll(path, "<setup><http><port>80<extra>1</extra></port><password>p</password></http></setup>");
    ASSERT_TRUE(xml.Load(path));
    xml.GetSetupData(data);
    EXPECT_EQ(data.Value(SetupKey::kHttp, QStringLiteral("port")), QStringLiteral("80"));
    EXPECT_EQ(data.Value(SetupKey::kHttp, QStringLiteral("password")), QStringLiteral("p"));
}

TEST(SetupXmlTest, Paths)
{
    EXPECT_EQ(MakeSetupFilePath(QStringLiteral("/b"), 3), QStringLiteral("/b/TelvData/Q9Data/Setup/3/kdp-r40_setup.xml"));
    EXPECT_EQ(MakeDetailSetupFilePath(QStringLiteral("/b"), 0), QStringLiteral("/b/TelvData/Q9Data/Setup/0/detail_setup.xml"));
    EXPECT_EQ(MakeSetupFileFolderPath(QStringLiteral("/b"), 12), QStringLiteral("/b/TelvData/Q9Data/Setup/12/File"));
    EXPECT_EQ(MakeSetupSendFilePath(QStringLiteral("/b/KDP-R40/p1")), QStringLiteral("/b/KDP-R40/p1/kdp-r40_setup_send.xml"));
    EXPECT_EQ(MakeSetupNetFilePath(QStringLiteral("/b"), false), QStringLiteral("/b/TelvData/Q9Data/Setup/kdp-r40_setup_net.xml"));
    EXPECT_EQ(MakeSetupNetFilePath(QStringLiteral("/b"), true), QStringLiteral("/b/TelvData/Q9Data/Setup/kdp-r40_setup_net_send.xml"));
    EXPECT_TRUE(MakeSetupFilePath(QStringLiteral("/b"), -1).isEmpty());
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(MakeSetupSendFilePath(QString()).isEmpty());
    EXPECT_TRUE(MakeSetupNetFilePath(QString(), true).isEmpty());
}

} // namespace
