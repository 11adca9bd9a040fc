// The touch-panel playlist dialog: the read-only index of an existing
// playlist, the index range, control characters in the title, the playlist
// limit, and the question before a new one replaces an existing number.
#include "widgets/vod_set_dlg.h"

#include "core/system_ini.h"
#include "model/contents_store.h"
#include "model/playlist_property.h"
#include "support/scripted_prompter.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The playlist list holds the touch-panel playlist 999000004 and the limit is
// one playlist, for the test's lifetime.
struct FullPlaylistList {
    FullPlaylistList()
    {
        QFile ini(dir.filePath(QStringLiteral("Q9S.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[ExContents]\r\nMaxPlaylist=1\r\n");
        ini.close();
        GetSystemIni().Open(ini.fileName(), dir.path());
        CPlaylistProperty record;
        EXPECT_TRUE(record.SetIndex(999000004));
        EXPECT_TRUE(list().Add(&record));
    }
    ~FullPlaylistList()
    {
        list().RemoveAll();
        QFile::remove(dir.filePath(QStringLiteral("Q9S.ini")));
        GetSystemIni().Open(dir.filePath(QStringLiteral("Q9S.ini")), dir.path());
    }
    static CContentsList &list() { return *GetContentFolders().GetList(52); }
    QTemporaryDir dir;
};

} // namespace

TEST(VodSetDlg, IndexRangeAndCleanedTitle)
{
    CVodSetDlg fresh;
    EXPECT_EQ(fresh.GetIndexEdit()->text(), QStringLiteral("1"));
    EXPECT_FALSE(fresh.GetIndexEdit()->isReadOnly());
    EXPECT_EQ(fresh.GetCategory(), QStringLiteral("TPM"));
    EXPECT_EQ(fresh.GetTitle(), QStringLiteral("Menu"));

    CVodSetDlg existing(999000004);
    EXPECT_EQ(existing.GetIndexEdit()->text(), QStringLiteral("4"));
    EXPECT_TRUE(existing.GetIndexEdit()->isReadOnly());

    ScriptedPrompter prompter;
    prompter.expect(5286, IDOK).expect(5108, IDOK).expect(5108, IDOK).expect(5108, IDOK);
    for (const char *text : {"", "0", "a", "０"}) {
        fresh.GetIndexEdit()->setText(QString::fromUtf8(text));
        EXPECT_FALSE(fresh.Validate()) << text;
    }
    EXPECT_EQ(prompter.last().arguments, (QStringList{QStringLiteral("1"), QStringLiteral("9")}));

    // A title of one tab is cleaned to empty after the question, then refused.
    fresh.GetIndexEdit()->setText(QStringLiteral("9"));
    fresh.GetTitleEdit()->setText(QStringLiteral("\t"));
    prompter.expect(5375, IDYES).expect(5316, IDOK);
    EXPECT_FALSE(fresh.Validate());
    prompter.expect(5375, IDNO);
    EXPECT_FALSE(fresh.Validate());
    fresh.GetTitleEdit()->setText(QStringLiteral("Lobby menu"));
    EXPECT_TRUE(fresh.Validate());
    EXPECT_EQ(fresh.GetContentNumber(), 999000009);
    EXPECT_EQ(fresh.GetTitle(), QStringLiteral("Lobby menu"));
}

TEST(VodSetDlg, LimitAndExistingNumbers)
{
    FullPlaylistList full;
    ScriptedPrompter prompter;

    // The list is full: a new number is refused, the existing one still saved.
    CVodSetDlg fresh;
    fresh.GetIndexEdit()->setText(QStringLiteral("5"));
    prompter.expect(5101, IDOK);
    fresh.accept();
    EXPECT_EQ(fresh.result(), 0);
    EXPECT_EQ(prompter.last().arguments, QStringList{QStringLiteral("1")});

    CVodSetDlg existing(999000004);
    existing.accept();
    EXPECT_EQ(existing.result(), int(QDialog::Accepted));

    // A new playlist given the number of an existing one asks first.
    CVodSetDlg clash;
    clash.GetIndexEdit()->setText(QStringLiteral("4"));
    prompter.answer(IDNO);
    clash.accept();
    EXPECT_EQ(clash.result(), 0);
    EXPECT_TRUE(prompter.last().text.contains(QStringLiteral("999000004")));
    prompter.answer(IDYES);
    clash.accept();
    EXPECT_EQ(clash.result(), int(QDialog::Accepted));
}
