// The contents pane driven as an operator drives it: tabs per mode, sorting
// by the headers, the display filter, thumbnails, popup menus, the clipboard,
// the drag block and the registration dialog.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "widgets/telv_list_header.h"
#include "app/telv_tool_bar_ctrl.h"
#include "core/app_ini.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "fake_file_dialogs.h"
#include "fake_shell_opener.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/movie_property.h"
#include "model/playlist_property.h"
#include "model/schedule_property.h"
#include "ops/clipboard_formats.h"
#include "model/streaming_property.h"
#include "shell_fixture.h"
#include "support/fake_clock.h"
#include "text_fit.h"
#include "ui/contents/contents_columns.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_list_dlg.h"
#include "ui/contents/contents_registration.h"
#include "ui/contents/contents_tab_ctrl.h"
#include "ui/contents/contents_thumb_view.h"
#include "ui/contents/filter_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

namespace {

SystemTime dayOf(int year, int month, int day)
{
    SystemTime time;
    time.year = quint16(year);
    time.month = quint16(month);
    time.day = quint16(day);
    time.hour = 10;
    return time;
}

void addMovie(qint32 index, const QString &title, const QString &category, const SystemTime &date, quint64 size)
{
    CMovieProperty record;
    ASSERT_TRUE(record.SetIndex(index));
    record.SetTitle(title);
    record.SetInfo(category);
    record.SetCreateDate(date);
    record.SetSize(size);
    ASSERT_TRUE(GetContentFolders().GetList(1)->Add(&record));
}

QStringList menuIds(const CContentsListCtrl &list)
{
    QMenu menu;
    list.BuildContextMenu(menu);
    QStringList ids;
    for (QAction *action : menu.actions()) {
        if (action->menu())
            ids << action->menu()->title();
        else if (!action->isSeparator())
            ids << action->data().toString();
    }
    return ids;
}

} // namespace

class ContentsPane : public ShellTest {
protected:
    void start()
    {
        frame = startSetUpFrame();
        ASSERT_NE(frame, nullptr);
        pane = dynamic_cast<CContentsDlgView *>(frame->GetViewPane(CMainFrame::PANE_CONTENTS));
        ASSERT_NE(pane, nullptr);
        addMovie(100000003, QStringLiteral("Cherry"), QStringLiteral("B"), dayOf(2024, 3, 1), 2048);
        addMovie(100000001, QStringLiteral("Apple"), QStringLiteral("A"), dayOf(2024, 1, 1), 1025);
        addMovie(100000002, QStringLiteral("Banana"), QStringLiteral("A"), dayOf(2024, 2, 1), 4096);
        frame->NotifyContentsListChanged(1, 0, 0);
    }

    CContentsListCtrl *videoList()
    {
        pane->SelectTab(0);
        return pane->GetVisibleList();
    }

    QStringList titles(CContentsListCtrl *list)
    {
        QStringList result;
        for (int row = 0; row < list->GetItemCount(); ++row)
            result << list->GetItemText(row, 3).trimmed();
        return result;
    }

    void clickHeader(CContentsListCtrl *list, int kind)
    {
        QHeaderView *header = list->header();
        const int position = list->FindColumn(kind);
        ASSERT_GE(position, 0) << kind;
        const QPoint at(header->sectionViewportPosition(position) + header->sectionSize(position) / 2, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    CMainFrame *frame = nullptr;
    CContentsDlgView *pane = nullptr;
};

TEST_F(ContentsPane, TabsFollowTheModeAndTheTypesInUse)
{
    writeIni("Q9S.ini", QStringLiteral("Content\\Use"), QStringLiteral("Streaming"), QStringLiteral("0"));
    writeIni("Q9S.ini", QStringLiteral("Content\\Use"), QStringLiteral("Audio"), QStringLiteral("0"));
    start();
    CContentsTabCtrl *tabs = pane->GetTabCtrl();
    // Mode 10: nine types, streaming and audio switched off.
    ASSERT_EQ(tabs->count(), 7);
    EXPECT_EQ(tabs->tabText(0), LoadString(5681));
    EXPECT_EQ(tabs->GetPage(1)->GetContentType(), 2);
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->windowTitle(), LoadString(5501));

    // Mode 12: the BGM list, and no separator since no audio tab follows.
    pane->ChangeMode(12);
    ASSERT_EQ(tabs->count(), 1);
    EXPECT_EQ(tabs->GetPage(0)->GetContentType(), 53);

    // Mode 11: the playlist, a separator, then the contents.
    pane->ChangeMode(11);
    EXPECT_EQ(tabs->GetPage(0)->GetContentType(), 52);
    EXPECT_EQ(tabs->GetPage(1), nullptr);
    EXPECT_EQ(tabs->GetPage(2)->GetContentType(), 1);
    EXPECT_FALSE(pane->findChild<QWidget *>(QStringLiteral("1082"))->isVisible());

    // The player pane has its own tab set and a player choice.
    auto *player = dynamic_cast<CContentsDlgView *>(frame->GetViewPane(CMainFrame::PANE_PLAYER_CONTENTS));
    EXPECT_EQ(player->GetTabCtrl()->tabText(player->GetTabCtrl()->count() - 2), LoadString(5693));
    EXPECT_EQ(player->GetPage(53)->IsPageCreated(), false);
}

TEST_F(ContentsPane, ModeChangesBringBackTabAndSelection)
{
    start();
    CContentsListCtrl *list = videoList();
    list->SelectContentIndexes({100000002, 100000003});
    pane->ChangeMode(14);
    EXPECT_EQ(pane->GetVisibleTab(), 0);
    pane->SelectTab(3); // URL
    pane->ChangeMode(10);
    EXPECT_EQ(pane->GetVisibleList()->GetContentType(), 1);
    QList<qint32> selected = pane->GetVisibleList()->GetSelectedContentIndexes();
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (QList<qint32>{100000002, 100000003}));
    pane->ChangeMode(14);
    EXPECT_EQ(pane->GetVisibleList()->GetContentType(), 4);
}

TEST_F(ContentsPane, HeadersSortAndKeepTheSelection)
{
    start();
    CContentsListCtrl *list = videoList();
    list->OnCommand(4022); // the list view
    ASSERT_FALSE(list->IsThumbnailMode());
    EXPECT_EQ(list->GetItemText(0, 4), QStringLiteral(" 2 KB "));
    // Update times read as elsewhere in the program, whole in their column.
    const QString firstDay = QStringLiteral("2024/01/01 10:00:00");
    QStringList updates;
    for (int row = 0; row < list->GetItemCount(); ++row)
        updates << list->GetItemText(row, COL_UPDATE).trimmed();
    EXPECT_TRUE(updates.contains(firstDay)) << updates.join(QLatin1Char(',')).toStdString();
    EXPECT_GT(list->header()->sectionSize(list->FindColumn(COL_UPDATE)),
              list->fontMetrics().horizontalAdvance(firstDay));

    clickHeader(list, 3);
    EXPECT_EQ(titles(list), (QStringList{"Apple", "Banana", "Cherry"}));
    list->SelectContentIndexes({100000002});
    clickHeader(list, 3);
    EXPECT_EQ(titles(list), (QStringList{"Cherry", "Banana", "Apple"}));
    EXPECT_EQ(list->GetSelectedContentIndexes(), QList<qint32>{100000002});
    EXPECT_EQ(GetContentFolders().GetSortKey(1), 5);

    clickHeader(list, 4);
    EXPECT_EQ(titles(list), (QStringList{"Apple", "Cherry", "Banana"}));
    // Every other column sorts, marks itself and keeps the selection.
    for (int position = 0; position < list->GetColumnCount(); ++position) {
        const int kind = list->GetColumnId(position);
        if (kind == 0)
            continue;
        clickHeader(list, kind);
        EXPECT_EQ(list->GetSortColumnId(), kind);
        EXPECT_EQ(list->GetSelectedContentIndexes(), QList<qint32>{100000002}) << kind;
    }
    // The No. column does not sort a library list.
    const int key = GetContentFolders().GetSortKey(1);
    clickHeader(list, 0);
    EXPECT_EQ(GetContentFolders().GetSortKey(1), key);
}

TEST_F(ContentsPane, ColumnsHoldTheirHeadingsDatesPathsAndAddresses)
{
    start();
    CStreamingProperty camera;
    ASSERT_TRUE(camera.SetIndex(801000001));
    camera.SetTitle(QStringLiteral("Camera"));
    camera.SetAddress(QStringLiteral("192.168.100.200"));
    camera.SetCreateDate(dayOf(2024, 12, 31));
    ASSERT_TRUE(GetContentFolders().GetList(8)->Add(&camera));
    frame->NotifyContentsListChanged(8, 0, 0);
    frame->show();
    CContentsListCtrl *list = videoList();
    list->OnCommand(4022);
    EXPECT_EQ(TextFit::Report(list), "");
    TextFit::Screenshot(frame, QStringLiteral("contents-list"));
    CContentsTabCtrl *tabs = pane->GetTabCtrl();
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->GetPage(i) && tabs->GetPage(i)->GetContentType() == 8)
            pane->SelectTab(i);
    }
    CContentsListCtrl *cameras = pane->GetVisibleList();
    ASSERT_EQ(cameras->GetContentType(), 8);
    cameras->OnCommand(4022);
    EXPECT_EQ(TextFit::Report(cameras), "");

    // A portrait playlist's resolution and a weekday schedule's days.
    CPlaylistProperty playlist;
    ASSERT_TRUE(playlist.SetIndex(520000001));
    playlist.SetTitle(QStringLiteral("朝の案内"));
    playlist.SetResolution(0);
    playlist.SetOrientation(1);
    ASSERT_TRUE(GetContentFolders().GetList(52)->Add(&playlist));
    // A frame without a group keeps the schedule list the store held last
    // (an earlier test's group's): this one starts from none.
    GetContentFolders().GetList(51)->RemoveAll();
    CScheduleProperty schedule;
    ASSERT_TRUE(schedule.SetIndex(510000001));
    schedule.SetTitle(QStringLiteral("平日"));
    ASSERT_TRUE(schedule.SetWeek(QStringLiteral("234567")));
    ASSERT_TRUE(GetContentFolders().GetList(51)->Add(&schedule));
    frame->NotifyContentsListChanged(0, 0, 0);
    frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->resize(frame->GetMdiClient()->viewport()->width(), 400);
    for (const int mode : {11, 13}) {
        pane->ChangeMode(mode);
        // Every playlist, whatever resolution the group has.
        GetContentFolders().SetPlaylistFilter(false, 0, 0);
        frame->NotifyContentsListChanged(0, 0, 0);
        pane->SelectTab(0);
        CContentsListCtrl *list = pane->GetVisibleList();
        ASSERT_EQ(list->GetItemCount(), 1) << mode;
        EXPECT_EQ(TextFit::Report(list), "") << mode;
        TextFit::Screenshot(frame, mode == 11 ? QStringLiteral("contents-playlists") : QStringLiteral("contents-schedules"));
    }
}

TEST_F(ContentsPane, FilterByCategoryAndDate)
{
    start();
    CContentsListCtrl *list = videoList();
    {
        ScopedFakeClock clock(QDateTime(QDate(2031, 6, 11), QTime(12, 0)));
        pane->OnCommand(6302);
    }
    CFilterDlg *filter = pane->GetFilterDlg();
    ASSERT_NE(filter, nullptr);
    // A date not set yet shows today.
    EXPECT_EQ(filter->findChild<QDateEdit *>(QStringLiteral("6514"))->date(), QDate(2031, 6, 11));
    EXPECT_FALSE(frame->isEnabled());
    auto *categories = filter->findChild<QListWidget *>(QStringLiteral("6510"));
    ASSERT_EQ(categories->count(), 2);
    EXPECT_TRUE(filter->findChild<QCheckBox *>(QStringLiteral("6511"))->isChecked());

    QTest::mouseClick(filter->findChild<QCheckBox *>(QStringLiteral("6513")), Qt::LeftButton);
    EXPECT_FALSE(filter->findChild<QCheckBox *>(QStringLiteral("6511"))->isChecked());
    categories->item(1)->setCheckState(Qt::Unchecked); // "B"
    QTest::mouseClick(filter->findChild<QPushButton *>(QStringLiteral("1")), Qt::LeftButton);
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_EQ(list->GetList()->GetDisplayCount(), 2);
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_CONTENTS)->windowTitle(),
              LoadString(5501) + FormatText(LoadString(5643), 2, 3));

    // The date filter counts from the day's midnight; unchecking both
    // options turns show-all on again.
    pane->OnCommand(6302);
    filter = pane->GetFilterDlg();
    QTest::mouseClick(filter->findChild<QCheckBox *>(QStringLiteral("6513")), Qt::LeftButton);
    EXPECT_TRUE(filter->findChild<QCheckBox *>(QStringLiteral("6511"))->isChecked());
    QTest::mouseClick(filter->findChild<QCheckBox *>(QStringLiteral("6512")), Qt::LeftButton);
    filter->findChild<QDateEdit *>(QStringLiteral("6514"))->setDate(QDate(2024, 2, 1));
    filter->OnApply();
    EXPECT_EQ(list->GetList()->GetDisplayCount(), 2);
    EXPECT_EQ(GetAppData().GetDispFilter(1)->GetDate().hour, 0);

    // The close box is Cancel: applied changes stay, the frame works again.
    filter->findChild<QDateEdit *>(QStringLiteral("6514"))->setDate(QDate(2024, 3, 1));
    filter->close();
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_EQ(GetAppData().GetDispFilter(1)->GetDate().month, 2);

    // The dialog has the keyboard, and Escape is Cancel too.
    pane->OnCommand(6302);
    filter = pane->GetFilterDlg();
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(QApplication::activeWindow(), filter);
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(frame->isEnabled());
    EXPECT_FALSE(filter && filter->isVisible());

    // A filter that cannot be saved is said to be so, naming its file.
    const QString path = GetAppData().GetDispFilterPath(1);
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path));
    pane->OnCommand(6302);
    m_prompter.expect(5433, IDOK);
    pane->GetFilterDlg()->OnApply();
    EXPECT_TRUE(m_prompter.last().text.contains(QDir::toNativeSeparators(path)));
    QDir(path).removeRecursively();
}

TEST_F(ContentsPane, ThumbnailsAreMadeOnlyForShownRows)
{
    start();
    for (int i = 0; i < 400; ++i)
        addMovie(110000000 + i, QStringLiteral("T%1").arg(i), QString(), dayOf(2024, 4, 1), 1);
    frame->NotifyContentsListChanged(1, 0, 0);
    CContentsListCtrl *list = videoList();
    list->OnCommand(4022);
    list->OnCommand(4023);
    ASSERT_TRUE(list->IsThumbnailMode());
    QCoreApplication::processEvents();
    EXPECT_TRUE(GetAppIni().GetLastThumbDisp(1));
    CContentsThumbView *view = list->GetThumbView();
    view->resize(400, 300);
    view->grab();
    const int loaded = view->GetModel()->GetLoadedCount();
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 100);
    // The sort menu reverses the order in thumbnails too.
    list->OnCommand(6311 + 3);
    list->OnCommand(6311 + 3);
    EXPECT_EQ(GetContentFolders().GetSortKey(1), 5);
    // A refresh clears the cells; they are made again when shown.
    list->Refresh();
    EXPECT_EQ(view->GetModel()->GetLoadedCount(), 0);
    list->OnCommand(4022);
    EXPECT_FALSE(list->IsThumbnailMode());
    QCoreApplication::processEvents();
    EXPECT_FALSE(GetAppIni().GetLastThumbDisp(1));
}

TEST_F(ContentsPane, PopupMenusFollowModeAndOperations)
{
    start();
    CContentsListCtrl *list = videoList();
    const QStringList mode10 = menuIds(*list);
    EXPECT_FALSE(mode10.contains(QStringLiteral("4058"))); // no send in contents management
    EXPECT_FALSE(mode10.contains(QStringLiteral("4037")));
    EXPECT_TRUE(mode10.contains(QStringLiteral("4017")));
    EXPECT_TRUE(mode10.contains(QStringLiteral("並べ替え(&O)")));

    // Mode 14: no copy or paste anywhere; edit only on playlists and BGM lists.
    pane->ChangeMode(14);
    CContentsTabCtrl *tabs = pane->GetTabCtrl();
    for (int i = 0; i < tabs->count(); ++i) {
        const CContentsListDlg *page = tabs->GetPage(i);
        const QStringList ids = menuIds(*page->GetList());
        EXPECT_FALSE(ids.contains(QStringLiteral("57634"))) << page->GetContentType();
        EXPECT_FALSE(ids.contains(QStringLiteral("57637"))) << page->GetContentType();
        const bool lists = page->GetContentType() == 52 || page->GetContentType() == 53;
        EXPECT_EQ(ids.contains(QStringLiteral("57601")), lists)
            << page->GetContentType();
    }
    // Tool bar buttons show at once that their operation exists.
    pane->ChangeMode(13);
    pane->SelectTab(0);
    QAction *paste = pane->GetToolBar()->FindButton(57637);
    ASSERT_NE(paste, nullptr);
    EXPECT_TRUE(paste->isEnabled());
    EXPECT_TRUE(pane->GetToolBar()->FindButton(57634)->isEnabled());

    // The tool bar's category command is the menu's.
    pane->ChangeMode(10);
    pane->SelectTab(0);
    EXPECT_EQ(pane->CanExecuteCommand(4204) && list->CanExecute(4004),
              pane->GetToolBar()->FindButton(4204) && list->CanExecute(4004));
}

TEST_F(ContentsPane, CopyPutsTheNumberAndDragsCarryTheBlock)
{
    start();
    CContentsListCtrl *list = videoList();
    list->OnCommand(4022);
    list->SelectContentIndexes({100000001});
    list->setFocus();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("100000001"));
    // The category copy, which has no menu item, has its key.
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A")); // Apple's category

    // No drag in contents management.
    EXPECT_EQ(list->CreateDragData(), nullptr);
    EXPECT_FALSE(list->dragEnabled());
    pane->ChangeMode(11);
    pane->SelectTab(2);
    list = pane->GetVisibleList();
    ASSERT_EQ(list->GetContentType(), 1);
    list->SelectContentIndexes({100000001, 100000003});
    EXPECT_TRUE(list->dragEnabled());
    EXPECT_TRUE(list->model()->flags(list->model()->index(0, 0)) & Qt::ItemIsDragEnabled);
    std::unique_ptr<QMimeData> data(list->CreateDragData());
    ASSERT_NE(data, nullptr);
    const QByteArray block = data->data(frame->GetContentsDataFormat());
    ASSERT_EQ(block.size(), 96);
    auto word = [&](int i) { return qFromLittleEndian<quint32>(block.constData() + 4 * i); };
    EXPECT_EQ(word(0), 0u);
    EXPECT_EQ(word(1), 1u);
    EXPECT_EQ(word(2) + word(14), 100000001u + 100000003u);
    for (int i = 3; i < 12; ++i)
        EXPECT_EQ(word(i), 0u);

    // Nor from the schedule tab of schedule editing.
    pane->ChangeMode(13);
    pane->SelectTab(0);
    EXPECT_EQ(pane->GetVisibleList()->CreateDragData(), nullptr);
}

TEST_F(ContentsPane, CopyAndPasteOfPlaylistsGoThroughTheFrame)
{
    start();
    CPlaylistProperty playlist;
    playlist.SetIndex(5);
    playlist.SetTitle(QStringLiteral("P"));
    GetContentFolders().GetList(52)->Add(&playlist);
    frame->NotifyContentsListChanged(52, 0, 0);
    pane->ChangeMode(11);
    pane->SelectTab(0);
    CContentsListCtrl *list = pane->GetVisibleList();
    ASSERT_EQ(list->GetContentType(), 52);
    EXPECT_TRUE(list->CanExecute(57634));
    EXPECT_TRUE(list->CanExecute(57637));
    // The copy block carries the playlist's position in its list.
    list->SelectContentIndexes({5});
    QTest::keyClick(list->GetActiveView(), Qt::Key_C, Qt::ControlModifier);
    QList<quint32> positions;
    ASSERT_TRUE(ReadPlaylistCopyBlock(GetClipboardBlock(CLIPBOARD_PLAYLIST_COPY), 1, positions));
    EXPECT_EQ(positions, QList<quint32>{0});

    // Pasting makes a copy of the playlist under a new number.
    ASSERT_TRUE(GetContentFolders().GetScratchPlaylistModel(52)->Save(5, 52));
    QTest::keyClick(list->GetActiveView(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(GetContentFolders().GetList(52)->GetCount(), 2);
    EXPECT_EQ(list->GetItemCount(), 2);
}

TEST(ContentsRegistration, TheTabTakesOnlyItsOwnFiles)
{
    FakeFileDialogs dialogs;
    dialogs.answers = {QStringLiteral("/m/a.mpg\n/m/b.JPG\n/m/c.bmp")};
    const RegistrationChoice telops = PromptRegistrationFiles(nullptr, 3);
    EXPECT_EQ(telops.code, 3);
    EXPECT_EQ(telops.taken, QStringList{QStringLiteral("/m/c.bmp")});
    EXPECT_EQ(telops.refused, (QStringList{QStringLiteral("/m/a.mpg"), QStringLiteral("/m/b.JPG")}));
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].title, QStringLiteral("ビットマップテロップ の登録"));
    EXPECT_EQ(dialogs.requests[0].filter, QStringLiteral("ビットマップファイル (*.bmp)"));

    dialogs.answers = {QStringLiteral("/m/x.dscc\n/m/y.htm")};
    const RegistrationChoice animations = PromptRegistrationFiles(nullptr, 4);
    EXPECT_EQ(animations.code, 101);
    EXPECT_EQ(animations.taken, QStringList{QStringLiteral("/m/x.dscc")});
    EXPECT_EQ(dialogs.requests[1].filter, QStringLiteral("アニメーションファイル (*.dscc)"));

    // A line of every file the tab takes comes first where the string
    // table's line leaves some out; the table's line follows.
    dialogs.answers = {QStringLiteral("/m/v.wmv\n/m/w.mpg")};
    EXPECT_EQ(PromptRegistrationFiles(nullptr, 1).taken.size(), 2);
    EXPECT_EQ(dialogs.requests[2].filter, QStringLiteral("登録できるすべてのファイル (*.mpg *.m2p *.mp4 *.m4e *.sdp *.wmv);;"
                                                         "すべての動画ファイル (*.wmv *.mpg *.m2p)"));
    EXPECT_FALSE(CanRegisterFiles(7));

    // Every file a tab takes is shown by the filter line its dialog opens with.
    const QStringList extensions = {".mpg", ".m2p", ".mp4", ".m4e", ".sdp", ".wmv", ".bmp", ".jpg",
                                    ".swf", ".wav", ".mp3", ".wma", ".htm", ".html", ".dscc"};
    for (int type = 1; type <= 6; ++type) {
        for (const QString &extension : extensions) {
            dialogs.answers = {QStringLiteral("/m/f") + extension};
            if (PromptRegistrationFiles(nullptr, type).taken.isEmpty())
                continue;
            const QString filter = dialogs.requests.last().filter.section(QStringLiteral(";;"), 0, 0);
            const QRegularExpression pattern(QStringLiteral("[( ]\\*") + QRegularExpression::escape(extension)
                                             + QStringLiteral("[ )]"));
            EXPECT_TRUE(filter.contains(pattern)) << type << " " << extension.toStdString() << " " << filter.toStdString();
        }
    }
}

TEST_F(ContentsPane, RegisterNamesTheFilesTheTabDoesNotTake)
{
    start();
    videoList();
    ASSERT_TRUE(pane->CanExecuteCommand(4201));
    FakeFileDialogs dialogs;
    dialogs.answers = {QStringLiteral("/m/still.jpg\n/m/sound.wav")};
    m_prompter.answer(IDOK);
    EXPECT_TRUE(pane->OnCommand(4201));
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].title, LoadString(5681).trimmed() + QStringLiteral(" の登録"));
    const MessagePrompt message = m_prompter.last();
    EXPECT_TRUE(message.text.startsWith(LoadString(5357)));
    EXPECT_TRUE(message.text.contains(QStringLiteral("/m/still.jpg")));
    EXPECT_TRUE(message.text.contains(QStringLiteral("/m/sound.wav")));
    EXPECT_EQ(GetContentFolders().GetList(1)->GetCount(), 3);
}

TEST_F(ContentsPane, EnterOpensTheContentAndTelopsShowAsRows)
{
    start();
    FakeOpener opener;
    CContentsListCtrl *list = videoList();
    list->OnCommand(4022);
    CMovieProperty *record = dynamic_cast<CMovieProperty *>(GetContentFolders().FindRecord(1, 100000001));
    ASSERT_NE(record, nullptr);
    record->SetLink(QStringLiteral("100000001.mpg"));
    list->SelectContentIndexes({100000001});
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_TRUE(opener.opened[0].endsWith(QStringLiteral("/100000001.mpg")));

    // The telop tab in thumbnails: one row per telop at the configured height.
    pane->SelectTab(5);
    CContentsListCtrl *telops = pane->GetVisibleList();
    ASSERT_EQ(telops->GetContentType(), 3);
    telops->OnCommand(4023);
    EXPECT_TRUE(telops->IsThumbnailMode());
    EXPECT_EQ(telops->GetColumnCount(), 1);
    EXPECT_FALSE(telops->header()->isVisible());
    EXPECT_EQ(telops->MeasureItem(), GetSystemIni().Settings().TelopThumbHeight + 4);
}

TEST_F(ContentsPane, CommandTablesOfTheModes)
{
    writeIni("Q9S.ini", QStringLiteral("Option"), QStringLiteral("ScheduleConf"), QStringLiteral("1"));
    start();
    // The pane's tool bar: mode 16 plays on contents and executes on controls.
    pane->ChangeMode(16);
    pane->SelectTab(0);
    EXPECT_TRUE(pane->CanExecuteCommand(4037));
    EXPECT_FALSE(pane->CanExecuteCommand(4080));
    EXPECT_FALSE(pane->CanExecuteCommand(4017));
    EXPECT_EQ(pane->findChild<QPushButton *>(QStringLiteral("1030"))->text(), LoadString(5810));
    pane->SelectTab(7);
    ASSERT_EQ(pane->GetVisibleList()->GetContentType(), 7);
    EXPECT_FALSE(pane->CanExecuteCommand(4037));
    EXPECT_TRUE(pane->CanExecuteCommand(4080));
    EXPECT_EQ(pane->findChild<QPushButton *>(QStringLiteral("1030"))->text(), LoadString(4080));
    EXPECT_FALSE(pane->findChild<QPushButton *>(QStringLiteral("1032"))->isVisible());

    // The send modes show the stop, usable only while the frame's transfer runs or waits.
    QPushButton *stop = pane->findChild<QPushButton *>(QStringLiteral("1032"));
    pane->ChangeMode(14);
    EXPECT_FALSE(stop->isHidden());
    EXPECT_FALSE(stop->isEnabled());
    frame->SetBusyMode(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stop->isEnabled(); }));
    frame->SetBusyMode(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !stop->isEnabled(); }));

    // Mode 15: the schedule check needs the option; sorting stays.
    pane->ChangeMode(15);
    EXPECT_FALSE(stop->isHidden());
    frame->SetBusyMode(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stop->isEnabled(); }));
    frame->SetBusyMode(0);
    CContentsListCtrl *schedules = pane->GetVisibleList();
    ASSERT_EQ(schedules->GetContentType(), 51);
    EXPECT_TRUE(schedules->CanExecute(6212));
    EXPECT_TRUE(schedules->CanExecute(6311 + 3));
    EXPECT_FALSE(schedules->CanExecute(57601));
    EXPECT_FALSE(schedules->CanExecute(4004));
    EXPECT_TRUE(pane->CanExecuteCommand(4059));
    EXPECT_FALSE(pane->CanExecuteCommand(4204));

    // Editing a schedule loads it; a no-play period has a dialog of its own.
    pane->ChangeMode(13);
    schedules = pane->GetVisibleList();
    for (qint32 index : {900001, 54000001}) {
        CScheduleProperty schedule;
        ASSERT_TRUE(schedule.SetIndex(index));
        GetContentFolders().GetList(51)->Add(&schedule);
    }
    frame->NotifyContentsListChanged(51, 0, 0);
    schedules->SelectContentIndexes({900001});
    EXPECT_TRUE(schedules->CanExecute(57601));
    schedules->SelectContentIndexes({54000001});
    EXPECT_TRUE(schedules->CanExecute(57601));

    // Mode 10: no filter command on a tab without a filter document.
    pane->ChangeMode(10);
    pane->SelectTab(8);
    ASSERT_EQ(pane->GetVisibleList()->GetContentType(), 10);
    CCmdUI filter(6302);
    pane->OnUpdateCommand(filter);
    EXPECT_FALSE(filter.enabled);
    pane->SelectTab(0);
    pane->OnUpdateCommand(filter);
    EXPECT_TRUE(filter.enabled);
}

TEST_F(ContentsPane, SelectionChecksRefuseWhatTheCommandCannotTake)
{
    start();
    for (qint32 index : {7, 999000001}) {
        CPlaylistProperty playlist;
        playlist.SetIndex(index);
        GetContentFolders().GetList(52)->Add(&playlist);
    }
    frame->NotifyContentsListChanged(52, 0, 0);
    pane->ChangeMode(11);
    CContentsListCtrl *list = pane->GetVisibleList();
    ASSERT_EQ(list->GetContentType(), 52);
    QList<qint32> indexes;
    m_prompter.expect(5247, IDOK);
    EXPECT_FALSE(list->GetSelectedIndexes(indexes, 0));
    EXPECT_TRUE(list->GetSelectedIndexes(indexes, SELECT_ALLOW_EMPTY));

    list->SelectContentIndexes({7, 999000001});
    m_prompter.expect(5269, IDOK).expect(5252, IDOK).expect(5411, IDOK);
    EXPECT_FALSE(list->GetSelectedIndexes(indexes, SELECT_NO_VOD_DELETE));
    EXPECT_FALSE(list->GetSelectedIndexes(indexes, SELECT_NO_VOD_COPY));
    EXPECT_FALSE(list->GetSelectedIndexes(indexes, SELECT_NO_VOD_DEL_DATE));
    EXPECT_FALSE(list->GetSelectedIndexes(indexes, SELECT_NO_VOD_COPY | SELECT_SILENT));
    list->SelectContentIndexes({7});
    EXPECT_TRUE(list->GetSelectedIndexes(indexes, SELECT_NO_VOD_COPY));
    EXPECT_EQ(indexes, QList<qint32>{7});
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);

    // A touch-panel playlist is not opened for editing in mode 14.
    pane->ChangeMode(14);
    pane->SelectTab(9);
    list = pane->GetVisibleList();
    ASSERT_EQ(list->GetContentType(), 52);
    list->SelectContentIndexes({999000001});
    m_prompter.expect(5251, IDOK);
    list->OnCommand(57601);
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
}

TEST_F(ContentsPane, HeaderMenuHidesAndShowsColumns)
{
    start();
    CContentsListCtrl *list = videoList();
    list->OnCommand(4022);
    ASSERT_GE(list->FindColumn(9), 0);
    list->OnCommand(4118); // file name
    EXPECT_EQ(list->FindColumn(9), -1);
    EXPECT_FALSE(GetAppIni().GetColumnDisp(10, 1, 9, true));
    list->OnCommand(4104); // the title may not be hidden
    EXPECT_GE(list->FindColumn(3), 0);
    list->OnCommand(4118);
    EXPECT_GE(list->FindColumn(9), 0);
    // A width the operator drags is kept per mode, type and column.
    list->SetColumnWidth(list->FindColumn(3), 321);
    emit static_cast<TelvListHeader *>(list->header())->sectionTrackEnded(list->FindColumn(3), 321);
    EXPECT_EQ(GetAppIni().GetListWidth(10, 1, 3, 200), 321);
    list->ReinsertColumns();
    EXPECT_EQ(list->GetColumnWidth(list->FindColumn(3)), 321);
}
