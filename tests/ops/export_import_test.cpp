// Export of playlists with their contents to a package file and to a drive
// folder, and import into another library: what travels, what is left out,
// duplicate names, and packages that try to write outside the data folder.
#include "cab/cab_format.h"
#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "core/time_utils.h"
#include "model/media_property.h"
#include "model/stored_list_files.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"
#include "ops/export_import.h"
#include "ops_test_library.h"
#include "support/kill_at_every_step.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct Posted {
    int number;
    quint32 wParam;
    quint32 lParam;
};

// The messages of one run.
class Recorder {
public:
    ExImportPost post()
    {
        return [this](int number, quint32 wParam, quint32 lParam) { messages.push_back({number, wParam, lParam}); };
    }
    int count(int number) const
    {
        return int(std::count_if(messages.begin(), messages.end(), [number](const Posted &p) { return p.number == number; }));
    }
    std::vector<Posted> messages;
};

const QList<QPair<qint32, int>> kEveryKind = {
    {100000001, 1}, {800000001, 8}, {200000001, 2}, {400000001, 4}, {400000002, 4}, {500000001, 5}, {300000001, 3}};

void FillLibrary(TestLibrary &library)
{
    library.addContent(1, 100000001, QStringLiteral("clip.mp4"), QByteArray(70000, 'v'));
    library.addContent(8, 800000001, QString(), QByteArray());
    library.addContent(2, 200000001, QStringLiteral("pic.jpg"), QByteArray(3000, 's'));
    library.addContent(4, 400000001, QString(), "page");
    library.addContent(4, 400000002, QStringLiteral("https://example.com/"), QByteArray());
    library.addContent(5, 500000001, QStringLiteral("anim.swf"), QByteArray(500, 'f'));
    library.addContent(3, 300000001, QString(), "telop bitmap");
    library.addPlaylist(520000001, kEveryKind);
    ASSERT_TRUE(library.save());
}

// The paths whose bytes differ or that only one side has.
QStringList Differences(const QMap<QString, QByteArray> &a, const QMap<QString, QByteArray> &b)
{
    QStringList differ;
    for (auto it = a.begin(); it != a.end(); ++it) {
        if (b.value(it.key(), QByteArray("<none>")) != it.value())
            differ << it.key();
    }
    for (auto it = b.begin(); it != b.end(); ++it) {
        if (!a.contains(it.key()))
            differ << it.key();
    }
    return differ;
}

QMap<QString, QByteArray> WithoutScratch(QMap<QString, QByteArray> files)
{
    files.removeIf([](const auto &it) {
        return it.key().contains(QLatin1String("/Export/")) || it.key().contains(QLatin1String("bad name"));
    });
    return files;
}

// Imports the package into target, which must refuse it before a file is
// copied, with nothing of the library changed.
void ExpectImportRefused(TestLibrary &target, const QString &package)
{
    const auto before = target.files();
    Recorder recorder;
    CExImport run(target.store(), target.root(), recorder.post());
    EXPECT_EQ(run.ImportMain(package), IMPORT_FAILED);
    EXPECT_EQ(recorder.count(IMPORT_MSG_FILE), 0);
    EXPECT_EQ(Differences(target.files(), before).join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_EQ(target.store().GetList(1)->GetCount(), 0);
}

// An import that answers its question, records what it was asked, and may
// stop at the first progress inside one item.
class AnsweringImport {
public:
    AnsweringImport(TestLibrary &library, bool answer, quint32 stopInside = 0)
        : run(library.store(), library.root(), [this, answer, stopInside](int number, quint32 wParam, quint32) {
              // Where a test kills the import at each step in turn.
              KillPoint();
              if (number == IMPORT_MSG_ASK) {
                  asked = run.GetReplacements();
                  ++asks;
                  run.AnswerReplace(answer);
              }
              if (number == IMPORT_MSG_FILE)
                  current = wParam;
              if (number == IMPORT_MSG_PERCENT && stopInside != 0 && current == stopInside)
                  run.StopExImport();
          })
    {
    }
    QList<quint32> askedNumbers() const
    {
        QList<quint32> numbers;
        for (const ImportReplacement &item : asked)
            numbers << item.number;
        return numbers;
    }
    QList<quint32> importedNumbers() const
    {
        QList<quint32> numbers;
        for (const ImportedItem &item : run.GetImportedItems())
            numbers << item.number;
        return numbers;
    }

    CExImport run;
    QList<ImportReplacement> asked;
    int asks = 0;
    quint32 current = 0;
};

void ExportPlaylist(TestLibrary &library, qint32 playlist, const QString &package)
{
    ASSERT_EQ(CExImport(library.store(), library.root(), nullptr).ExportMain({{quint32(playlist)}, package, true, false}),
              EXPORT_DONE);
}

// The library's list of a type in memory is the list file on disk.
void ExpectListAsItsFile(TestLibrary &library, int type)
{
    QTemporaryDir dir;
    const QString copy = QDir(dir.path()).filePath(QStringLiteral("list.xml"));
    ASSERT_TRUE(library.store().GetList(type)->Save(copy, 1));
    QFile memory(copy);
    QFile disk(library.store().GetListPath(type));
    ASSERT_TRUE(memory.open(QIODevice::ReadOnly) && disk.open(QIODevice::ReadOnly));
    EXPECT_EQ(memory.readAll(), disk.readAll()) << "type " << type;
}

QString TextFolder(const TestLibrary &library)
{
    return QDir(library.root()).filePath(QStringLiteral("TelvData/Q9Data/Text"));
}

// The stored files of a playlist that are there: its list file, then its layers'.
QStringList PlaylistFiles(TestLibrary &library, qint32 playlist)
{
    StoredListFiles files;
    EXPECT_TRUE(PlaylistFilesIn(PackageFolders::OfLibrary(library.store(), library.root()), quint32(playlist), files));
    QStringList there;
    for (const QString &path : files.Paths()) {
        if (QFileInfo(path).isFile())
            there << path;
    }
    return there;
}

} // namespace

TEST(ExportImport, APackageFileCarriesEveryKindIntoAnotherLibraryByteForByte)
{
    QTemporaryDir out;
    const QString package = QDir(out.path()).filePath(QStringLiteral("carry/Q9Content.plst"));
    QMap<QString, QByteArray> exported;
    {
        TestLibrary source;
        FillLibrary(source);
        Recorder recorder;
        CExImport run(source.store(), source.root(), recorder.post());
        ASSERT_EQ(run.ExportMain({{520000001}, package, true, false}), EXPORT_DONE);
        ASSERT_EQ(recorder.count(EXPORT_MSG_END), 1);
        EXPECT_EQ(recorder.messages.back().number, EXPORT_MSG_END);
        // The playlist and seven contents, the video listed once although two cells play it.
        EXPECT_EQ(run.GetTotalCount(), 8u);
        EXPECT_EQ(recorder.count(EXPORT_MSG_FILE), 8);
        EXPECT_EQ(recorder.count(EXPORT_MSG_COMPRESS), 1);
        EXPECT_EQ(run.GetLeftOutFiles(), QStringList{QStringLiteral("400000001/bad name.png")});
        EXPECT_FALSE(QFileInfo::exists(run.ExportFolder() + QStringLiteral("/Q9Content.plst")));
        exported = WithoutScratch(source.files());
    }
    TestLibrary target;
    ASSERT_TRUE(target.save());
    Recorder recorder;
    // The unpacked video is moved into the library, not copied.
    const QString unpacked = QDir(CExImport(target.store(), target.root(), nullptr).ImportFolder())
                                 .filePath(QStringLiteral("TelvData/Content/Video/clip.mp4"));
    struct stat unpackedFile {};
    const ExImportPost record = recorder.post();
    CExImport run(target.store(), target.root(), [&](int number, quint32 wParam, quint32 lParam) {
        if (number == IMPORT_MSG_FILE && wParam == 100000001)
            EXPECT_EQ(::stat(QFile::encodeName(unpacked).constData(), &unpackedFile), 0);
        record(number, wParam, lParam);
    });
    ASSERT_EQ(run.ImportMain(package), IMPORT_DONE);
    EXPECT_EQ(recorder.count(IMPORT_MSG_END), 1);
    EXPECT_EQ(recorder.count(IMPORT_MSG_FILE), 8);
    // Every file, the web address's thumbnails among them.
    EXPECT_EQ(Differences(WithoutScratch(target.files()), exported).join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_FALSE(QFileInfo::exists(run.ImportFolder()));
    // A media file takes the time its record names.
    const auto *video = dynamic_cast<const CMediaProperty *>(target.store().GetList(1)->GetAt(0));
    ASSERT_NE(video, nullptr);
    const QString videoPath = JoinPath(target.store().GetContentFolder(1), video->GetLink());
    EXPECT_EQ(CompareSystemTime(ToSystemTime(QFileInfo(videoPath).lastModified()), video->GetFileDate()), 0);
    struct stat libraryFile {};
    ASSERT_EQ(::stat(QFile::encodeName(videoPath).constData(), &libraryFile), 0);
    EXPECT_EQ(libraryFile.st_ino, unpackedFile.st_ino);

    // The same package again holds nothing new.
    EXPECT_EQ(run.ImportMain(package), IMPORT_NOTHING);
}

// The export and the import run on their worker while the window repaints
// every library list; each paint sees only whole records, and the import
// ends with every kind in the library (run under ThreadSanitizer too).
TEST(ExportImport, ExportAndImportRunWhileTheListRepaints)
{
    QTemporaryDir out;
    const QString package = QDir(out.path()).filePath(QStringLiteral("Q9Content.plst"));
    const auto paintAll = [](CContentsStore &store) {
        for (int type : {1, 2, 3, 4, 5, 8, 52}) {
            CContentsList &list = *store.GetList(type);
            for (int row = 0; row < list.GetDisplayCount(); ++row)
                EXPECT_GT(list.GetDisplayAt(row)->GetIndex(), 0);
        }
    };
    TestLibrary source;
    FillLibrary(source);
    int exported = -1;
    RunWhileTheWindowPaints(
        [&] { exported = CExImport(source.store(), source.root(), nullptr).ExportMain({{520000001}, package, true, false}); },
        [&] { paintAll(source.store()); });
    ASSERT_EQ(exported, EXPORT_DONE);
    TestLibrary target;
    ASSERT_TRUE(target.save());
    int imported = -1;
    RunWhileTheWindowPaints([&] { imported = CExImport(target.store(), target.root(), nullptr).ImportMain(package); },
                            [&] { paintAll(target.store()); });
    EXPECT_EQ(imported, IMPORT_DONE);
    for (const auto &[number, type] : kEveryKind)
        EXPECT_GE(target.store().GetList(type)->FindCode(number), 0) << number;
    EXPECT_GE(target.store().GetList(52)->FindCode(520000001), 0);
}

TEST(ExportImport, ADriveKeepsWhatItHoldsAndTakesOnlyChanges)
{
    QTemporaryDir drive;
    TestLibrary source;
    FillLibrary(source);
    Recorder first;
    CExImport run(source.store(), source.root(), first.post());
    ASSERT_EQ(run.ExportMain({{520000001}, drive.path(), false, false}), EXPORT_DONE);
    EXPECT_EQ(first.count(EXPORT_MSG_COMPRESS), 0);
    const QString video = QDir(drive.path()).filePath(QStringLiteral("TelvData/Content/Video/clip.mp4"));
    ASSERT_TRUE(QFileInfo::exists(video));
    EXPECT_TRUE(QFileInfo::exists(QDir(drive.path()).filePath(QStringLiteral("TelvData/Content/URL/400000001/img/a.png"))));

    Recorder second;
    CExImport again(source.store(), source.root(), second.post());
    EXPECT_EQ(again.ExportMain({{520000001}, drive.path(), false, false}), EXPORT_NOTHING);
    EXPECT_EQ(second.messages.back().wParam, quint32(EXPORT_NOTHING));

    // A changed material travels again; what did not change stays.
    WriteTestFile(JoinPath(source.store().GetContentFolder(1), QStringLiteral("clip.mp4")), "new video bytes");
    Recorder third;
    CExImport changed(source.store(), source.root(), third.post());
    EXPECT_EQ(changed.ExportMain({{520000001}, drive.path(), false, false}), EXPORT_DONE);
    EXPECT_EQ(changed.GetTotalCount(), 1u);
    QFile file(video);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new video bytes"));

    // A playlist using a content the library lacks names it.
    source.store().GetList(5)->Delete(source.store().GetList(5)->FindCode(500000001));
    CExImport missing(source.store(), source.root(), nullptr);
    EXPECT_EQ(missing.ExportMain({{520000001}, drive.path(), false, false}), EXPORT_MISSING);
    EXPECT_EQ(missing.GetMissingNumber(), 500000001u);
}

TEST(ExportImport, ATakenFileNameGetsTheNumberInFrontAndNothingIsReplaced)
{
    QTemporaryDir out;
    const QString package = QDir(out.path()).filePath(QStringLiteral("p.plst"));
    {
        TestLibrary source;
        FillLibrary(source);
        ASSERT_EQ(CExImport(source.store(), source.root(), nullptr).ExportMain({{520000001}, package, true, false}),
                  EXPORT_DONE);
    }
    TestLibrary target;
    target.addContent(1, 100000009, QStringLiteral("clip.mp4"), "another video");
    // The first new name is taken too.
    WriteTestFile(JoinPath(target.store().GetContentFolder(1), QStringLiteral("100000001_clip.mp4")), "stray");
    ASSERT_TRUE(target.save());
    ASSERT_EQ(CExImport(target.store(), target.root(), nullptr).ImportMain(package), IMPORT_DONE);
    const QString folder = target.store().GetContentFolder(1);
    auto read = [&](const char *name) {
        QFile file(JoinPath(folder, QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    EXPECT_EQ(read("clip.mp4"), QByteArray("another video"));
    EXPECT_EQ(read("100000001_clip.mp4"), QByteArray("stray"));
    EXPECT_EQ(read("100000001_1_clip.mp4"), QByteArray(70000, 'v'));
    const auto *imported = dynamic_cast<const CMediaProperty *>(
        target.store().GetList(1)->GetAt(target.store().GetList(1)->FindCode(100000001)));
    ASSERT_NE(imported, nullptr);
    EXPECT_EQ(imported->GetLink(), QStringLiteral("100000001_1_clip.mp4"));

    // The content the package brought in under a new name is the package's:
    // the same package again changes nothing.
    const auto once = target.files();
    EXPECT_EQ(CExImport(target.store(), target.root(), nullptr).ImportMain(package), IMPORT_NOTHING);
    EXPECT_EQ(Differences(target.files(), once).join(QLatin1Char(' ')).toStdString(), "");
}

TEST(ExportImport, APackageWhoseRecordsLeaveTheirFoldersIsRefusedWithNothingWritten)
{
    QTemporaryDir out;
    // A hand-made package: a video record whose file name climbs out of the
    // content folder.
    TestLibrary hostile;
    hostile.addContent(1, 100000001, QStringLiteral("clip.mp4"), "video");
    auto *record = dynamic_cast<CMediaProperty *>(hostile.store().GetList(1)->GetAt(0));
    record->SetLink(QStringLiteral("../../../../evil.sh"));
    const QString packageFolder = QDir(out.path()).filePath(QStringLiteral("pkg"));
    const QString lists = QDir(packageFolder).filePath(QStringLiteral("TelvData/Q9Data/ContentData"));
    QDir().mkpath(lists);
    ASSERT_TRUE(hostile.store().GetList(1)->Save(QDir(lists).filePath(QStringLiteral("VideoList.xml")), 0));
    WriteTestFile(QDir(packageFolder).filePath(QStringLiteral("evil.sh")), "#!/bin/sh");
    const QString package = QDir(out.path()).filePath(QStringLiteral("hostile.plst"));
    ASSERT_EQ(DLKxCompressCab({packageFolder, {QStringLiteral("TelvData"), QStringLiteral("evil.sh")}, 2, package}), 0);

    TestLibrary target;
    ExpectImportRefused(target, package);
    EXPECT_FALSE(QFileInfo::exists(QDir(target.root()).filePath(QStringLiteral("evil.sh"))));
}

// A package's files are the contents its records describe: one whose video
// is not of its record's size, or whose cabinet carries the video twice
// (the last copy would win unchecked), two videos naming one file, a web
// page without its page, a telop bitmap shorter than its header or its record
// says, or a typed telop without its text file, is refused and the library
// is as it was.
TEST(ExportImport, APackageWhoseFilesAreUnlikeTheirRecordsIsRefusedWithNothingChanged)
{
    QTemporaryDir out;
    TestLibrary source;
    source.addContent(1, 100000001, QStringLiteral("clip.mp4"), QByteArray(70000, 'v'));
    const QString list = QDir(out.path()).filePath(QStringLiteral("VideoList.xml"));
    ASSERT_TRUE(source.store().GetList(1)->Save(list, 0));
    const QString whole = JoinPath(source.store().GetContentFolder(1), QStringLiteral("clip.mp4"));
    const QString cut = QDir(out.path()).filePath(QStringLiteral("cut.mp4"));
    WriteTestFile(cut, QByteArray(24, 'x'));
    const auto member = [](const QString &path, const char *name) {
        const QFileInfo file(path);
        return CabSourceFile{path, QString::fromLatin1(name), file.size(), file.lastModified(), cab::kAttribArchive};
    };
    const CabSourceFile listMember = member(list, "TelvData\\Q9Data\\ContentData\\VideoList.xml");
    source.addContent(1, 100000002, QStringLiteral("clip2.mp4"), QByteArray(70000, 'v'));
    dynamic_cast<CMediaProperty *>(source.store().GetList(1)->GetAt(1))->SetLink(QStringLiteral("clip.mp4"));
    const QString twoList = QDir(out.path()).filePath(QStringLiteral("TwoVideos.xml"));
    ASSERT_TRUE(source.store().GetList(1)->Save(twoList, 0));
    TestLibrary others;
    others.addContent(4, 400000001, QString(), "page");
    others.addContent(3, 300000001, QString(), "typed");
    others.addContent(3, 300000002, QStringLiteral("300000002.bmp"), "bitmap");
    const QString texts = QDir(others.root()).filePath(QStringLiteral("TelvData/Q9Data/Text/"));
    const auto shortened = [&](const char *name) {
        const QString path = QDir(out.path()).filePath(QString::fromLatin1(name));
        QFile file(texts + QString::fromLatin1(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        WriteTestFile(path, file.readAll().chopped(1));
        return path;
    };
    const QString shortTyped = shortened("300000001.bmp");
    const QString shortBitmap = shortened("300000002.bmp");
    const auto listOf = [&](int type, const char *name) {
        const QString path = QDir(out.path()).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(others.store().GetList(type)->Save(path, 0));
        return member(path, qPrintable(QStringLiteral("TelvData\\Q9Data\\ContentData\\") + QString::fromLatin1(name)));
    };
    const CabSourceFile webList = listOf(4, "UrlList.xml");
    const CabSourceFile textList = listOf(3, "TextList.xml");
    const auto telopMember = [&](const QString &path, const char *name) {
        return member(path, qPrintable(QStringLiteral("TelvData\\Q9Data\\Text\\") + QString::fromLatin1(name)));
    };
    const QString page = QDir(others.store().GetContentFolder(4)).filePath(QStringLiteral("400000001/img/a.png"));
    const QList<QList<CabSourceFile>> packages{
        {listMember, member(cut, "TelvData\\Content\\Video\\clip.mp4")},
        {listMember, member(cut, "TelvData\\Content\\Video\\clip.mp4"),
         member(whole, "TelvData\\Content\\Video\\clip.mp4")},
        {member(twoList, "TelvData\\Q9Data\\ContentData\\VideoList.xml"),
         member(whole, "TelvData\\Content\\Video\\clip.mp4")},
        {webList, member(page, "TelvData\\Content\\URL\\400000001\\img\\a.png")},
        {textList, telopMember(shortTyped, "300000001.bmp"), telopMember(texts + "300000001.txt", "300000001.txt"),
         telopMember(texts + "300000002.bmp", "300000002.bmp")},
        {textList, telopMember(texts + "300000001.bmp", "300000001.bmp"),
         telopMember(shortBitmap, "300000002.bmp")},
        {textList, telopMember(texts + "300000001.bmp", "300000001.bmp"),
         telopMember(texts + "300000002.bmp", "300000002.bmp")},
    };
    for (const QList<CabSourceFile> &members : packages) {
        SCOPED_TRACE(members.size());
        const QString package = QDir(out.path()).filePath(QStringLiteral("unlike.plst"));
        ASSERT_EQ(CCabWriter().Write(members, package), CAB_OK);
        TestLibrary target;
        ExpectImportRefused(target, package);
    }
}

TEST(ExportImport, AFileThatIsNoPackageIsRefusedAsSuchWithNothingWritten)
{
    QTemporaryDir out;
    // A text file under the package's extension, and a cabinet of other files.
    const QString text = QDir(out.path()).filePath(QStringLiteral("notes.plst"));
    WriteTestFile(text, "not a cabinet");
    const QString other = QDir(out.path()).filePath(QStringLiteral("logs.plst"));
    WriteTestFile(QDir(out.path()).filePath(QStringLiteral("logs/app.log")), "log");
    ASSERT_EQ(DLKxCompressCab({QDir(out.path()).filePath(QStringLiteral("logs")), {QStringLiteral("app.log")}, 1, other}),
              0);

    TestLibrary target;
    const auto before = target.files();
    for (const QString &file : {text, other}) {
        Recorder recorder;
        CExImport run(target.store(), target.root(), recorder.post());
        EXPECT_EQ(run.ImportMain(file), IMPORT_NOT_PACKAGE) << file.toStdString();
        EXPECT_EQ(recorder.count(IMPORT_MSG_FILE), 0);
    }
    EXPECT_EQ(Differences(target.files(), before).join(QLatin1Char(' ')).toStdString(), "");
}

// Another console's bitmap telop under the number of the library's typed
// telop: the run asks before it changes anything, and once told to go on the
// telop is the package's, a bitmap telop without the old text file.
TEST(ExportImport, ABitmapTelopImportedOverATypedOneAsksAndLeavesNoTextFile)
{
    QTemporaryDir out;
    const QString package = QDir(out.path()).filePath(QStringLiteral("telop.plst"));
    {
        TestLibrary source;
        source.addContent(3, 300000001, QStringLiteral("300000001.bmp"), "bitmap telop");
        source.addPlaylist(520000001, {{300000001, 3}});
        ASSERT_TRUE(source.save());
        ASSERT_EQ(CExImport(source.store(), source.root(), nullptr).ExportMain({{520000001}, package, true, false}),
                  EXPORT_DONE);
    }
    TestLibrary target;
    target.addContent(3, 300000001, QString(), "typed");
    target.store().GetList(3)->GetAt(0)->SetCreateDate(SystemTime{2025, 1, 0, 2, 3, 4, 5, 6});
    ASSERT_TRUE(target.save());
    QList<ImportReplacement> asked;
    CExImport *running = nullptr;
    CExImport run(target.store(), target.root(), [&](int number, quint32, quint32) {
        if (number == IMPORT_MSG_ASK) {
            asked = running->GetReplacements();
            running->AnswerReplace(true);
        }
    });
    running = &run;
    ASSERT_EQ(run.ImportMain(package), IMPORT_DONE);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].number, 300000001u);
    EXPECT_EQ(asked[0].ownFile, QString());
    EXPECT_EQ(asked[0].packageFile, QStringLiteral("300000001.bmp"));
    EXPECT_EQ(run.GetReplacedCount(), 1u);

    const QString texts = QDir(target.root()).filePath(QStringLiteral("TelvData/Q9Data/Text"));
    EXPECT_EQ(QDir(texts).entryList(QDir::Files), QStringList{QStringLiteral("300000001.bmp")});
    const auto *telop = dynamic_cast<const CTelopProperty *>(target.store().GetList(3)->GetAt(0));
    ASSERT_NE(telop, nullptr);
    // What a send takes: the bitmap only.
    EXPECT_EQ(TelopFilePaths(texts, *telop), QStringList{QDir(texts).filePath(QStringLiteral("300000001.bmp"))});
}

// The two thumbnails of a web content, as far as they are there.
std::string WebThumbnails(TestLibrary &library, qint32 number)
{
    std::string both;
    for (bool small : {true, false}) {
        QString path;
        MakeThumbnailPath(ThumbnailFolder(library.root(), 4), number, small, path);
        QFile file(path);
        both += file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() + '|' : std::string("<none>|");
    }
    return both;
}

// Another console numbers its items alike. Each library item of a package's
// number that the package would change, by its files' bytes or the fields an
// operator sees (an untitled playlist, a typed telop whose text alone
// differs, a bitmap telop, a camera of another category, web contents of
// another address or title), is asked about, with what differs; a video of
// the same bytes registered at another time is not. "No" changes no byte,
// "Yes" takes exactly those, and the same package again asks nothing. A web
// content's thumbnails are the package's; where the package has none, the
// library's stay while they show the same page, and go otherwise.
TEST(ExportImport, EveryOwnItemThePackageWouldChangeIsAskedAboutByItsContentsOnce)
{
    QTemporaryDir out;
    const QString package = QDir(out.path()).filePath(QStringLiteral("other.plst"));
    const QList<QPair<qint32, int>> plays = {{100000001, 1}, {800000001, 8}, {300000001, 3}, {300000002, 3},
                                             {400000002, 4}, {400000003, 4}, {400000004, 4}};
    TestLibrary source;
    source.addContent(1, 100000001, QStringLiteral("clip.mp4"), QByteArray(7000, 'v'));
    source.addContent(8, 800000001, QString(), QByteArray());
    source.addContent(3, 300000001, QString(), "typed telop");
    source.addContent(3, 300000002, QStringLiteral("300000002.bmp"), "package bitmap");
    source.addContent(4, 400000002, QStringLiteral("https://example.com/new"), QByteArray());
    source.addContent(4, 400000003, QStringLiteral("https://example.com/same"), QByteArray());
    source.addContent(4, 400000004, QStringLiteral("https://example.com/moved"), QByteArray());
    const QString sourceThumbs = ThumbnailFolder(source.root(), 4);
    WriteTestFile(QDir(sourceThumbs).filePath(QStringLiteral("400000002t.jpg")), "package picture small");
    for (const char *name : {"400000003t.jpg", "400000003.jpg", "400000004t.jpg", "400000004.jpg"})
        ASSERT_TRUE(QFile::remove(QDir(sourceThumbs).filePath(QString::fromLatin1(name))));
    source.addPlaylist(520000001, plays);
    source.store().GetList(52)->GetAt(0)->SetTitle(QString());
    ASSERT_TRUE(source.save());
    ExportPlaylist(source, 520000001, package);

    TestLibrary target;
    target.addContent(1, 100000001, QStringLiteral("clip.mp4"), QByteArray(7000, 'v'));
    target.store().GetList(1)->GetAt(0)->SetCreateDate(SystemTime{2026, 3, 0, 4, 5, 6, 7, 8});
    target.addContent(8, 800000001, QString(), QByteArray());
    target.store().GetList(8)->GetAt(0)->SetInfo(QStringLiteral("own category"));
    target.addContent(3, 300000001, QString(), "typed telop");
    WriteTestFile(QDir(TextFolder(target)).filePath(QStringLiteral("300000001.txt")), "the operator's own text");
    target.addContent(3, 300000002, QStringLiteral("300000002.bmp"), "own bitmap");
    target.addContent(4, 400000002, QStringLiteral("https://example.com/old"), QByteArray());
    target.addContent(4, 400000003, QStringLiteral("https://example.com/same"), QByteArray());
    target.store().GetList(4)->GetAt(1)->SetTitle(QStringLiteral("own title"));
    target.addContent(4, 400000004, QStringLiteral("https://example.com/old"), QByteArray());
    target.addPlaylist(520000001, {{100000001, 1}});
    target.store().GetList(52)->GetAt(0)->SetTitle(QString());
    ASSERT_TRUE(target.save());
    const auto before = target.files();
    const QList<quint32> owns = {800000001, 400000002, 400000003, 400000004, 300000001, 300000002, 520000001};

    AnsweringImport no(target, false);
    EXPECT_EQ(no.run.ImportMain(package), IMPORT_DECLINED);
    EXPECT_EQ(no.askedNumbers(), owns);
    QStringList differ;
    for (const ImportReplacement &item : no.asked)
        differ << QStringLiteral("%1%2%3").arg(item.number).arg(item.filesDiffer ? " files" : "").arg(
            item.settingsDiffer ? " settings" : "");
    EXPECT_EQ(differ.join(QLatin1Char(',')).toStdString(),
              "800000001 settings,400000002 settings,400000003 settings,400000004 settings,300000001 files,"
              "300000002 files,520000001 files");
    EXPECT_EQ(Differences(target.files(), before).join(QLatin1Char(' ')).toStdString(), "");
    for (int type : {1, 3, 4, 8, 52})
        ExpectListAsItsFile(target, type);

    AnsweringImport yes(target, true);
    EXPECT_EQ(yes.run.ImportMain(package), IMPORT_DONE);
    EXPECT_EQ(yes.askedNumbers(), owns);
    EXPECT_EQ(yes.run.GetReplacedCount(), 7u);
    const auto theirs = source.files();
    const auto replaced = target.files();
    const QStringList itemFolders = {QStringLiteral("/Text/"), QStringLiteral("/Playlist/"),
                                     QStringLiteral("/Video/")};
    int compared = 0;
    for (const QString &path : theirs.keys()) {
        if (std::any_of(itemFolders.begin(), itemFolders.end(), [&](const QString &folder) { return path.contains(folder); })) {
            EXPECT_EQ(replaced.value(path), theirs.value(path)) << path.toStdString();
            ++compared;
        }
    }
    // Three telop files, a list file with two layers, the video and its thumbnails.
    EXPECT_EQ(compared, 9);
    EXPECT_EQ(target.store().GetList(8)->GetAt(0)->GetInfo(), QStringLiteral("cat"));
    EXPECT_EQ(target.store().GetList(1)->GetAt(0)->GetCreateDate().year, 2026);
    EXPECT_EQ(WebThumbnails(target, 400000002), WebThumbnails(source, 400000002));
    EXPECT_EQ(WebThumbnails(target, 400000003), "jpeg 400000003t|jpeg 400000003|");
    EXPECT_EQ(WebThumbnails(target, 400000004), "<none>|<none>|");
    for (int type : {1, 3, 4, 8, 52})
        ExpectListAsItsFile(target, type);

    AnsweringImport again(target, true);
    EXPECT_EQ(again.run.ImportMain(package), IMPORT_NOTHING);
    EXPECT_EQ(again.asks, 0);
    EXPECT_EQ(Differences(target.files(), replaced).join(QLatin1Char(' ')).toStdString(), "");
}

// Each item goes in whole or not at all. A stop while a telop's or a
// playlist's files are written, or a file that cannot be put in its place,
// leaves that item as it was (files and record), the list in memory as its
// file, and names the items that went in before it.
TEST(ExportImport, AStopOrAFailureInsideAnItemLeavesItAsItWasAndNamesWhatWentInBefore)
{
    QTemporaryDir out;
    const QString package = QDir(out.path()).filePath(QStringLiteral("other.plst"));
    TestLibrary source;
    source.addContent(2, 200000001, QStringLiteral("pic.jpg"), QByteArray(3000, 's'));
    source.addContent(3, 300000001, QString(), "package typed");
    source.addPlaylist(520000001, {{200000001, 2}, {300000001, 3}});
    ASSERT_TRUE(source.save());
    ExportPlaylist(source, 520000001, package);

    TestLibrary target;
    target.addContent(3, 300000001, QStringLiteral("300000001.bmp"), "own bitmap");
    target.addPlaylist(520000001, {{300000001, 3}});
    ASSERT_TRUE(target.save());
    const QString textFile = QDir(TextFolder(target)).filePath(QStringLiteral("300000001.txt"));
    const QStringList playlistFiles = PlaylistFiles(target, 520000001);
    ASSERT_EQ(playlistFiles.size(), 3);

    const auto bytesOf = [](const QStringList &paths) {
        QStringList bytes;
        for (const QString &path : paths) {
            QFile file(path);
            bytes << (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex()) : QString());
        }
        return bytes;
    };
    const QStringList telopFiles{QDir(TextFolder(target)).filePath(QStringLiteral("300000001.bmp")), textFile,
                                 target.store().GetListPath(3)};
    const QStringList playlistAndList = playlistFiles + QStringList{target.store().GetListPath(52)};
    // Imports, expecting a failure with the items before it in, and the
    // telop (3) or the playlist (52) with its list file as it was.
    const auto failsKeeping = [&](int type, quint32 stopInside, const QList<quint32> &before) {
        const QStringList &kept = type == 3 ? telopFiles : playlistAndList;
        const QStringList bytes = bytesOf(kept);
        AnsweringImport run(target, true, stopInside);
        EXPECT_EQ(run.run.ImportMain(package), IMPORT_FAILED);
        EXPECT_EQ(run.importedNumbers(), before);
        EXPECT_EQ(bytesOf(kept), bytes);
        ExpectListAsItsFile(target, type);
    };
    {
        SCOPED_TRACE("stop inside the telop");
        failsKeeping(3, 300000001, {200000001});
    }
    {
        SCOPED_TRACE("a folder where the telop's text goes");
        ASSERT_TRUE(QDir().mkpath(textFile));
        failsKeeping(3, 0, {});
        ASSERT_TRUE(QDir().rmdir(textFile));
    }
    {
        SCOPED_TRACE("stop inside the playlist");
        failsKeeping(52, 520000001, {300000001});
    }
    {
        SCOPED_TRACE("a folder where the playlist's last layer goes");
        ASSERT_TRUE(QFile::remove(playlistFiles.last()));
        ASSERT_TRUE(QDir().mkpath(playlistFiles.last()));
        failsKeeping(52, 0, {});
    }
}

// An import killed at each step in turn (every disk step of its sets and
// every message it posts), and the start's repair after it, leaves the
// library as it was or as the whole import leaves it, with no journal,
// second name, temporary or unpacked package anywhere in the data tree: for
// a package replacing the operator's video, and one replacing a web content.
// Each package carries journals among its members, in the journal folder's
// place and in the data folder, that would remove a list: they change nothing.
TEST(ExportImport, AnImportKilledAtAnyStepIsOldOrNewAfterTheStart)
{
    for (const int replaced : {1, 4}) {
        SCOPED_TRACE(replaced);
        const auto fill = [](TestLibrary &library, int changed) {
            library.addContent(1, 100000001, QStringLiteral("clip.mp4"), QByteArray(5000, changed == 1 ? 'w' : 'v'));
            library.addContent(4, 400000001, QString(), changed == 4 ? "own page" : "page");
            library.addPlaylist(520000001, {{100000001, 1}, {400000001, 4}});
            ASSERT_TRUE(library.save());
        };
        QTemporaryDir drive;
        TestLibrary source;
        fill(source, 0);
        ASSERT_EQ(CExImport(source.store(), source.root(), nullptr).ExportMain({{520000001}, drive.path(), false, false}),
                  EXPORT_DONE);
        TestLibrary target;
        fill(target, replaced);
        const QString list = QStringLiteral("Q9Data/ContentData/") + QFileInfo(target.store().GetListPath(1)).fileName();
        const QByteArray removesList = QStringLiteral(R"({"targets":[{"file":"%1","old":""}]})").arg(list).toUtf8();
        WriteTestFile(QDir(drive.path()).filePath(QStringLiteral("TelvData/Journal/00000000.telvq9-journal")), removesList);
        WriteTestFile(QDir(drive.path()).filePath(QStringLiteral("TelvData/Q9Data/zz.00000000.telvq9-journal")), removesList);
        const QString package = QDir(drive.path()).filePath(QStringLiteral("carried.plst"));
        ASSERT_EQ(DLKxCompressCab({drive.path(), {QStringLiteral("TelvData")}, 1, package}), 0);

        const auto import = [&] {
            AnsweringImport run(target, true);
            return run.run.ImportMain(package) == IMPORT_DONE;
        };
        const KillOutcomes outcomes = ExpectOldOrNewAfterEveryKill(
            QDir(target.root()).filePath(QStringLiteral("TelvData")), import, [&] { RecoverDataTree(target.root()); });
        EXPECT_GE(outcomes.old, 10);
        EXPECT_GE(outcomes.whole, 4);
        EXPECT_TRUE(QFileInfo::exists(QDir(target.root()).filePath(QStringLiteral("TelvData/") + list)));
    }
}
