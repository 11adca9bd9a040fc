#pragma once
// The operator's road through the real main window, only by its widgets: the
// helpers that click, tick and type as an operator does, and the fixture
// that walks the first set-up, makes a group and registers contents by the
// contents pane's commands. With TELV_SCREENSHOT_DIR set, snapshot() grabs
// the window into that folder (`make screenshots`).

#include "app/main_frame.h"
#include "app/guide_bar.h"
#include "widgets/telv_bmp_button.h"
#include "app/telv_tool_bar_ctrl.h"
#include "cab/dlkx_cab.h"
#include "control_lookup.h"
#include "core/data_folders.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/system_ini.h"
#include "fake_file_dialogs.h"
#include "model/contents_list.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/property_base.h"
#include "model/q9_display_xml.h"
#include "player_ops_fixture.h"
#include "ui/contents/contents_dlg_view.h"
#include "ui/contents/contents_list_ctrl.h"
#include "ui/contents/contents_list_dlg.h"
#include "ui/contents/contents_tab_ctrl.h"
#include "ui/contents/contents_thumb_view.h"
#include "ui/players/set_group_dlg_view.h"
#include "ui/players/set_r40_list_dlg_view.h"
#include "ui/players/set_system_dlg_view.h"
#include "ui/players/status_dlg_view.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStyle>
#include <QStyleOptionButton>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

inline constexpr int kRegistrationWaitMs = 60000;

inline void click(QWidget *widget)
{
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    QTest::mouseClick(widget, Qt::LeftButton);
}

// A check box takes a click on its box or its text only.
inline void clickCheckBox(QCheckBox *box)
{
    ASSERT_NE(box, nullptr);
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect target = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, target.center());
}

inline void typeInto(QWidget *parent, int id, const QString &text)
{
    auto *edit = control<QLineEdit>(parent, id);
    ASSERT_NE(edit, nullptr);
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Clicks the first row of an item view (list or thumbnails).
inline void clickFirstRow(QAbstractItemView *view)
{
    ASSERT_NE(view, nullptr);
    ASSERT_GT(view->model()->rowCount(), 0);
    const QRect rect = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}


class OperatorRoad : public PlayerOpsTest {
protected:
    struct Registered {
        int type;
        qint32 index;
        QString suffix;    // of the file on the player: the extension, or the page of a web package
        QByteArray bytes;  // what the player must hold there
    };

    CContentsDlgView *contentsPane() const
    {
        return dynamic_cast<CContentsDlgView *>(m_frame->GetViewPane(CMainFrame::PANE_CONTENTS));
    }
    QWidget *pane(int index) const { return m_frame->GetViewPane(index); }

    void snapshot(const char *name)
    {
        const QString folder = qEnvironmentVariable("TELV_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        // Thumbnails are loaded as they are shown.
        QTest::qWait(300);
        EXPECT_TRUE(m_frame->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png"))));
    }

    // The main window shown at the size of the README's pictures; false when it did not start.
    bool showWindow()
    {
        m_frame = startFrame();
        if (!m_frame)
            return false;
        m_frame->resize(1280, 800);
        m_frame->show();
        return true;
    }

    void clickNavigation(int viewId)
    {
        click(m_frame->GetGuideBar()->GetButton(viewId));
        ASSERT_EQ(m_frame->GetCurrentView(), viewId);
    }

    // The first set-up: the system page (resending after errors switched
    // off, so a failed player ends the transfer), then the player page with
    // every emulated player, as an operator types them.
    void completeFirstSetUp(int players)
    {
        ASSERT_EQ(m_frame->GetCurrentView(), CMainFrame::VIEW_SET_SYSTEM);
        QWidget *system = pane(CMainFrame::PANE_SET_SYSTEM);
        clickCheckBox(control<QCheckBox>(system, CSetSystemDlgView::kRetryId));
        click(control<QPushButton>(system, CSetSystemDlgView::kOkButtonId));
        ASSERT_EQ(m_frame->GetCurrentView(), CMainFrame::VIEW_SET_PLAYERS);
        ASSERT_FALSE(GetSystemIni().Settings().R40RetryEnable);

        QWidget *page = pane(CMainFrame::PANE_SET_R40_LIST);
        for (int i = 0; i < players; ++i) {
            typeInto(page, CSetR40ListDlgView::kNameId, QStringLiteral("Shop%1").arg(i + 1));
            typeInto(page, CSetR40ListDlgView::kAddressId, player(i).address());
            typeInto(page, CSetR40ListDlgView::kPortId, QString::number(player(i).port()));
            typeInto(page, CSetR40ListDlgView::kPasswordId, QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
            click(control<QPushButton>(page, CSetR40ListDlgView::kAddId));
        }
        ASSERT_EQ(control<QTableWidget>(page, CSetR40ListDlgView::kListId)->rowCount(), players);
        snapshot("1-players");
        click(control<QPushButton>(page, CSetR40ListDlgView::kOkButtonId));
        EXPECT_EQ(GetSettingIni().Options().InitSeq, CSettingIni::kSetupComplete);
        ASSERT_EQ(m_frame->GetCurrentView(), CMainFrame::VIEW_CONTENTS);
    }

    // The group page: a group with every player ticked.
    void makeGroup(const QString &name)
    {
        clickNavigation(CMainFrame::VIEW_SET_GROUPS);
        QWidget *page = pane(CMainFrame::PANE_SET_GROUP);
        typeInto(page, CSetGroupDlgView::kNameId, name);
        click(control<QPushButton>(page, CSetGroupDlgView::kAddId));
        auto *members = control<QListWidget>(page, CSetGroupDlgView::kMembersId);
        for (int i = 0; i < members->count(); ++i) {
            QTest::mouseClick(members->viewport(), Qt::LeftButton, {}, members->visualItemRect(members->item(i)).center());
            QTest::keyClick(members, Qt::Key_Space);
            ASSERT_EQ(members->item(i)->checkState(), Qt::Checked) << i;
        }
        click(control<QPushButton>(page, CSetGroupDlgView::kOkButtonId));
        ASSERT_EQ(m_frame->GetCurrentGroupName(), name);
    }

    // Shows the tab of a content type in the contents pane and returns its list.
    CContentsListCtrl *showTab(int type)
    {
        CContentsTabCtrl *tabs = contentsPane()->GetTabCtrl();
        for (int i = 0; i < tabs->count(); ++i) {
            CContentsListDlg *page = tabs->GetPage(i);
            if (page && page->GetContentType() == type) {
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
                EXPECT_EQ(contentsPane()->GetVisibleList(), page->GetList());
                return page->GetList();
            }
        }
        ADD_FAILURE() << "no tab of type " << type;
        return nullptr;
    }

    // A command of the contents pane's tool bar.
    void clickToolBarCommand(int command)
    {
        CTelvToolBarCtrl *bar = contentsPane()->GetToolBar();
        ASSERT_NE(bar, nullptr);
        QAction *action = bar->FindButton(command);
        ASSERT_NE(action, nullptr) << command;
        click(bar->widgetForAction(action));
    }

    // The register command of the tab's tool bar, answered with the file.
    void registerFile(int type, int command, const QString &path)
    {
        CContentsListCtrl *list = showTab(type);
        ASSERT_NE(list, nullptr);
        m_dialogs.answers = {path};
        clickToolBarCommand(command);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_frame->GetRegContDlg() && m_frame->isEnabled(); },
                                    kRegistrationWaitMs));
        ASSERT_EQ(GetContentFolders().GetList(type)->GetCount(), 1) << type;
    }

    // Where the operator keeps the files to register.
    QString mediaPath(const QString &name)
    {
        QDir().mkpath(m_home.filePath(QStringLiteral("media")));
        return m_home.filePath(QStringLiteral("media/") + name);
    }
    // An MPEG-2 movie of a length in seconds ("4.92") at a frame rate.
    QString makeMovie(const QString &seconds = QStringLiteral("1"), int rate = 30)
    {
        const QString path = mediaPath(QStringLiteral("opening.mpg"));
        QProcess tool;
        tool.start(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i",
                                              QStringLiteral("testsrc=size=320x240:rate=%1").arg(rate), "-t", seconds,
                                              "-c:v", "mpeg2video", "-f", "vob", path});
        EXPECT_TRUE(tool.waitForFinished(60000) && tool.exitCode() == 0) << tool.readAllStandardError().toStdString();
        return path;
    }
    QString makeStill()
    {
        const QString path = mediaPath(QStringLiteral("menu.jpg"));
        QImage image(640, 360, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // A telop registered from a bitmap.
    QString makeTelopBitmap()
    {
        const QString path = mediaPath(QStringLiteral("ticker.bmp"));
        QImage image(300, 30, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    // A web package: the pages and their thumbnail in one cabinet.
    QString makeWebPackage()
    {
        const QString folder = mediaPath(QStringLiteral("news"));
        QDir().mkpath(folder);
        QFile page(folder + QStringLiteral("/index.html"));
        EXPECT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html><body>News of the day</body></html>");
        page.close();
        QImage thumbnail(320, 180, QImage::Format_RGB32);
        thumbnail.fill(Qt::darkYellow);
        EXPECT_TRUE(thumbnail.save(folder + QStringLiteral("/thumbnail.jpg")));
        const QString path = mediaPath(QStringLiteral("news.dscc"));
        EXPECT_EQ(DLKxCompressCab({folder, {}, 0, path}), 0);
        return path;
    }

    // The file of a registered content as the library holds it; the page of
    // a web package, a telop's bitmap.
    static QByteArray libraryBytes(int type, const CPropertyBase &record)
    {
        QString path = GetContentFolders().GetContentFolder(type) + QLatin1Char('/');
        if (type == 3)
            MakeTelopFilePath(TextFolderOf(GetAppData().GetDataRoot()), record.GetIndex(), TELOP_FILE_BITMAP, path);
        else if (type == 4)
            path += QStringLiteral("%1/index.html").arg(record.GetIndex(), 9, 10, QLatin1Char('0'));
        else if (const auto *media = dynamic_cast<const CMediaProperty *>(&record))
            path += media->GetLink();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    // The road up to the registered contents (a movie, a still, a web page
    // and a bitmap telop, or the still alone), in the contents view.
    std::vector<Registered> setUpAndRegister(bool stillOnly)
    {
        completeFirstSetUp(2);
        makeGroup(QString::fromLatin1(kGroup));
        if (!stillOnly)
            registerFile(1, 4201, makeMovie());
        registerFile(2, 4201, makeStill());
        if (!stillOnly) {
            registerFile(4, 4202, makeWebPackage());
            registerFile(3, 4203, makeTelopBitmap());
        }
        showTab(2);
        snapshot("2-contents");
        std::vector<Registered> registered;
        for (const auto &[type, suffix] : {std::pair{1, QStringLiteral(".mpg")}, std::pair{2, QStringLiteral(".jpg")},
                                           std::pair{4, QStringLiteral("/index.html")},
                                           std::pair{3, QStringLiteral(".bmp")}}) {
            if (stillOnly && type != 2)
                continue;
            const CPropertyBase *record = GetContentFolders().GetList(type)->GetAt(0);
            EXPECT_NE(record, nullptr);
            if (record)
                registered.push_back({type, record->GetIndex(), suffix, libraryBytes(type, *record)});
        }
        return registered;
    }

    // Advance delivery: each content chosen in its tab and sent with the
    // pane's send button; the transfer runs to its end.
    void sendEach(const std::vector<Registered> &contents)
    {
        clickNavigation(CMainFrame::VIEW_ADVANCE_DELIVERY);
        for (const Registered &content : contents) {
            CContentsListCtrl *list = showTab(content.type);
            ASSERT_NE(list, nullptr);
            // Telops keep their rows in thumbnail mode.
            clickFirstRow(list->IsThumbnailMode() && list->GetThumbView()
                              ? static_cast<QAbstractItemView *>(list->GetThumbView())
                              : list);
            click(control<QPushButton>(contentsPane(), CContentsDlgView::IDC_ACTION));
            ASSERT_TRUE(waitIdle()) << content.type;
        }
    }

    // The player received the content's file under its number, byte for byte.
    bool received(int i, const Registered &content)
    {
        const QString number = QStringLiteral("%1").arg(content.index, 9, 10, QLatin1Char('0'));
        for (const EmulatedPlayer::Request &request : player(i).requests()) {
            const QString href = request.parameter(QStringLiteral("href"));
            if (request.path == QLatin1String("/upload.php") && href.contains(number) && href.endsWith(content.suffix))
                return player(i).file(href) == content.bytes;
        }
        return false;
    }

    FakeFileDialogs m_dialogs;
};
