#pragma once
// The content store: every content list the program works with and the
// folders their files live in.
//
// - The library set: the list of each content type read from ContentData
//   (with the sample records beside the program merged in), and the schedule
//   and calendar lists of the current group.
// - The work set: lists of the same types for operations that read lists
//   from elsewhere (export and import), and the schedule and calendar lists
//   of a second group.
// - The player-side set: the lists last fetched from the current player.
// - One scratch record per type.
//
// The store belongs to the user-interface thread; a worker reads or changes
// its lists only in steps it hands to that thread (core/owner_thread.h).

#include "model/contents_list.h"
#include "model/layout_template_store.h"
#include "model/player_record.h"
#include "model/playlist_edit_model.h"
#include "model/schedule_edit_model.h"

#include <QString>

#include <array>
#include <map>
#include <memory>

class CContentsStore {
public:
    // The list types written by SaveLists with type 0, in this order.
    static constexpr int kLibraryListTypes[] = {1, 8, 2, 4, 5, 3, 6, 7, 52, 53, 10};

    CContentsStore();
    ~CContentsStore();
    CContentsStore(const CContentsStore &) = delete;
    CContentsStore &operator=(const CContentsStore &) = delete;

    // Derives every folder from the data root (the base folder) and the
    // folder of the sample lists (the program's folder).
    void SetFolders(const QString &dataRoot, const QString &sampleFolder);
    // Creates the content folders and the list folders; false with the last error.
    bool CreateFolders();

    // The folder of the material files of types 1, 2, 4, 5 and 6; empty otherwise.
    QString GetContentFolder(int type) const;
    // The content folder of type joined with a record's file name, when the
    // name stays inside the folder; false (logged) otherwise.
    bool MakeContentFilePath(int type, const QString &fileName, QString &path) const;
    // The "Schedule" folder of a group and its "Sequence" subfolder; false
    // (logged) for a group name that is not one safe folder name.
    bool GetGroupScheduleFolders(const QString &group, QString &scheduleFolder, QString &sequenceFolder) const;
    // The list file of a library type in ContentData ("VideoList.xml" ...), or
    // of a player-side type in a folder; empty for other types.
    static QString ListFileName(int type);
    QString GetListPath(int type) const;

    // Lists by type (1-8, 10, 50-53); null for other types. The calendar
    // lists (50) are CCalendarList objects.
    CContentsList *GetList(int type);
    CContentsList *GetWorkList(int type);
    CContentsList *GetRemoteList(int type);
    // The work set's schedule (51) and calendar (50) lists of a second group.
    CContentsList *GetWorkGroupList(int type);
    // The scratch record of a type (1-8, 10, 50-54); null otherwise.
    CPropertyBase *GetWorkProperty(int type);

    // The library record of a content number, or null.
    CPropertyBase *FindRecord(int type, qint32 index);
    // Copies the library record of a content number into out.
    bool CopyRecord(int type, qint32 index, CPropertyBase *out);

    // The first content number not used in the type's list, searched from the
    // type's counter in the system settings (54 searches the schedule list)
    // with the counter's wrap; -1 when the list is missing or every number is
    // used. counter receives the counter value that gave the number. A
    // number that alsoFree holds is passed over too (a schedule number for
    // another group must be free in that group's list).
    qint32 GetNewCode(int type, int &counter, const CContentsList *alsoFree = nullptr);

    // Reads every library list from ContentData and merges the sample lists.
    // A damaged list file is kept aside as "<file>.damaged" (logged) so that a
    // later save cannot destroy it; its list starts empty. False when any list
    // failed to load.
    bool LoadLists();
    // Writes the list file of a type, or of every library type when type is
    // 0; flag goes to CContentsList::Save except for types 7 and 10 (0).
    bool SaveLists(int type, int flag);

    // The current group: its schedule and calendar lists are the library's.
    bool SetCurrentGroup(const QString &group);
    const QString &GetCurrentGroup() const { return m_currentGroup; }
    // Loads a group's schedule and calendar lists into the work set. With a
    // non-zero flag a list whose file fails to load is emptied; otherwise it
    // keeps what it held.
    bool LoadGroupSchedules(const QString &group, int flag);
    // Writes ScheduleList.xml and/or CalendarList.xml of a group (which: 0
    // both, 51 schedule, 50 calendar) from the library / work set.
    bool SaveGroupLists(const QString &group, int which, int flag);
    bool SaveWorkGroupLists(const QString &group, int which, int flag);

    // The current player, whose lists the player-side set holds.
    void SetCurrentPlayer(const PlayerRecord &player);
    const PlayerRecord &GetCurrentPlayer() const { return m_currentPlayer; }
    // Loads the list files kept in a player's folder into the player-side set
    // (emptied first with a non-zero flag, as for LoadGroupSchedules).
    bool LoadRemoteLists(const PlayerRecord &player, int flag);

    // Remembered sort key of a type (library or player-side).
    int GetSortKey(int type, bool remote = false) const;
    bool SortList(int type, int key);
    bool SortRemoteList(int type, int key);
    // Shows only the playlists of a resolution and orientation (type 52).
    void SetPlaylistFilter(bool on, qint32 resolution, qint32 orientation);
    // Takes the type's display filter from the application data again.
    bool ApplyDispFilter(int type);

    // The playlist and background-music list models (type 52 or 53; null for
    // other types) of the edit pane, of the check pane and for scratch work
    // (pasting, printing a schedule's lists). Their folders are the library's
    // playlist and sequence folders until a caller sets others.
    CPlaylistEditModel *GetPlaylistModel(int type);
    CPlaylistEditModel *GetSecondPlaylistModel(int type);
    CPlaylistEditModel *GetScratchPlaylistModel(int type);
    // The schedule models of the edit pane and of the check pane; the caller
    // gives them the folders of the group they work on.
    CScheduleEditModel *GetScheduleModel() { return &m_scheduleModel; }
    CScheduleEditModel *GetSecondScheduleModel() { return &m_secondScheduleModel; }

    // The layout of the edited playlist, and the table the layout-check
    // pane draws.
    CurrentLayout &GetPlaylistLayout() { return m_playlistLayout; }
    LayoutPreview &GetLayoutPreview() { return m_layoutPreview; }

    // Folders of the library's playlist and sequence files and of the sample
    // ones beside the program; read directly.
    QString m_playlistFolder;
    QString m_sequenceFolder;
    QString m_secondPlaylistFolder;
    QString m_secondSequenceFolder;

private:
    using ListSet = std::map<int, std::unique_ptr<CContentsList>>;
    // A pane's playlist model and background-music list model.
    using PlaylistModels = std::array<CPlaylistEditModel, 2>;
    static CPlaylistEditModel *modelOf(PlaylistModels &models, int type);
    static CContentsList *find(ListSet &set, int type);
    bool groupFolder(const QString &group, QString &folder) const;
    bool loadInto(CContentsList &list, const QString &path, int flag);
    bool loadGroupSet(ListSet &set, const QString &group, int flag);
    bool saveGroupSet(ListSet &set, const QString &group, int which, int flag);
    void keepDamagedFile(const QString &path) const;

    QString m_dataFolder;     // <root>/TelvData/Q9Data
    QString m_contentRoot;    // <root>/TelvData/Content
    QString m_sampleFolder;   // the sample lists
    ListSet m_library;
    ListSet m_work;
    ListSet m_workGroup;
    ListSet m_remote;
    std::map<int, std::unique_ptr<CPropertyBase>> m_workProperties;
    QString m_currentGroup;
    PlayerRecord m_currentPlayer;
    PlaylistModels m_playlistModels{CPlaylistEditModel(CONTENT_PLAYLIST), CPlaylistEditModel(CONTENT_BGMLIST)};
    PlaylistModels m_secondPlaylistModels{CPlaylistEditModel(CONTENT_PLAYLIST), CPlaylistEditModel(CONTENT_BGMLIST)};
    PlaylistModels m_scratchPlaylistModels{CPlaylistEditModel(CONTENT_PLAYLIST), CPlaylistEditModel(CONTENT_BGMLIST)};
    CScheduleEditModel m_scheduleModel;
    CScheduleEditModel m_secondScheduleModel;
    CurrentLayout m_playlistLayout;
    LayoutPreview m_layoutPreview;
};

// The program's content store.
CContentsStore &GetContentFolders();
