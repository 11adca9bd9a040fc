// The dialogs a new operator meets, each at the size it opens with: every
// label, button, field and column shows its text whole, an address, title
// or path fits its field, and dates read in Japanese; the status rows of a
// large send and the overview's panes on a 1600 x 1000 screen. With
// TELV_SCREENSHOT_DIR set each window is grabbed into that folder.
#include "widgets/del_date_chg_dlg.h"
#include "widgets/file_dialog_prompter.h"
#include "app/main_frame.h"
#include "app/playlist_ex_import_dlg.h"
#include "model/app_data.h"
#include "model/player_group_edit.h"
#include "model/player_record.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "ops/telop_document.h"
#include "ops/telop_files.h"
#include "shell_fixture.h"
#include "text_fit.h"
#include "transfer/transfer_status_xml.h"
#include "ui/contents/ip_camera_set_dlg.h"
#include "ui/contents/no_play_date_set_dlg.h"
#include "ui/contents/playlist_opt_dlg.h"
#include "ui/contents/property_set_dlg.h"
#include "ui/contents/telop_edit_ctrl.h"
#include "ui/contents/telop_view_dlg.h"
#include "ui/players/set_password_dlg.h"
#include "ui/players/status_dlg_view.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ui/timetable/schedule_set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Shows the window at its own size and checks every text in it.
void expectWhole(QWidget *window, const char *name)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
    EXPECT_EQ(TextFit::Report(window), "") << name;
    TextFit::Screenshot(window, QStringLiteral("dialog-%1").arg(QString::fromLatin1(name)));
}

} // namespace

using DialogLayout = ShellTest;

TEST_F(DialogLayout, ContentDialogsShowTheirTextsWhole)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);

    CStreamingProperty camera;
    camera.SetAddress(QStringLiteral("192.168.100.200"));
    CIpCameraSetDlg cameraDialog;
    cameraDialog.SetStreamingProperty(camera);
    expectWhole(&cameraDialog, "ip-camera");

    CPropertySetDlg property;
    property.SetCategory(QString(CPropertyBase::kMaxInfo, u'分'));
    property.SetTitle(QString(CPropertyBase::kMaxTitle, u'題'));
    expectWhole(&property, "property");

    // The package chosen lies in the operator's desktop folder.
    CPlaylistExImportDlg import(frame);
    import.SetMode(1);
    import.findChild<QLineEdit *>(QStringLiteral("1106"))
        ->setText(QDir(QDir::homePath()).filePath(QStringLiteral("デスクトップ/書き出し/Q9Content.plst")));
    import.RestoreWindowPos();
    expectWhole(&import, "import");

    CDelDateChgDlg deletion;
    deletion.SetDate(DateValue{2027, 1, 6});
    expectWhole(&deletion, "deletion-date");
    // The first window of a program started with a password.
    CSetPasswordDlg password(CSetPasswordDlg::MODE_STARTUP);
    expectWhole(&password, "password");
    CNoPlayDateSetDlg noPlay;
    noPlay.SetStartDate(DateValue{2027, 1, 6});
    noPlay.SetEndDate(DateValue{2027, 12, 31});
    expectWhole(&noPlay, "no-play");
    for (QLineEdit *edit : noPlay.findChildren<QLineEdit *>())
        EXPECT_FALSE(edit->text().contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) << edit->text().toStdString();

    // The telop preview opens wide enough for its line, with nothing to scroll.
    CTelopTextDoc doc;
    doc.SetFont(QStringLiteral("IPAGothic"), 30);
    doc.InsertText(0, QStringLiteral("本日は晴天なり。ご来店ありがとうございます。"));
    QString records;
    FormatTelopRecords(doc, 4, DefaultTelopPalette(), records);
    CTelopProperty telop;
    CTelopViewDlg preview(nullptr);
    preview.SetTextData(records);
    preview.SetFont(QStringLiteral("IPAGothic"), 30, true);
    preview.SetProperty(&telop);
    expectWhole(&preview, "telop-preview");
    const CTelopEditCtrl *line = preview.findChild<CTelopEditCtrl *>();
    EXPECT_GT(line->GetTotalWidth(), preview.minimumWidth()) << "a line that needs the room";
    EXPECT_EQ(line->horizontalScrollBar()->maximum(), 0);
}

TEST_F(DialogLayout, FileDialogColumnsHoldNamesAndJapaneseSizesKindsAndDates)
{
    ASSERT_TRUE(startUp());
    QTemporaryDir folder;
    for (const auto &[name, size] : {std::pair{"朝の案内_ロビー用_2027年版.mpg", 4096}, std::pair{"短い案内.mpg", 98}}) {
        QFile movie(folder.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(movie.open(QIODevice::WriteOnly));
        movie.write(QByteArray(size, 'm'));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("素材")));
    QFileDialog dialog(nullptr, QStringLiteral("動画 の登録"), folder.path(), QStringLiteral("動画 (*.mpg)"));
    PrepareFileDialog(dialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(details, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return details->model()->rowCount(details->rootIndex()) == 3; }));
    // The columns take their widths once the folder has been read; if they
    // never fit, the report below names what stays clipped.
    (void)QTest::qWaitFor([&] { return TextFit::ClippedTexts(details).isEmpty(); });
    EXPECT_EQ(TextFit::Report(details), "");
    // Sizes and kinds read in Japanese ("98 バイト", "フォルダー", no
    // English word), whatever the desktop's language; dates as the program
    // writes them.
    QStringList rows;
    const QAbstractItemModel *model = details->model();
    for (int row = 0; row < model->rowCount(details->rootIndex()); ++row) {
        const auto cell = [&](int column) { return model->index(row, column, details->rootIndex()).data().toString(); };
        rows << cell(0) + QLatin1Char('|') + cell(1) + QLatin1Char('|') + cell(2);
        EXPECT_FALSE((cell(1) + cell(2)).contains(QRegularExpression(QStringLiteral("[a-z]{2}")))) << rows.last().toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}$")).match(cell(3)).hasMatch())
            << cell(3).toStdString();
    }
    EXPECT_TRUE(rows.contains(QStringLiteral("素材||フォルダー"))) << rows.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("短い案内.mpg|98 バイト|MPEG 動画"))) << rows.join(QLatin1Char(' ')).toStdString();
    TextFit::Screenshot(&dialog, QStringLiteral("dialog-file"));
}

TEST_F(DialogLayout, ScheduleResolutionAndStatusTextsFitAndTheOverviewPanesLieSideBySide)
{
    CMainFrame *frame = startSetUpFrameWithGroups({QStringLiteral("本店（駅前ロビー）")});
    ASSERT_NE(frame, nullptr);
    frame->resize(1600, 1000);

    CScheduleSetDlg schedule(frame);
    ScheduleSetBlock block;
    block.setSchedule = false;
    block.groupName = QStringLiteral("本店（駅前ロビー）");
    block.startDate = DateValue{2027, 1, 6};
    block.endDate = DateValue{2027, 12, 31};
    block.weekdays = QStringLiteral("23456");
    schedule.SetBlock(block);
    schedule.GetSetScheduleCheck()->setChecked(true);
    expectWhole(&schedule, "schedule");
    // A group's name as long as names may be (a thousand pixels and more):
    // the dialog grows no more than its field does, the name is cut short
    // there and whole in its tooltip.
    const QString longName = QString(CPlayerGroupEdit::kMaxNameBytes, QLatin1Char('W'));
    CScheduleSetDlg longGroup(frame);
    block.groupName = longName;
    longGroup.SetBlock(block);
    longGroup.GetSetScheduleCheck()->setChecked(true);
    longGroup.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&longGroup));
    EXPECT_EQ(TextFit::Report(&longGroup), "");
    auto *groups = longGroup.findChild<QComboBox *>(QString::number(CScheduleSetDlg::kGroupId));
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->currentText(), longName);
    EXPECT_EQ(groups->toolTip(), longName);
    EXPECT_LE(longGroup.width(), 2 * schedule.width());
    CPlaylistOptDlg resolution(frame);
    expectWhole(&resolution, "resolution");

    // Two players: one in the middle of a 1 GB send that a player refused
    // with a five-digit code, one whose version differs, both with the
    // free space and clock of a status query.
    CTransferStatusXml &status = *GetPlayerStatusStore();
    status.SetPlayers({21, 22, 23});
    for (const qint32 number : {21, 22}) {
        PlayerRecord player;
        player.Number = number;
        player.Name = QStringLiteral("ロビー%1").arg(number);
        player.IPAddress = QStringLiteral("192.168.100.%1").arg(number);
        GetAppData().GetPlayerXml().AddPlayer(player);
        status.SetSendFileCount(number, 3);
        status.SetSendFileTotal(number, 12);
        status.SetSendContFileSize(number, 328340000);
        status.SetContFileSize(number, 1073741824);
        status.SetVersion(number, QStringLiteral("2.10.3"));
        status.SetDiskSpace(number, quint64(120000) << 20, quint64(238000) << 20, quint64(450000) << 20,
                            quint64(953000) << 20);
        status.SetPlayerDateTime(number, SystemTime{2027, 1, 3, 6, 10, 5, 1, 0});
    }
    PlayerRecord longNamed;
    longNamed.Number = 23;
    longNamed.Name = longName;
    GetAppData().GetPlayerXml().AddPlayer(longNamed);
    status.SetSendStatus(21, 7);
    status.SetErrorCode(21, 20503);
    status.SetSendStatus(22, 6);
    status.SetErrorCode(22, 3004);
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_COMM_STATUS, true));
    auto *view = dynamic_cast<CStatusDlgView *>(frame->GetViewPane(CMainFrame::PANE_STATUS));
    ASSERT_NE(view, nullptr);
    // A long name leaves the state and the error code in view.
    view->SetPlayers({23});
    view->SetPlayers({21, 22});
    auto *rows = view->findChild<QTableWidget *>();
    ASSERT_NE(rows, nullptr);
    const QHeaderView *header = rows->horizontalHeader();
    EXPECT_LE(header->sectionViewportPosition(CStatusDlgView::COLUMN_DETAIL)
                  + header->sectionSize(CStatusDlgView::COLUMN_DETAIL),
              rows->viewport()->width());
    view->SetPlayers({21, 23, 22});
    EXPECT_EQ(rows->item(1, CStatusDlgView::COLUMN_NAME)->toolTip(), longName);
    EXPECT_EQ(TextFit::Report(view), "");
    TextFit::Screenshot(frame, QStringLiteral("status"));

    // The overview's first show: no pane covers another.
    ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_OVERVIEW, true));
    const int panes[] = {CMainFrame::PANE_SCHEDULE_VIEW, CMainFrame::PANE_CALENDAR_GROUP,
                         CMainFrame::PANE_SCHEDULE_CHECK, CMainFrame::PANE_LAYOUT_DISP,
                         CMainFrame::PANE_PLAYLIST_CHECK};
    for (const int one : panes) {
        for (const int other : panes) {
            const QRect a = frame->GetViewFrame(one)->geometry();
            const QRect b = frame->GetViewFrame(other)->geometry();
            EXPECT_TRUE(one == other || !a.intersects(b)) << one << " and " << other;
        }
    }
    // A track column cut at the pane's edge shows the start of its name.
    const auto *playlist = dynamic_cast<CPlaylistEditDlgView *>(frame->GetViewPane(CMainFrame::PANE_PLAYLIST_CHECK));
    ASSERT_NE(playlist, nullptr);
    EXPECT_TRUE(playlist->GetGrid()->horizontalHeader()->defaultAlignment() & Qt::AlignLeft);
    TextFit::Screenshot(frame, QStringLiteral("overview"));
}
