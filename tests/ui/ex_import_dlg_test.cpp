// The export and import window over the frame: a playlist with its still
// travels into a package file and back, a file that is no package is named
// as such, the progress and end texts, and the keys that must not close the
// window.
#include "app/main_frame.h"
#include "app/playlist_ex_import_dlg.h"
#include "core/clock.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "fake_file_dialogs.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/img_property.h"
#include "model/media_property.h"
#include "model/stored_list_files.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "ops/send_info.h"
#include "shell_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

// A playlist of one content for thirty seconds, in the program's library.
void AddPlaylistOf(CContentsStore &store, qint32 number, qint32 content, int type)
{
    CPlaylistEditModel model(52);
    model.SetFolders(store.m_playlistFolder, store.m_sequenceFolder);
    model.SetIdPrefix(5);
    CTimetableItem item;
    ASSERT_TRUE(item.Set(content, TimeValue{0, 0, 0, 0}, TimeValue{0, 0, 30, 0}, type, 0));
    ASSERT_TRUE(model.InsertItem(1, item));
    ASSERT_TRUE(model.Save(number, 52));
    CPlaylistProperty playlist;
    playlist.SetIndex(number);
    ASSERT_TRUE(store.GetList(52)->Add(&playlist));
}

// A still and a playlist that shows it, in the program's library.
void AddPlaylistWithStill(CContentsStore &store)
{
    const QString stillPath = JoinPath(store.GetContentFolder(2), QStringLiteral("pic.jpg"));
    QDir().mkpath(QFileInfo(stillPath).path());
    QFile file(stillPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'p'));
    file.close();
    CImgProperty still;
    still.SetIndex(200000001);
    still.SetLink(QStringLiteral("pic.jpg"));
    still.SetSize(4096);
    still.SetFileDate(ToSystemTime(QFileInfo(stillPath).lastModified()));
    ASSERT_TRUE(store.GetList(2)->Add(&still));

    ASSERT_NO_FATAL_FAILURE(AddPlaylistOf(store, 520000001, 200000001, 2));
    ASSERT_TRUE(store.SaveLists(0, 1));
}

} // namespace

TEST_F(ShellTest, ExportWindowCarriesAPlaylistIntoAPackageAndImportFindsNothingNew)
{
    writeIni("Y5.ini", QStringLiteral("Sysytem"), QStringLiteral("InitSeq"), QStringLiteral("7"));
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    AddPlaylistWithStill(GetContentFolders());
    FakeFileDialogs dialogs;
    const QString package = QDir(m_home.path()).filePath(QStringLiteral("out/Q9Content.plst"));
    QDir().mkpath(QFileInfo(package).path());

    // Cancelling the file choice opens nothing. The choice opens over the
    // main window, in the home folder.
    EXPECT_FALSE(frame->ShowExportDlg({520000001}));
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].folder, QDir::homePath());
    EXPECT_EQ(dialogs.requests[0].filter, QStringLiteral("パッケージファイル (*.plst)"));
    EXPECT_EQ(dialogs.owners[0], frame);
    dialogs.answers << package;
    ASSERT_TRUE(frame->ShowExportDlg({520000001}));
    CPlaylistExImportDlg *dialog = frame->GetExImportDlg();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), LoadString(6301));

    // Enter does nothing; the window stays.
    QTest::keyClick(dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());

    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5416));
    EXPECT_TRUE(QFileInfo(package).isFile());
    dialog->OnClose();
    EXPECT_FALSE(dialog->isVisible());

    // Importing the package into the library it came from finds nothing new.
    dialogs.answers << package;
    ASSERT_TRUE(frame->ShowImportDlg());
    EXPECT_EQ(dialog->windowTitle(), LoadString(6300));
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5422));

    // Another console numbered its own still alike: the library's still
    // (another file and title) goes only when the operator says so.
    CContentsStore &store = GetContentFolders();
    const QString stills = store.GetContentFolder(2);
    const auto makeOwnStill = [&] {
        auto *still = dynamic_cast<CImgProperty *>(store.GetList(2)->GetAt(0));
        ASSERT_NE(still, nullptr);
        ASSERT_TRUE(QFile::remove(JoinPath(stills, QStringLiteral("pic.jpg"))));
        QFile own(JoinPath(stills, QStringLiteral("still3.bmp")));
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        own.write("BM the operator's own still");
        own.close();
        still->SetLink(QStringLiteral("still3.bmp"));
        still->SetTitle(QStringLiteral("still3"));
        still->SetSize(quint64(own.size()));
        still->SetCreateDate(SystemTime{2026, 1, 0, 2, 3, 4, 5, 6});
        ASSERT_TRUE(store.SaveLists(2, 1));
    };
    makeOwnStill();
    const auto library = [] {
        QMap<QString, QByteArray> files;
        QDirIterator it(JoinPath(GetAppData().GetDataRoot(), QStringLiteral("TelvData")), QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.fileName().endsWith(QLatin1String(".ini")) && !file.fileName().contains(QLatin1String("/Log"))
                && file.open(QIODevice::ReadOnly))
                files.insert(file.fileName(), file.readAll());
        }
        return files;
    };
    const QMap<QString, QByteArray> before = library();
    m_prompter.expect(5434, IDNO);
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    // Each item by number, kind, title (or a word for none) and file, on
    // both sides, and what differs.
    ASSERT_EQ(m_prompter.last().arguments.size(), 1);
    EXPECT_EQ(m_prompter.last().arguments[0].toStdString(),
              QStringLiteral("200000001 %1：still3（still3.bmp） → （タイトルなし）（pic.jpg）［ファイルの内容と設定が異なります］")
                  .arg(LoadString(5683).trimmed())
                  .toStdString());
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5435));
    EXPECT_TRUE(library() == before);

    m_prompter.expect(5434, IDYES);
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    EXPECT_EQ(dialog->GetStatusText(), FormatString(5436, 1));
    EXPECT_EQ(LinkOf(*store.GetList(2)->GetAt(0)), QStringLiteral("pic.jpg"));
    EXPECT_FALSE(QFileInfo::exists(JoinPath(stills, QStringLiteral("still3.bmp"))));
    EXPECT_EQ(QFileInfo(JoinPath(stills, QStringLiteral("pic.jpg"))).size(), 4096);
    // The same package again asks nothing and changes nothing.
    const QMap<QString, QByteArray> replaced = library();
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5422));
    EXPECT_TRUE(library() == replaced);

    // The operator's own untitled playlist of the same number is listed too.
    // Where its layer file cannot be put in place, the still that went in
    // before it is named and the playlist is as it was.
    makeOwnStill();
    StoredListFiles playlistFiles;
    ASSERT_TRUE(StoredListFilesOf(52, 5, 520000001, store.m_playlistFolder, store.m_sequenceFolder, playlistFiles));
    const QString layer = playlistFiles.layers.front().path;
    ASSERT_TRUE(QFile::remove(layer));
    ASSERT_TRUE(QDir().mkpath(layer));
    const QMap<QString, QByteArray> ownPlaylist = library();
    m_prompter.expect(5434, IDYES);
    m_prompter.expect(5439, IDOK);
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    const QList<MessagePrompt> prompts = m_prompter.prompts();
    ASSERT_GE(prompts.size(), 2);
    EXPECT_TRUE(prompts[prompts.size() - 2].arguments.value(0).contains(
        QStringLiteral("\n520000001 %1：（タイトルなし）［ファイルの内容が異なります］").arg(LoadString(TypeNameId(52)).trimmed())))
        << prompts[prompts.size() - 2].arguments.value(0).toStdString();
    EXPECT_EQ(prompts.back().arguments,
              QStringList{QStringLiteral("200000001 %1：（タイトルなし）").arg(LoadString(5683).trimmed())});
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5419));
    EXPECT_TRUE(QFileInfo(layer).isDir());
    for (const QString &path : {playlistFiles.listPath, store.GetListPath(52)})
        EXPECT_EQ(library().value(path), ownPlaylist.value(path)) << path.toStdString();
    ASSERT_TRUE(QDir().rmdir(layer));

    // A file that is no package is named as such.
    const QString notes = QDir(m_home.path()).filePath(QStringLiteral("out/notes.plst"));
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a package");
    text.close();
    dialogs.answers << notes;
    dialog->OnBrowse();
    m_prompter.expect(5428, IDOK);
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    EXPECT_EQ(m_prompter.last().arguments, QStringList{notes});
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5419));

    // A playlist whose movie is gone names it as every list does: nine digits.
    ASSERT_NO_FATAL_FAILURE(AddPlaylistOf(store, 520000002, 1000003, 1));
    dialog->OnClose();
    dialogs.answers << package;
    ASSERT_TRUE(frame->ShowExportDlg({520000002}));
    m_prompter.expect(5427, IDOK);
    dialog->OnStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsRunning(); }, 20000));
    EXPECT_EQ(m_prompter.last().arguments, QStringList{QStringLiteral("001000003")});
    EXPECT_TRUE(m_prompter.last().text.contains(QStringLiteral("(インデックス：001000003)")));

    // A run the operator stopped says so, whatever its worker reported.
    frame->StopExImport();
    dialog->EndImport(1);
    EXPECT_EQ(dialog->GetStatusText(), LoadString(5240));
    dialog->OnClose();
    // Opened again, the window shows nothing of that run.
    dialogs.answers << package;
    ASSERT_TRUE(frame->ShowExportDlg({520000001}));
    EXPECT_TRUE(dialog->GetStatusText().isEmpty());
    dialog->OnClose();
}

TEST_F(ShellTest, ExportWindowCountsFilesAndMegabytes)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    CPlaylistExImportDlg dialog(frame);
    // Before a run, no percent is shown.
    EXPECT_TRUE(dialog.GetPercentText().isEmpty());
    dialog.BeginCopy(10, quint64(4096) << 20);
    for (int file = 0; file < 3; ++file)
        dialog.EndFile(quint32(512u << 20), 0);
    EXPECT_EQ(dialog.GetStatusText(), FormatString(5413, 3, 10, 1536, 4096));
    dialog.SetCurrentFile(100000042, 1);
    dialog.SetPercent(37);
    EXPECT_EQ(dialog.GetCurrentFileText(), QStringLiteral("100000042"));
    EXPECT_EQ(dialog.GetPercentText(), QStringLiteral("37 %"));
    dialog.EndExport(3);
    EXPECT_EQ(dialog.GetStatusText(), LoadString(5421));
    dialog.EndExport(1);
    EXPECT_TRUE(dialog.IsKeepPackage());
    // Another selection cannot reuse the package.
    dialog.SetPlaylistIndexes({520000002});
    EXPECT_FALSE(dialog.IsKeepPackage());
}
