// The send error lists of a worker: the file of each type, entries that keep
// the local file's write time and replace one another by content number,
// removal, the stored time read back at the precision the file keeps, and
// lists that survive a new worker (a later job).

#include "core/clock.h"
#include "core/file_utils.h"
#include "model/img_property.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"
#include "transfer/dlk_transfer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class ErrListProbe : public CDlkTransfer {
public:
    ErrListProbe()
        : CDlkTransfer(nullptr, nullptr)
    {
    }
    using CDlkTransfer::addErrList;
    using CDlkTransfer::getErrFileDateTime;
    using CDlkTransfer::getErrListInfo;
    using CDlkTransfer::loadErrList;
    using CDlkTransfer::removeErrList;
    using CDlkTransfer::storedFileTime;
};

class ErrListTest : public ::testing::Test {
protected:
    void SetUp() override { m_probe = makeProbe(); }

    std::unique_ptr<ErrListProbe> makeProbe()
    {
        auto probe = std::make_unique<ErrListProbe>();
        EXPECT_TRUE(probe->SetDlkName(QStringLiteral("Lobby")));
        EXPECT_TRUE(probe->SetPcFolder(m_dir.path(), playerFolder()));
        return probe;
    }

    QString playerFolder() const { return m_dir.filePath(QStringLiteral("Lobby")); }

    // A local file with a write time that has a sub-millisecond part.
    QString makeFile(const QString &name, qint64 seconds, long nanoseconds)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("content");
        file.close();
        const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
        EXPECT_EQ(0, utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0));
        return path;
    }

    static CMovieProperty movie(qint32 index, const QString &title)
    {
        CMovieProperty record;
        EXPECT_TRUE(record.SetIndex(index));
        EXPECT_TRUE(record.SetTitle(title));
        return record;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ErrListProbe> m_probe;
};

TEST_F(ErrListTest, EachListTypeHasItsFileInThePlayerFolder)
{
    const std::pair<int, const char *> expected[] = {
        {1, "ErrVideoList.xml"}, {2, "ErrStillList.xml"}, {3, "ErrTextList.xml"},
        {5, "ErrFlashList.xml"}, {6, "ErrAudioList.xml"},
    };
    for (const auto &[type, name] : expected) {
        CContentsList *list = nullptr;
        QString path;
        ASSERT_TRUE(m_probe->getErrListInfo(type, list, path)) << type;
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(type, list->GetContentType());
        EXPECT_EQ(QDir(playerFolder()).filePath(QString::fromLatin1(name)), path);
    }
    for (int type : {0, 4, 7, 8, 10, 50, 51, 52, 54}) {
        CContentsList *list = nullptr;
        QString path;
        EXPECT_FALSE(m_probe->getErrListInfo(type, list, path)) << type;
    }
}

TEST_F(ErrListTest, AddKeepsTheFileTimeReplacesByNumberAndSurvivesANewJob)
{
    const QString first = makeFile(QStringLiteral("first.mpg"), 1700000000, 123456789);
    const QString second = makeFile(QStringLiteral("second.mpg"), 1700000100, 5);
    m_probe->addErrList(movie(101000001, QStringLiteral("one")), first);
    m_probe->addErrList(movie(101000002, QStringLiteral("two")), first);
    m_probe->addErrList(movie(101000001, QStringLiteral("one again")), second);

    // A later job's worker reads what the earlier one saved.
    auto later = makeProbe();
    ASSERT_TRUE(later->loadErrList());
    CContentsList *list = nullptr;
    QString path;
    ASSERT_TRUE(later->getErrListInfo(1, list, path));
    ASSERT_EQ(2, list->GetCount());
    const int position = list->FindCode(101000001);
    ASSERT_GE(position, 0);
    EXPECT_EQ(QStringLiteral("one again"), list->GetAt(position)->GetTitle());

    FileTime kept = 0;
    FileTime local = 0;
    ASSERT_TRUE(later->getErrFileDateTime(1, list, position, kept));
    ASSERT_TRUE(GetFileWriteTime(second, local));
    EXPECT_EQ(ErrListProbe::storedFileTime(local), kept);

    // The sub-millisecond part of a write time is not kept, so only the cut
    // time matches an unchanged file.
    const int other = list->FindCode(101000002);
    ASSERT_TRUE(later->getErrFileDateTime(1, list, other, kept));
    ASSERT_TRUE(GetFileWriteTime(first, local));
    EXPECT_NE(local, kept);
    EXPECT_EQ(ErrListProbe::storedFileTime(local), kept);
}

TEST_F(ErrListTest, RemoveDropsTheEntryAndSavesTheList)
{
    const QString file = makeFile(QStringLiteral("a.mpg"), 1700000000, 0);
    m_probe->addErrList(movie(101000001, QStringLiteral("one")), file);
    m_probe->addErrList(movie(101000002, QStringLiteral("two")), file);
    m_probe->removeErrList(movie(101000001, QString()));
    m_probe->removeErrList(movie(101000009, QString())); // not listed: nothing changes

    CMovieList saved;
    ASSERT_TRUE(saved.Load(QDir(playerFolder()).filePath(QStringLiteral("ErrVideoList.xml"))));
    ASSERT_EQ(1, saved.GetCount());
    EXPECT_EQ(101000002, saved.GetAt(0)->GetIndex());
}

TEST_F(ErrListTest, TypesWithoutAListAndMissingFilesAreIgnored)
{
    CWebProperty web;
    ASSERT_TRUE(web.SetIndex(401000001));
    const QString file = makeFile(QStringLiteral("page.html"), 1700000000, 0);
    m_probe->addErrList(web, file);
    m_probe->addErrList(movie(101000001, QStringLiteral("gone")), m_dir.filePath(QStringLiteral("missing.mpg")));

    EXPECT_TRUE(QDir(playerFolder()).entryList(QDir::Files).isEmpty());
}

TEST_F(ErrListTest, ABrokenListFileStartsEmptyAndIsReplacedOnTheNextChange)
{
    const QString path = QDir(playerFolder()).filePath(QStringLiteral("ErrStillList.xml"));
    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<contentlist><content><index>2010");
    broken.close();

    ASSERT_TRUE(m_probe->loadErrList());
    CContentsList *list = nullptr;
    QString listPath;
    ASSERT_TRUE(m_probe->getErrListInfo(2, list, listPath));
    EXPECT_EQ(0, list->GetCount());

    CImgProperty still;
    ASSERT_TRUE(still.SetIndex(201000001));
    m_probe->addErrList(still, makeFile(QStringLiteral("a.jpg"), 1700000000, 0));
    auto later = makeProbe();
    ASSERT_TRUE(later->loadErrList());
    ASSERT_TRUE(later->getErrListInfo(2, list, listPath));
    EXPECT_EQ(1, list->GetCount());
}

TEST_F(ErrListTest, ReadingAnEntryFailsForABadPositionOrType)
{
    CContentsList *list = nullptr;
    QString path;
    ASSERT_TRUE(m_probe->getErrListInfo(3, list, path));
    CTelopProperty telop;
    ASSERT_TRUE(telop.SetIndex(301000001));
    m_probe->addErrList(telop, makeFile(QStringLiteral("t.txt"), 1700000000, 0));

    FileTime time = 0;
    EXPECT_TRUE(m_probe->getErrFileDateTime(3, list, 0, time));
    EXPECT_NE(0u, time);
    EXPECT_FALSE(m_probe->getErrFileDateTime(3, list, 1, time));
    EXPECT_EQ(std::make_pair(4u, 1000u), std::make_pair(m_probe->GetState(), m_probe->GetDetail()));
    EXPECT_FALSE(m_probe->getErrFileDateTime(4, list, 0, time));
    EXPECT_EQ(std::make_pair(4u, 1000u), std::make_pair(m_probe->GetState(), m_probe->GetDetail()));
}

} // namespace
