// Export of playlists with their contents to a package file and to a drive
// folder, and import into another library: what travels, what is left out,
// duplicate names, and packages that try to write outside the data folder.
#include "cab/cab_format.h"
#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"
#include "core/path_utils.h"
#include "model/media_property.h"
#include "model/telop_property.h"
#include "ops/export_import.h"
#include "ops_test_library.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    {100000001, 1}, {800000001, 8}, {200000001, 2}, {400000001, 4}, {500000001, 5}, {300000001, 3}};

void FillLibrary(TestLibrary &library)
{
    library.addContent(1, 100000001, QStringLiteral("clip.mp4"), QByteArray(70000, 'v'));
    library.addContent(8, 800000001, QString(), QByteArray());
    library.addContent(2, 200000001, QStringLiteral("pic.jpg"), QByteArray(3000, 's'));
    library.addContent(4, 400000001, QString(), "page");
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
        // The playlist and six contents, the video listed once although two cells play it.
        EXPECT_EQ(run.GetTotalCount(), 7u);
        EXPECT_EQ(recorder.count(EXPORT_MSG_FILE), 7);
        EXPECT_EQ(recorder.count(EXPORT_MSG_COMPRESS), 1);
        EXPECT_EQ(run.GetLeftOutFiles(), QStringList{QStringLiteral("400000001/bad name.png")});
        EXPECT_FALSE(QFileInfo::exists(run.ExportFolder() + QStringLiteral("/Q9Content.plst")));
        exported = WithoutScratch(source.files());
    }
    TestLibrary target;
    ASSERT_TRUE(target.save());
    Recorder recorder;
    CExImport run(target.store(), target.root(), recorder.post());
    ASSERT_EQ(run.ImportMain(package), IMPORT_DONE);
    EXPECT_EQ(recorder.count(IMPORT_MSG_END), 1);
    EXPECT_EQ(recorder.count(IMPORT_MSG_FILE), 7);
    EXPECT_EQ(Differences(WithoutScratch(target.files()), exported).join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_FALSE(QFileInfo::exists(run.ImportFolder()));

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
// (the last copy would win unchecked), a web page without its page, a telop
// bitmap shorter than its header or its record says, or a typed telop
// without its text file, is refused and the library is as it was.
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
