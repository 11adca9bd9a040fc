// The screen layout of the edited playlist through the window: the layout
// check draws the pictures of the selected row where its areas lie, the
// layout-change button opens the two layout windows where they were left,
// and a layout that cannot show a track the row uses is refused.
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "core/app_ini.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/img_property.h"
#include "model/movie_property.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"
#include "shell_fixture.h"
#include "support/time_codes.h"
#include "ui/players/layout_disp_dlg_view.h"
#include "ui/players/layout_dlg_view.h"
#include "ui/players/layout_prop_dlg_view.h"
#include "ui/timetable/playlist_edit_dlg_view.h"
#include "ops/clipboard_formats.h"
#include "timetable_drops.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

namespace {

constexpr qint32 kMovie = 101000001;
constexpr qint32 kStill = 201000001;
constexpr qint32 kTelop = 301000001;
// Resolution 1 is 1280 x 720, resolution 5 1024 x 768 (landscape).
constexpr qint32 kWide = 1;
constexpr qint32 kNarrow = 5;
const QColor kMovieColor(220, 40, 40);
const QColor kStillColor(40, 200, 60);
const QColor kTelopColor(40, 60, 220);

// Main picture on the left, the still top right, the telop bottom right.
const WinRect kMainArea{0, 0, 960, 720};
const WinRect kStillArea{960, 0, 1280, 360};
const WinRect kTelopArea{960, 360, 1280, 720};

void Place(CPlaylistEditModel &model, int flag, int type, qint32 number, int from, int to, const WinRect &rect)
{
    CTimetableItem item;
    ASSERT_TRUE(item.Set(number, at(from), at(to), type, 0));
    ASSERT_TRUE(item.SetRect(rect.left, rect.top, rect.width(), rect.height()));
    ASSERT_TRUE(model.InsertItem(model.FindTrack(flag), item));
}

void WritePicture(const QString &path, const QColor &color, const char *format)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

template <class Record>
void AddRecord(int type, qint32 number, const QString &title)
{
    Record record;
    ASSERT_TRUE(record.SetIndex(number));
    ASSERT_TRUE(record.SetTitle(title));
    ASSERT_TRUE(GetContentFolders().GetList(type)->Add(&record));
}

bool Near(const QColor &seen, const QColor &wanted)
{
    return std::abs(seen.red() - wanted.red()) < 30 && std::abs(seen.green() - wanted.green()) < 30
        && std::abs(seen.blue() - wanted.blue()) < 30;
}

LayoutTemplate::Areas WideAreas()
{
    LayoutTemplate::Areas areas{};
    areas[0] = LayoutArea{true, kMainArea};
    areas[1] = LayoutArea{true, kStillArea};
    areas[2] = LayoutArea{true, kTelopArea};
    return areas;
}

// A layout without a telop area.
LayoutTemplate::Areas NarrowAreas()
{
    LayoutTemplate::Areas areas{};
    areas[0] = LayoutArea{true, WinRect{0, 0, 704, 768}};
    areas[1] = LayoutArea{true, WinRect{704, 0, 1024, 384}};
    return areas;
}

class LayoutPanes : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame = startSetUpFrame();
        ASSERT_NE(frame, nullptr);
        GetAppData().GetLayoutTemplates().SetLayout(kWide, 0, WideAreas());
        GetAppData().GetLayoutTemplates().SetLayout(kNarrow, 0, NarrowAreas());
        GetAppData().GetLayoutTemplates().SetLayout(kWide, 1, WideAreas()); // portrait: not offered
        writeContents();

        // Row 0 (0-10 s): the movie and the still; row 1 (10-20 s): the
        // movie going on and the telop.
        CPlaylistEditModel &model = edited();
        model.SetResolution(kWide);
        model.SetOrientation(0);
        Place(model, 1, 1, kMovie, 0, 20, kMainArea);
        Place(model, 2, 2, kStill, 0, 10, kStillArea);
        Place(model, 4, 3, kTelop, 10, 20, kTelopArea);
        ASSERT_EQ(model.GetRowCount(), 2);
        model.SetModified(false);
        ASSERT_TRUE(frame->SwitchView(CMainFrame::VIEW_PLAYLIST, true));
        frame->NotifyEditListChanged(52, 1);
    }

    void writeContents()
    {
        const QString root = GetAppData().GetDataRoot();
        QString path;
        ASSERT_TRUE(MakeThumbnailPath(ThumbnailFolder(root, 1), kMovie, false, path));
        WritePicture(path, kMovieColor, "JPG");
        ASSERT_TRUE(MakeThumbnailPath(ThumbnailFolder(root, 2), kStill, false, path));
        WritePicture(path, kStillColor, "JPG");
        ASSERT_TRUE(MakeTelopFilePath(TextFolderOf(root), kTelop, TELOP_FILE_BITMAP, path));
        WritePicture(path, kTelopColor, "BMP");
        AddRecord<CMovieProperty>(1, kMovie, QStringLiteral("movie"));
        AddRecord<CImgProperty>(2, kStill, QStringLiteral("still"));
        AddRecord<CTelopProperty>(3, kTelop, QStringLiteral("telop"));
    }

    static CPlaylistEditModel &edited() { return *GetContentFolders().GetPlaylistModel(52); }

    void clickRow(int row)
    {
        QAbstractItemView *grid = PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT)->GetGrid();
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(frame->GetEditPlaylistIndex(), row);
    }

    CLayoutPreviewCanvas *checkCanvas() const
    {
        return PaneOf<CLayoutDispDlgView>(frame, CMainFrame::PANE_LAYOUT_DISP)->GetCanvas();
    }

    // The colour the layout check shows at the centre of a screen rectangle.
    QColor checkColorAt(const WinRect &area) const
    {
        const LayoutPreview &preview = GetContentFolders().GetLayoutPreview();
        const QRect screen = checkCanvas()->GetScreenRect();
        const QImage shot = checkCanvas()->grab().toImage();
        const QPoint centre(screen.left() + (area.left + area.right) / 2 * screen.width() / preview.screenWidth,
                            screen.top() + (area.top + area.bottom) / 2 * screen.height() / preview.screenHeight);
        return shot.pixelColor(centre);
    }

    // A content dragged from the contents pane.
    static QMimeData *contentDrag(int type, qint32 number)
    {
        auto *data = new QMimeData;
        data->setData(ClipboardMimeType(CLIPBOARD_CONTENTS), MakeContentsDataBlock(type, {number}));
        return data;
    }

    QRect itemRect(int row, int flag) const
    {
        TimetableCell cell;
        EXPECT_TRUE(edited().GetItem(row, edited().FindTrack(flag), cell));
        if (cell.gap) {
            EXPECT_TRUE(edited().GetItem(cell.ownerRow, edited().FindTrack(flag), cell));
        }
        return QRect(cell.item.GetX(), cell.item.GetY(), cell.item.GetWidth(), cell.item.GetHeight());
    }

    CMainFrame *frame = nullptr;
};

} // namespace

TEST_F(LayoutPanes, TheCheckDrawsThePicturesOfTheSelectedRowInTheirAreas)
{
    // A client below 1200 x 900 gives the check its small default size.
    EXPECT_EQ(frame->GetViewFrame(CMainFrame::PANE_LAYOUT_DISP)->size(), QSize(300, 300));
    auto *check = PaneOf<CLayoutDispDlgView>(frame, CMainFrame::PANE_LAYOUT_DISP);
    const QRect screen = check->GetCanvas()->GetScreenRect();
    ASSERT_FALSE(screen.isEmpty());
    // The whole 16:9 screen, scaled to the pane.
    EXPECT_NEAR(double(screen.width()) / screen.height(), 1280.0 / 720.0, 0.03);
    EXPECT_TRUE(check->GetLayoutButton()->isVisible());

    clickRow(0);
    EXPECT_TRUE(Near(checkColorAt(kMainArea), kMovieColor));
    EXPECT_TRUE(Near(checkColorAt(kStillArea), kStillColor));
    EXPECT_TRUE(Near(checkColorAt(kTelopArea), Qt::black));

    clickRow(1);
    EXPECT_TRUE(Near(checkColorAt(kMainArea), kMovieColor)); // the movie goes on
    EXPECT_TRUE(Near(checkColorAt(kStillArea), Qt::black));
    EXPECT_TRUE(Near(checkColorAt(kTelopArea), kTelopColor));
    EXPECT_TRUE(checkCanvas()->GetNotice().isEmpty());

    // A picture is read once per row shown, not on every repaint: one gone
    // from its folder is still drawn until the row is shown again.
    QString telopBitmap;
    ASSERT_TRUE(MakeTelopFilePath(TextFolderOf(GetAppData().GetDataRoot()), kTelop, TELOP_FILE_BITMAP, telopBitmap));
    ASSERT_TRUE(QFile::remove(telopBitmap));
    EXPECT_TRUE(Near(checkColorAt(kTelopArea), kTelopColor));
    clickRow(0);
    clickRow(1);
    EXPECT_TRUE(Near(checkColorAt(kTelopArea), QColor(96, 96, 96)));

    // The overview checks another list: the change button is not offered.
    frame->SwitchView(CMainFrame::VIEW_OVERVIEW, true);
    EXPECT_FALSE(check->GetLayoutButton()->isVisible());
}

TEST_F(LayoutPanes, TheLayoutWindowsOpenWhereTheyWereLeftAndALayoutIsChosen)
{
    GetAppIni().SetWindowRect(81, WinRect{120, 140, 600, 440});
    GetAppIni().SetWindowRect(82, WinRect{620, 140, 880, 400});
    clickRow(0);
    QTest::mouseClick(PaneOf<CLayoutDispDlgView>(frame, CMainFrame::PANE_LAYOUT_DISP)->GetLayoutButton(),
                      Qt::LeftButton);

    auto *canvas = PaneOf<CLayoutDlgView>(frame, CMainFrame::PANE_LAYOUT);
    auto *properties = PaneOf<CLayoutPropDlgView>(frame, CMainFrame::PANE_LAYOUT_PROP);
    ASSERT_TRUE(canvas->isVisible());
    ASSERT_TRUE(properties->isVisible());
    EXPECT_EQ(canvas->pos(), QPoint(120, 140));
    EXPECT_EQ(properties->pos(), QPoint(620, 140));
    EXPECT_TRUE(canvas->IsPlaylistLayoutMode());
    EXPECT_EQ(properties->GetResolutionText(), QStringLiteral("1280 x 720"));
    EXPECT_EQ(properties->GetOrientationText(), QString::fromUtf8("横"));
    // Its areas are named as the grid heads their tracks.
    EXPECT_EQ(canvas->GetCanvas()->AreaLabel(1), QString::fromUtf8("サブ1\nstill"));

    // The landscape layouts are offered; the telop row cannot go to the one
    // without a telop area.
    QComboBox *choice = properties->GetLayoutChoice();
    ASSERT_EQ(choice->count(), CAppData::kResolutionCount);
    EXPECT_FALSE(properties->GetNotice()->isVisible());
    EXPECT_EQ(choice->currentData().toInt(), kWide);
    clickRow(1);
    m_prompter.answer(IDOK);
    choice->setCurrentIndex(choice->findData(kNarrow));
    emit choice->activated(choice->currentIndex());
    EXPECT_TRUE(m_prompter.last().text.contains(QString::fromUtf8("トラック")));
    EXPECT_EQ(edited().GetResolution(), kWide);
    EXPECT_FALSE(edited().IsModified());
    EXPECT_EQ(itemRect(1, 4), QRect(960, 360, 320, 360));
    EXPECT_EQ(choice->currentData().toInt(), kWide);
    EXPECT_EQ(GetContentFolders().GetPlaylistLayout().number, kWide);

    // Row 0 shows only what the narrow layout has areas for: its items take
    // them, and the playlist is for the narrow screen now.
    clickRow(0);
    choice->setCurrentIndex(choice->findData(kNarrow));
    emit choice->activated(choice->currentIndex());
    EXPECT_EQ(edited().GetResolution(), kNarrow);
    EXPECT_TRUE(edited().IsModified());
    EXPECT_EQ(itemRect(0, 1).size(), QSize(704, 768));
    EXPECT_EQ(itemRect(0, 2).size(), QSize(320, 384));
    EXPECT_EQ(properties->GetResolutionText(), QStringLiteral("1024 x 768"));
    EXPECT_EQ(GetAppData().GetCurrentLayout().number, kNarrow);

    // Closing puts both windows away and keeps where they stand.
    canvas->move(150, 160);
    QTest::mouseClick(properties->GetCloseButton(), Qt::LeftButton);
    EXPECT_FALSE(canvas->isVisible());
    EXPECT_FALSE(properties->isVisible());
    WinRect stored;
    ASSERT_TRUE(GetAppIni().GetWindowRect(81, stored));
    EXPECT_EQ(QPoint(stored.left, stored.top), QPoint(150, 160));
}

TEST_F(LayoutPanes, ContentsDroppedOnAFreshInstallShowInTheDefaultAreasAndAScreenWithoutALayoutIsNamed)
{
    // A new playlist for the full-HD screen, laid out by the program's own
    // template: the movie on the main track, the telop on the next.
    GetAppIni().SetLastResolution(0);
    GetAppIni().SetLastOrientation(0);
    ASSERT_TRUE(frame->PlaylistNew(52, true));
    CTimetableGrid &grid = *PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT)->GetGrid();
    ASSERT_TRUE(DropOn(grid, contentDrag(1, kMovie), -1, 1));
    ASSERT_TRUE(DropOn(grid, contentDrag(3, kTelop), 0, 2));
    EXPECT_EQ(itemRect(0, 1), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(itemRect(0, 2), QRect(0, 960, 1920, 120));
    clickRow(0);
    EXPECT_TRUE(Near(checkColorAt(WinRect{0, 0, 1920, 900}), kMovieColor));
    EXPECT_TRUE(Near(checkColorAt(WinRect{0, 960, 1920, 1080}), kTelopColor));

    // Without a layout of its screen the check and the layout window say so,
    // and a content placed then keeps the playlist from being saved.
    GetAppData().GetLayoutTemplates().RemoveAll();
    ASSERT_TRUE(DropOn(grid, contentDrag(2, kStill), 0, 3));
    EXPECT_EQ(itemRect(0, 4), QRect());
    clickRow(0);
    EXPECT_FALSE(checkCanvas()->GetNotice().isEmpty());
    QTest::mouseClick(PaneOf<CLayoutDispDlgView>(frame, CMainFrame::PANE_LAYOUT_DISP)->GetLayoutButton(),
                      Qt::LeftButton);
    auto *properties = PaneOf<CLayoutPropDlgView>(frame, CMainFrame::PANE_LAYOUT_PROP);
    EXPECT_TRUE(properties->GetNotice()->isVisible());
    EXPECT_EQ(properties->GetLayoutChoice()->count(), 0);

    m_prompter.answer(IDOK);
    QTest::mouseClick(PaneOf<CPlaylistEditDlgView>(frame, CMainFrame::PANE_PLAYLIST_EDIT)->GetButton(
                          QStringLiteral("save")),
                      Qt::LeftButton);
    EXPECT_TRUE(m_prompter.last().text.contains(QString::fromUtf8("表示エリア")));
    EXPECT_EQ(GetContentFolders().GetList(52)->GetCount(), 0);
    EXPECT_TRUE(edited().IsModified());
}
