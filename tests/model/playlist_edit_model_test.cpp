// The playlist grid: rows from the item edges, gaps, track flags, edits, and
// the playlist and sequence files it saves and loads.

#include "core/last_error.h"
#include "model/contents_store.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_file.h"
#include "model/sequence_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TimeValue frames(int count)
{
    return TimeValue{quint16(count / 108000), quint16(count / 1800 % 60), quint16(count / 30 % 60),
                     quint16(count % 30)};
}

TimeValue seconds(int count)
{
    return frames(count * 30);
}

CTimetableItem content(qint32 index, TimeValue start, TimeValue end, int type = 1)
{
    CTimetableItem item;
    EXPECT_TRUE(item.Set(index, start, end, type, 0));
    return item;
}

// Every cell of two models, side by side.
void expectSameGrid(const CTimetableModel &a, const CTimetableModel &b)
{
    ASSERT_EQ(a.GetRowCount(), b.GetRowCount());
    ASSERT_EQ(a.GetTrackCount(), b.GetTrackCount());
    for (int row = 0; row < a.GetRowCount(); ++row) {
        TimeValue left;
        TimeValue right;
        ASSERT_TRUE(a.GetEndTime(row, left));
        ASSERT_TRUE(b.GetEndTime(row, right));
        ASSERT_EQ(left, right) << "row " << row;
        for (int track = 1; track < a.GetTrackCount(); ++track) {
            TimetableCell x;
            TimetableCell y;
            ASSERT_TRUE(a.GetItem(row, track, x));
            ASSERT_TRUE(b.GetItem(row, track, y));
            ASSERT_EQ(x.item, y.item) << "row " << row << " track " << track;
            ASSERT_EQ(x.gap, y.gap);
            ASSERT_EQ(x.ownerRow, y.ownerRow);
        }
    }
}

class PlaylistModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath("Playlist/Sequence"));
        model.SetFolders(playlistFolder(), sequenceFolder());
        ASSERT_TRUE(model.SetIdPrefix(5));
    }
    QString playlistFolder() const { return dir.path() + "/Playlist"; }
    QString sequenceFolder() const { return dir.path() + "/Playlist/Sequence"; }
    bool sequenceExists(const char *name) const { return QFile::exists(sequenceFolder() + "/" + name); }

    QTemporaryDir dir;
    CPlaylistEditModel model{52};
};

} // namespace

TEST_F(PlaylistModelTest, RowsRunBetweenItemEdgesFromMidnightAndGapsBelongToTheirOwner)
{
    const int main = model.FindTrack(1);
    const int second = model.FindTrack(2);
    const int fourth = model.FindTrack(8);
    ASSERT_TRUE(model.InsertItem(main, content(100000001, seconds(0), seconds(10))));
    ASSERT_TRUE(model.InsertItem(second, content(200000002, seconds(5), seconds(20), 2)));
    ASSERT_TRUE(model.InsertItem(fourth, content(300000003, seconds(25), seconds(30), 3)));

    // Edges 0, 5, 10, 20, 25, 30: five rows, the fourth without play.
    ASSERT_EQ(model.GetRowCount(), 5);
    TimeValue time;
    ASSERT_TRUE(model.GetStartTime(2, time));
    EXPECT_EQ(time, seconds(10));
    ASSERT_TRUE(model.GetEndTime(4, time));
    EXPECT_EQ(time, seconds(30));
    EXPECT_FALSE(model.GetEndTime(5, time));

    EXPECT_TRUE(model.IsCellUsed(0, main, false));
    EXPECT_FALSE(model.IsCellUsed(1, main, false)); // continued from row 0
    EXPECT_TRUE(model.IsCellUsed(1, main, true));
    EXPECT_FALSE(model.IsCellUsed(2, main, true));
    EXPECT_TRUE(model.IsCellUsed(1, second, false));
    EXPECT_TRUE(model.IsCellUsed(2, second, true));
    for (int track = 1; track < model.GetTrackCount(); ++track)
        EXPECT_FALSE(model.IsCellUsed(3, track, true)) << track;

    TimetableCell cell;
    ASSERT_TRUE(model.GetItem(2, second, cell));
    EXPECT_TRUE(cell.gap);
    EXPECT_EQ(cell.ownerRow, 1);
    EXPECT_EQ(cell.kind, 2);
    EXPECT_EQ(cell.item.GetIndex(), 200000002);
    EXPECT_EQ(cell.item.GetContentType(), 2);

    ASSERT_TRUE(model.GetItem(3, main, cell));
    EXPECT_EQ(cell.item.GetIndex(), -1);
    EXPECT_EQ(cell.kind, 0);
    EXPECT_FALSE(cell.gap);

    EXPECT_FALSE(model.GetItem(0, 0, cell)); // the row grid holds no items
    EXPECT_FALSE(model.GetItem(5, main, cell));
    EXPECT_FALSE(model.IsCellUsed(-1, main, true));
    EXPECT_EQ(model.GetItemCount(), 3);
}

TEST_F(PlaylistModelTest, ALateFirstItemLeavesALeadingRowWithoutPlay)
{
    ASSERT_TRUE(model.InsertItem(1, content(100000001, seconds(10), seconds(15))));
    ASSERT_EQ(model.GetRowCount(), 2);
    EXPECT_FALSE(model.IsCellUsed(0, 1, true));
    EXPECT_TRUE(model.IsCellUsed(1, 1, false));
}

TEST_F(PlaylistModelTest, TracksAreFoundByFlag)
{
    const int flags[] = {1, 2, 4, 8, 16, 32, 64, 128};
    EXPECT_EQ(model.GetTrackCount(), 9);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(model.FindTrack(flags[i]), i + 1);
        EXPECT_EQ(model.GetTrackFlag(i + 1), flags[i]);
    }
    EXPECT_EQ(model.FindTrack(0), -1);
    EXPECT_EQ(model.FindTrack(3), -1);
    EXPECT_EQ(model.FindTrack(256), -1);
    EXPECT_EQ(model.GetTrackFlag(0), 0);
    EXPECT_EQ(model.GetTrackFlag(9), 0);

    CPlaylistEditModel bgm(53);
    EXPECT_EQ(bgm.GetListType(), 53);
    EXPECT_EQ(bgm.GetTrackCount(), 2);
    EXPECT_EQ(bgm.FindTrack(32), 1);
    EXPECT_EQ(bgm.FindTrack(1), -1);
}

TEST_F(PlaylistModelTest, EditsRefuseOverlapsAndKeepTheOldItem)
{
    ASSERT_TRUE(model.InsertItem(1, content(100000001, seconds(0), seconds(10))));
    ASSERT_TRUE(model.InsertItem(1, content(100000002, seconds(20), seconds(30))));
    EXPECT_TRUE(model.InsertItem(1, content(100000003, seconds(10), seconds(20)))); // touching both

    EXPECT_FALSE(model.InsertItem(1, content(100000004, frames(299), seconds(11))));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(model.InsertItem(0, content(100000004, seconds(40), seconds(50))));
    EXPECT_FALSE(model.InsertItem(9, content(100000004, seconds(40), seconds(50))));
    EXPECT_FALSE(model.InsertItem(2, content(520000001, seconds(40), seconds(50), 52))); // a list is no content
    EXPECT_FALSE(model.InsertItem(2, CTimetableItem{}));
    EXPECT_EQ(model.GetItemCount(), 3);

    // Moving the middle item onto the last one is refused and changes nothing.
    EXPECT_FALSE(model.UpdateItem(1, 1, content(100000003, seconds(15), seconds(25))));
    TimetableCell cell;
    ASSERT_TRUE(model.GetItem(1, 1, cell));
    EXPECT_EQ(cell.item.GetIndex(), 100000003);

    CTimetableItem resized = cell.item;
    ASSERT_TRUE(resized.SetRect(10, 20, 640, 360));
    ASSERT_TRUE(model.UpdateItem(1, 1, resized));
    ASSERT_TRUE(model.GetItem(1, 1, cell));
    EXPECT_EQ(cell.item.GetWidth(), 640);

    // Removing through a continued cell removes the item that owns it.
    ASSERT_TRUE(model.InsertItem(2, content(200000001, seconds(0), seconds(30), 2)));
    ASSERT_TRUE(model.RemoveItem(2, 2));
    EXPECT_FALSE(model.IsCellUsed(0, 2, true));
    EXPECT_FALSE(model.RemoveItem(0, 2));
    EXPECT_EQ(model.GetItemCount(), 3);
}

TEST_F(PlaylistModelTest, TwoThousandItemsSaveAndLoadWithTheirSequences)
{
    ASSERT_TRUE(model.SetTitle(QStringLiteral("本館ロビー 平日")));
    ASSERT_TRUE(model.SetInfo(QStringLiteral("ロビー")));
    ASSERT_TRUE(model.SetDeleteDate(DateValue{2030, 12, 31}));
    // 250 items on each of the eight tracks, with lengths that keep the
    // tracks' edges apart so the grid has many rows and gaps.
    for (int track = 1; track <= 8; ++track) {
        int at = track * 7;
        for (int i = 0; i < 250; ++i) {
            const int length = 30 * (track + 3) + i % 30;
            CTimetableItem item = content(100000000 + track * 1000 + i, frames(at), frames(at + length));
            ASSERT_TRUE(item.SetRect(track, i, 1920, 1080));
            ASSERT_TRUE(model.InsertItem(track, item));
            at += length + (i % 3 == 0 ? 11 : 0);
        }
    }
    ASSERT_EQ(model.GetItemCount(), 2000);
    ASSERT_TRUE(model.IsModified());

    ASSERT_TRUE(model.Save(520000042, 52));
    EXPECT_FALSE(model.IsModified());
    EXPECT_TRUE(QFile::exists(playlistFolder() + "/PL520000042.xml"));
    for (const char *name : {"SQ501000042.xml", "SQ502000042.xml", "SQ511000042.xml", "SQ503000042.xml",
                             "SQ506000042.xml", "SQ505000042.xml", "SQ507000042.xml", "SQ509000042.xml"})
        EXPECT_TRUE(sequenceExists(name)) << name;

    CPlaylistFile file;
    ASSERT_TRUE(file.LoadFrom(playlistFolder(), 520000042));
    ASSERT_EQ(file.GetItemCount(), 8);
    CTimetableItem entry;
    ASSERT_TRUE(file.GetItem(2, entry));
    EXPECT_EQ(entry.GetTableName(), "SQ511000042_TBL");
    EXPECT_EQ(entry.GetKind(), 11);
    EXPECT_EQ(entry.GetStartTime(), frames(21));

    CPlaylistEditModel read(52);
    read.SetFolders(playlistFolder(), sequenceFolder());
    ASSERT_TRUE(read.Load(520000042, 52));
    EXPECT_EQ(read.GetIndex(), 520000042);
    EXPECT_FALSE(read.IsModified());
    EXPECT_EQ(read.GetTitle(), model.GetTitle());
    EXPECT_EQ(read.GetInfo(), model.GetInfo());
    EXPECT_EQ(read.GetDeleteDate(), model.GetDeleteDate());
    EXPECT_EQ(read.GetItemCount(), 2000);
    expectSameGrid(model, read);
}

TEST_F(PlaylistModelTest, SavingRemovesTheSequencesOfTracksLeftEmpty)
{
    ASSERT_TRUE(model.InsertItem(1, content(100000001, seconds(0), seconds(10))));
    ASSERT_TRUE(model.InsertItem(2, content(200000001, seconds(0), seconds(10), 2)));
    ASSERT_TRUE(model.Save(520000001, 52));
    ASSERT_TRUE(sequenceExists("SQ502000001.xml"));

    ASSERT_TRUE(model.RemoveItem(0, 2));
    ASSERT_TRUE(model.Save(520000001, 52));
    EXPECT_TRUE(sequenceExists("SQ501000001.xml"));
    EXPECT_FALSE(sequenceExists("SQ502000001.xml"));

    CPlaylistEditModel read(52);
    read.SetFolders(playlistFolder(), sequenceFolder());
    ASSERT_TRUE(read.Load(520000001, 52));
    EXPECT_EQ(read.GetItemCount(), 1);
}

TEST_F(PlaylistModelTest, BackgroundMusicListUsesItsOwnLayer)
{
    CPlaylistEditModel bgm(53);
    bgm.SetFolders(playlistFolder(), sequenceFolder());
    ASSERT_TRUE(bgm.SetIdPrefix(5));
    ASSERT_TRUE(bgm.InsertItem(1, content(600000001, seconds(0), seconds(200), 6)));
    EXPECT_FALSE(bgm.Save(530000001, 52)); // not the model's type
    ASSERT_TRUE(bgm.Save(530000001, 53));
    EXPECT_TRUE(sequenceExists("SQ521000001.xml"));

    // A playlist model cannot read it: layer 21 is none of its tracks.
    EXPECT_FALSE(model.Load(530000001, 52));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    CPlaylistEditModel read(53);
    read.SetFolders(playlistFolder(), sequenceFolder());
    ASSERT_TRUE(read.Load(530000001, 53));
    expectSameGrid(bgm, read);

    // Its track takes sound only, in an edit and in a stored list alike.
    EXPECT_TRUE(bgm.TakesType(1, 6));
    EXPECT_FALSE(bgm.TakesType(1, 1));
    EXPECT_FALSE(bgm.TakesType(0, 6)); // the time column
    EXPECT_TRUE(model.TakesType(1, 1));
    EXPECT_FALSE(bgm.InsertItem(1, content(100000001, seconds(200), seconds(300), 1)));
    QFile sequence(sequenceFolder() + "/SQ521000001.xml");
    ASSERT_TRUE(sequence.open(QIODevice::ReadOnly));
    QByteArray bytes = sequence.readAll();
    sequence.close();
    bytes.replace("<index>600000001</index>", "<index>100000001</index>")
        .replace("<ctype>6</ctype>", "<ctype>1</ctype>");
    ASSERT_TRUE(sequence.open(QIODevice::WriteOnly | QIODevice::Truncate));
    sequence.write(bytes);
    sequence.close();
    EXPECT_FALSE(read.Load(530000001, 53));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
}

TEST_F(PlaylistModelTest, AFailedLoadLeavesTheModelAsItWas)
{
    ASSERT_TRUE(model.InsertItem(1, content(100000001, seconds(0), seconds(10))));
    ASSERT_TRUE(model.Save(520000001, 52));
    ASSERT_TRUE(model.InsertItem(1, content(100000002, seconds(10), seconds(20))));

    CPlaylistEditModel other(52);
    other.SetFolders(playlistFolder(), sequenceFolder());
    ASSERT_TRUE(QFile::remove(sequenceFolder() + "/SQ501000001.xml"));
    EXPECT_FALSE(other.Load(520000001, 52));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    EXPECT_FALSE(model.Load(520000002, 52)); // no such playlist
    EXPECT_FALSE(model.Load(520000001, 53));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(model.GetItemCount(), 2);
    EXPECT_TRUE(model.IsModified());
}

TEST_F(PlaylistModelTest, AFailedSaveKeepsTheModelModified)
{
    ASSERT_TRUE(model.InsertItem(1, content(100000001, seconds(0), seconds(10))));
    model.SetFolders(dir.path() + "/missing", dir.path() + "/missing/Sequence");
    EXPECT_FALSE(model.Save(520000001, 52));
    EXPECT_TRUE(model.IsModified());
    EXPECT_FALSE(model.Save(1000000000, 52));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(PlaylistModelTest, ClearEmptiesEverythingButFoldersAndPrefix)
{
    ASSERT_TRUE(model.InsertItem(1, content(100000001, seconds(0), seconds(10))));
    ASSERT_TRUE(model.SetTitle("t"));
    ASSERT_TRUE(model.SetDeleteDate(DateValue{2030, 1, 1}));
    model.SetIndex(520000001);
    model.Clear();
    EXPECT_EQ(model.GetIndex(), -1);
    EXPECT_EQ(model.GetRowCount(), 0);
    EXPECT_EQ(model.GetItemCount(), 0);
    EXPECT_EQ(model.GetTitle(), "");
    EXPECT_EQ(model.GetDeleteDate(), DateValue{});
    EXPECT_FALSE(model.IsModified());
    EXPECT_EQ(model.GetIdPrefix(), 5);
    EXPECT_EQ(model.GetListFolder(), playlistFolder());
    EXPECT_FALSE(model.SetIdPrefix(10));
    EXPECT_FALSE(model.SetTitle(QString(41, u'x')));
    EXPECT_FALSE(model.SetInfo(QString(21, u'x')));
}

TEST_F(PlaylistModelTest, TheStoreKeepsOneModelPerPaneAndTypeInTheLibraryFolders)
{
    CContentsStore store;
    store.SetFolders(dir.path(), dir.path() + "/program");
    ASSERT_TRUE(store.CreateFolders());

    CPlaylistEditModel *edited = store.GetPlaylistModel(52);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->GetListType(), 52);
    EXPECT_EQ(store.GetPlaylistModel(53)->GetListType(), 53);
    EXPECT_EQ(store.GetPlaylistModel(51), nullptr);
    EXPECT_EQ(store.GetSecondPlaylistModel(54), nullptr);
    EXPECT_EQ(store.GetScratchPlaylistModel(0), nullptr);
    EXPECT_NE(store.GetSecondPlaylistModel(52), edited);
    EXPECT_NE(store.GetScratchPlaylistModel(52), edited);
    EXPECT_EQ(store.GetScratchPlaylistModel(53)->GetListType(), 53);
    EXPECT_NE(store.GetScheduleModel(), store.GetSecondScheduleModel());

    // A model saves into the library's playlist folders without further set-up.
    ASSERT_TRUE(edited->SetIdPrefix(5));
    ASSERT_TRUE(edited->InsertItem(1, content(100000001, seconds(0), seconds(10))));
    ASSERT_TRUE(edited->Save(520000001, 52));
    EXPECT_TRUE(QFile::exists(store.m_playlistFolder + "/PL520000001.xml"));
    EXPECT_TRUE(QFile::exists(store.m_sequenceFolder + "/SQ501000001.xml"));
    ASSERT_TRUE(store.GetSecondPlaylistModel(52)->Load(520000001, 52));
}

TEST_F(PlaylistModelTest, GridEditsPlaceMoveRetimeAndDeleteWithinTheLimits)
{
    // The end of an empty list is where the editor says; the next follows it.
    EXPECT_EQ(model.PlaceStart(1, -1, seconds(99)), seconds(99));
    ASSERT_TRUE(model.PlaceItem(1, model.PlaceStart(1, -1, {}), 10 * 30, 100000001, 1));
    ASSERT_TRUE(model.PlaceItem(1, model.PlaceStart(1, -1, {}), 20 * 30, 200000001, 2));
    EXPECT_EQ(model.GetRowCount(), 2);
    // On another track at row 1: starts with the row; a later item cuts it.
    ASSERT_TRUE(model.PlaceItem(2, model.PlaceStart(2, 1, {}), 5 * 30, 300000001, 3));
    ASSERT_TRUE(model.PlaceItem(2, seconds(0), 60 * 30, 300000002, 3));
    TimetableCell cell;
    ASSERT_TRUE(model.GetItem(0, 2, cell));
    EXPECT_EQ(cell.item.GetEndTime(), seconds(10));
    // A start inside an item is refused and changes nothing.
    SetLastError(0);
    EXPECT_FALSE(model.PlaceItem(1, seconds(5), 30, 100000002, 1));
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(model.GetItemCount(), 4);

    // Moving keeps length and content; onto a used span it is refused.
    model.SetModified(false);
    ASSERT_TRUE(model.MoveItem(1, 1, 3, seconds(40)));
    EXPECT_TRUE(model.IsModified());
    const int row = model.GetRowCount() - 1;
    ASSERT_TRUE(model.GetItem(row, 3, cell));
    EXPECT_EQ(cell.item.GetIndex(), 200000001);
    EXPECT_EQ(cell.item.GetStartTime(), seconds(40));
    EXPECT_EQ(cell.item.GetEndTime(), seconds(60));
    EXPECT_FALSE(model.MoveItem(row, 3, 2, seconds(0)));
    EXPECT_TRUE(model.IsCellUsed(row, 3, false));

    // New times; an end past 23:55:00 is refused as too long, even past the
    // day's end, and 23:55:00 itself is taken.
    ASSERT_TRUE(model.SetItemTimes(row, 3, seconds(40), seconds(86100)));
    for (int end : {86101, 86401}) {
        SetLastError(0);
        EXPECT_FALSE(model.SetItemTimes(model.GetRowCount() - 1, 3, seconds(40), seconds(end)));
        EXPECT_EQ(GetLastError(), quint32(ERROR_ARITHMETIC_OVERFLOW)) << end;
    }
    EXPECT_FALSE(model.PlaceItem(4, seconds(86000), 101 * 30, 100000003, 1));

    // Deleting a row removes what starts in it; the time column's row 0.
    const int before = model.GetItemCount();
    ASSERT_TRUE(model.RemoveRow(0));
    EXPECT_EQ(model.GetItemCount(), before - 2);
    EXPECT_FALSE(model.RemoveRow(model.GetRowCount()));

    // The item limit: the 2001st is refused.
    CPlaylistEditModel full(52);
    for (int i = 0; i < CTimetableModel::kMaxItems; ++i)
        ASSERT_TRUE(full.PlaceItem(1 + i % 8, seconds(i / 8 * 2), 30, 100000000 + i, 1)) << i;
    SetLastError(0);
    EXPECT_FALSE(full.PlaceItem(1, seconds(9000), 30, 100009999, 1));
    EXPECT_EQ(GetLastError(), quint32(ERROR_TOO_MANY_NAMES));

    // Saved, loaded and saved again: the same bytes.
    ASSERT_TRUE(model.Save(520000043, 52));
    QFile first(playlistFolder() + "/PL520000043.xml");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray list = first.readAll();
    QFile sequence(sequenceFolder() + "/SQ502000043.xml");
    ASSERT_TRUE(sequence.open(QIODevice::ReadOnly));
    const QByteArray track = sequence.readAll();
    first.close();
    sequence.close();
    CPlaylistEditModel read(52);
    read.SetFolders(playlistFolder(), sequenceFolder());
    ASSERT_TRUE(read.SetIdPrefix(5));
    ASSERT_TRUE(read.Load(520000043, 52));
    ASSERT_TRUE(QFile::remove(first.fileName()));
    ASSERT_TRUE(read.Save(520000043, 52));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    ASSERT_TRUE(sequence.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), list);
    EXPECT_EQ(sequence.readAll(), track);
}
