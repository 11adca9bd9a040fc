// Laying a playlist row out to its layout, the layout-check preview, the
// default size of the layout-check window, and saving a list for a preview.
#include "ops/layout_selection.h"

#include "core/app_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/movie_property.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "support/scripted_prompter.h"
#include "support/time_codes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CTimetableItem placedItem(int type, qint32 number, int from, int to)
{
    CTimetableItem entry;
    EXPECT_TRUE(entry.Set(number, at(from), at(to), type, 0));
    EXPECT_TRUE(entry.SetRect(10, 20, 1, 1));
    return entry;
}

// Video on the main track over 0-20 s, a still on the second track over
// 10-20 s, audio over 0-20 s: row 1 (10-20 s) holds the video as a gap.
CPlaylistEditModel sampleList()
{
    CPlaylistEditModel model(52);
    EXPECT_TRUE(model.InsertItem(model.FindTrack(1), placedItem(1, 101000001, 0, 20)));
    EXPECT_TRUE(model.InsertItem(model.FindTrack(2), placedItem(2, 201000001, 10, 20)));
    EXPECT_TRUE(model.InsertItem(model.FindTrack(32), placedItem(6, 601000001, 0, 20)));
    model.SetModified(false);
    return model;
}

LayoutTemplate::Areas sampleAreas()
{
    LayoutTemplate::Areas areas{};
    areas[0] = LayoutArea{true, WinRect{0, 0, 1280, 720}};
    areas[1] = LayoutArea{true, WinRect{1280, 0, 1920, 360}};
    return areas;
}

} // namespace

TEST(LayoutSelection, RowItemsTakeTheirAreasAndAudioIsPassedOver)
{
    EXPECT_EQ(AreaOfTrackFlag(64), 5);
    EXPECT_EQ(AreaOfTrackFlag(32), -1);
    EXPECT_EQ(AreaOfTrackFlag(128), -1);

    CPlaylistEditModel model = sampleList();
    ASSERT_EQ(model.GetRowCount(), 2);
    ASSERT_TRUE(LayoutPlaylistRow(model, 1, sampleAreas()));
    EXPECT_TRUE(model.IsModified());
    TimetableCell cell;
    ASSERT_TRUE(model.GetItem(0, model.FindTrack(1), cell)); // the gap's owner took the size
    EXPECT_EQ(cell.item.GetWidth(), 1280);
    EXPECT_EQ(cell.item.GetHeight(), 720);
    EXPECT_EQ(cell.item.GetX(), 0);
    ASSERT_TRUE(model.GetItem(1, model.FindTrack(2), cell));
    EXPECT_EQ(cell.item.GetX(), 1280); // where its area lies, not where it was
    EXPECT_EQ(cell.item.GetWidth(), 640);
    ASSERT_TRUE(model.GetItem(0, model.FindTrack(32), cell));
    EXPECT_EQ(cell.item.GetWidth(), 1); // audio keeps its size

    // An area that no item can take puts the list back as it was.
    CPlaylistEditModel other = sampleList();
    LayoutTemplate::Areas bad = sampleAreas();
    bad[1].rect = WinRect{100, 0, 0, 10}; // negative width
    EXPECT_FALSE(LayoutPlaylistRow(other, 1, bad));
    ASSERT_TRUE(other.GetItem(0, other.FindTrack(1), cell));
    EXPECT_EQ(cell.item.GetWidth(), 1);
    EXPECT_FALSE(other.IsModified());

    // So does a layout that has no area for a track the row plays.
    LayoutTemplate::Areas hidden = sampleAreas();
    hidden[1].use = false;
    EXPECT_FALSE(LayoutPlaylistRow(other, 1, hidden));
    ASSERT_TRUE(other.GetItem(0, other.FindTrack(1), cell));
    EXPECT_EQ(cell.item.GetWidth(), 1);
    EXPECT_TRUE(LayoutPlaylistRow(other, 0, hidden)); // row 0 plays no still
}

TEST(LayoutSelection, PlacedContentsTakeTheirTracksAreasOfThePlaylistsLayout)
{
    CLayoutTemplateStore templates;
    CPlaylistEditModel model(52);
    model.SetResolution(1);
    CTimetableItem movie;
    ASSERT_TRUE(movie.Set(101000001, at(0), at(20), 1, 0));
    ASSERT_TRUE(model.InsertItem(model.FindTrack(1), movie));
    ASSERT_TRUE(model.InsertItem(model.FindTrack(2), placedItem(2, 201000001, 0, 10))); // placed before
    ASSERT_TRUE(model.PlaceItem(model.FindTrack(4), at(0), 300, 301000001, 3));
    CTimetableItem sound;
    ASSERT_TRUE(sound.Set(601000001, at(0), at(20), 6, 0));
    ASSERT_TRUE(model.InsertItem(model.FindTrack(32), sound));
    model.SetModified(false);
    const auto rectOf = [&model](int flag, int row = 0) {
        TimetableCell cell;
        EXPECT_TRUE(model.GetItem(row, model.FindTrack(flag), cell));
        return QRect(cell.item.GetX(), cell.item.GetY(), cell.item.GetWidth(), cell.item.GetHeight());
    };

    // No layout of the playlist's screen: nothing placed, and the save is refused.
    ScriptedPrompter prompter;
    EXPECT_FALSE(PlacePlaylistItems(model, templates));
    EXPECT_EQ(rectOf(1), QRect());
    prompter.answer(IDOK);
    EXPECT_FALSE(CheckPlaylistAreas(model, templates));
    EXPECT_TRUE(prompter.last().text.contains(QString::fromUtf8("表示エリア")));

    LayoutTemplate::Areas areas = CLayoutTemplateStore::DefaultAreas(1280, 720);
    areas[2].use = false;
    templates.SetLayout(1, 0, areas);
    EXPECT_FALSE(PlacePlaylistItems(model, templates)); // the telop's area is not in use
    EXPECT_EQ(rectOf(1), QRect(0, 0, 1280, 720));
    EXPECT_EQ(rectOf(2), QRect(10, 20, 1, 1)); // a rectangle it had is kept
    EXPECT_EQ(rectOf(32), QRect());            // audio shows nowhere
    EXPECT_TRUE(model.IsModified());

    templates.SetLayout(1, 0, CLayoutTemplateStore::DefaultAreas(1280, 720));
    EXPECT_TRUE(CheckPlaylistAreas(model, templates));
    EXPECT_EQ(rectOf(4), QRect(0, 0, 1280, 80));
    // Moved to another track, a content takes that track's area.
    ASSERT_TRUE(model.MoveItem(0, model.FindTrack(4), model.FindTrack(2), at(10)));
    ASSERT_TRUE(PlacePlaylistItems(model, templates));
    EXPECT_EQ(rectOf(2, model.GetRowCount() - 1), QRect(0, 640, 1280, 80));
}

TEST(LayoutSelection, PreviewOfARow)
{
    QTemporaryDir dir;
    CContentsStore store;
    store.SetFolders(dir.path(), dir.path());
    CMovieProperty video;
    ASSERT_TRUE(video.SetIndex(101000001));
    ASSERT_TRUE(video.SetWidth(1920));
    ASSERT_TRUE(video.SetHeight(1080));
    ASSERT_TRUE(store.GetList(1)->Add(&video));

    CPlaylistEditModel model = sampleList();
    model.SetResolution(0);
    model.SetOrientation(1);
    CLayoutTemplateStore templates;
    LayoutPreview preview;
    UpdateLayoutPreview(model, 1, true, store, templates, PreviewFolders{dir.path(), QStringLiteral("/prog")},
                        preview);
    EXPECT_TRUE(preview.layoutMissing);
    EXPECT_EQ(preview.screenWidth, 1080);
    EXPECT_EQ(preview.screenHeight, 1920);
    EXPECT_TRUE(preview.portrait);
    EXPECT_TRUE(preview.option);
    const LayoutPreviewEntry &main = preview.entries[0];
    EXPECT_TRUE(main.on);
    EXPECT_EQ(main.rect, (WinRect{10, 20, 11, 21}));
    EXPECT_TRUE(main.picture.endsWith(QStringLiteral("Thumb/Video/101000001.jpg")));
    EXPECT_EQ(main.pictureWidth, 1920);
    EXPECT_FALSE(preview.entries[1].on); // the still's record is not in the store

    templates.SetLayout(0, 1, sampleAreas());
    UpdateLayoutPreview(model, 5, false, store, templates, PreviewFolders{dir.path(), QString()}, preview);
    EXPECT_FALSE(preview.entries[0].on);
    EXPECT_FALSE(preview.layoutMissing);
}

TEST(LayoutSelection, CheckWindowDefaultSizeNeverVanishes)
{
    EXPECT_EQ(LayoutCheckDefaultSize(0, QSize(640, 480), QSize(1000, 700)), QSize(640, 480));
    EXPECT_EQ(LayoutCheckDefaultSize(1, QSize(100, 100), QSize(1600, 1000)), QSize(500, 450));
    EXPECT_EQ(LayoutCheckDefaultSize(3, QSize(0, 0), QSize(1200, 900)), QSize(500, 500));
    EXPECT_EQ(LayoutCheckDefaultSize(2, QSize(0, 0), QSize(900, 650)), QSize(300, 300));
    // A client below 800 x 600 still shows the window, as large as it can.
    EXPECT_EQ(LayoutCheckDefaultSize(0, QSize(0, 0), QSize(700, 250)), QSize(300, 250));
}

TEST(LayoutSelection, SavingForAPreviewLeavesTheEditedListUnsaved)
{
    QTemporaryDir dir;
    CPlaylistEditModel model = sampleList();
    model.SetFolders(dir.filePath(QStringLiteral("PL")), dir.filePath(QStringLiteral("SQ")));
    ASSERT_TRUE(QDir().mkpath(model.GetListFolder()));
    ASSERT_TRUE(QDir().mkpath(model.GetSequenceFolder()));
    model.SetIndex(520000003);
    model.SetIdPrefix(5);
    model.SetResolution(4);
    model.SetModified(true);

    CPlaylistProperty record;
    ASSERT_TRUE(record.SetIndex(520999100));
    ASSERT_TRUE(PlaylistSavePreview(model, 52, record));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("PL/PL520999100.xml"))));
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(model.GetIndex(), 520000003);
    EXPECT_EQ(record.GetResolution(), 4);
    EXPECT_EQ(record.GetDuration(), at(20));

    ScriptedPrompter prompter;
    prompter.expect(5248, IDOK);
    CPlaylistEditModel empty(52);
    EXPECT_FALSE(PlaylistSavePreview(empty, 52, record));
    EXPECT_FALSE(PlaylistSavePreview(model, 7, record));
}

TEST(LayoutSelection, TemplatesBecomeTheCurrentLayout)
{
    CAppData data;
    LayoutTemplate::Areas areas = sampleAreas();
    data.GetLayoutTemplates().SetLayout(4, 1, areas);
    EXPECT_FALSE(SetCurrentLayout(data, 4, 0));
    EXPECT_NE(data.GetCurrentLayout().displayKind, 2);
    ASSERT_TRUE(SetCurrentLayout(data, 4, 1));
    const CurrentLayout &current = data.GetCurrentLayout();
    EXPECT_EQ(current.displayKind, 2);
    EXPECT_EQ(current.number, 4);
    EXPECT_TRUE(current.modeOne);
    EXPECT_EQ(current.areas, areas);

    // Without a template the layout in use still names its screen.
    EXPECT_FALSE(SetCurrentLayout(data, 7, 0));
    EXPECT_EQ(current.number, 7);
    EXPECT_EQ(current.displayKind, 0);
    EXPECT_EQ(current.areas, LayoutTemplate::Areas{});
}

TEST(LayoutSelection, LastResolutionChoiceFollowsThePlayers)
{
    QTemporaryDir dir;
    const QString previous = GetAppIni().GetFileName();
    GetAppIni().Open(dir.filePath(QStringLiteral("Q9A.ini")), dir.path());
    qint32 resolution = -1;
    qint32 orientation = -1;
    GetAppIni().SetLastResolution(7);
    GetLastLayoutChoice(resolution, orientation); // no players
    EXPECT_EQ(resolution, 0);
    EXPECT_EQ(orientation, 0);

    PlayerRecord player;
    player.Number = 1;
    player.ResolutionId = 3;
    player.Orientation = 1;
    GetAppData().GetPlayerXml().AddPlayer(player);
    player.Number = 2;
    player.ResolutionId = 9;
    player.Orientation = 0;
    GetAppData().GetPlayerXml().AddPlayer(player);
    GetAppIni().SetLastResolution(9);
    GetLastLayoutChoice(resolution, orientation);
    EXPECT_EQ(resolution, 9);
    GetAppIni().SetLastOrientation(1); // no player at 9 in portrait: the first player's
    GetLastLayoutChoice(resolution, orientation);
    EXPECT_EQ(resolution, 3);
    EXPECT_EQ(orientation, 1);
    EXPECT_EQ(GetAppIni().GetLastResolution(), 3);
    GetAppData().GetPlayerXml().RemoveAll();
    GetAppIni().Open(previous, dir.path());
}
