#pragma once
// The application's main window: a multiple-document frame whose client area
// holds one child frame per pane, the guidance bar across the top and the
// navigation bar down the left. It creates every pane once and keeps them
// until it is destroyed; switching the navigation view only hides, shows and
// arranges them. Panes and dialogs call its operations for every change of
// stored data, and it tells every pane of its pane list about each change.
//
// Workers and the transfer manager reach it only through application
// messages (app_message.h), which it handles on the user-interface thread.

#include "app/pane_factory.h"
#include "app/pane_frame.h"
#include "app/pane_list.h"
#include "app/playlist_ex_import_dlg.h"
#include "app/telv_pane_dlg.h"
#include "model/layout_template_store.h"
#include "model/media_info.h"
#include "ops/export_import.h"
#include "ops/player_commands.h"
#include "ops/playlist_storage.h"
#include "ops/print_files.h"
#include "transfer/dlk_request_list.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

enum class LogCollectResult : int;

class CChildFrame;
class CContentRegistration;
class CCalendarProperty;
class CContentsList;
class CContentFileRemover;
class CDeleteDlg;
class CDlkRequest;
class CDlkRequestSend;
class CSendInfoBuilder;
class CPlaylistProperty;
class CProcessDlg;
class CPropertyBase;
struct PlayChoice;
class CControlProperty;
class CListUndo;
class CScheduleProperty;
class CStreamingProperty;
class CWebProperty;
struct PeriodValues;
class CTelopProperty;
class CFrameWorker;
class CRegContDlg;
class CGuideBar;
class CGuidanceBar;
class CHelpPageDlg;
class CTelvPaneDlg;
class IExImportView;
class IProgressView;
class QMdiArea;

class CMainFrame : public QMainWindow, public IPaneFrame, public IExImportHost {
    Q_OBJECT
public:
    // Commands of the frame's menu.
    static constexpr int ID_EXPORT_SETTINGS = 4060;
    static constexpr int ID_HELP_ERROR_LIST = 4061;
    static constexpr int ID_HELP_SETUP_MANUAL = 4062;
    static constexpr int ID_HELP_MANUAL = 4063;
    static constexpr int ID_HELP_SPEC_SHEET = 4064;
    static constexpr int ID_WINDOW_ARRANGE = 57649;
    static constexpr int ID_APP_ABOUT = 57664;
    static constexpr int ID_APP_EXIT = 57665;

    // The panes in creation order.
    enum PaneIndex : int {
        PANE_CONTENTS,        // contents management
        PANE_PLAYER_CONTENTS, // contents of one player
        PANE_PLAYLIST_EDIT,
        PANE_LAYOUT_DISP,     // layout check
        PANE_BGM_EDIT,
        PANE_SCHEDULE_EDIT,
        PANE_CALENDAR_MONTH,  // monthly schedule
        PANE_CALENDAR_STATUS, // delivery status of the group
        PANE_LAYOUT,          // layout canvas, a window of its own
        PANE_LAYOUT_PROP,     // layout properties, a window of its own
        PANE_STATUS,
        PANE_SET_SYSTEM,
        PANE_SET_R40_LIST,
        PANE_SET_GROUP,
        PANE_SET_CONT,
        PANE_SET_OPT,
        PANE_SCHEDULE_VIEW,   // group to check
        PANE_SCHEDULE_CHECK,  // schedule contents
        PANE_PLAYLIST_CHECK,  // playlist contents
        PANE_BGM_CHECK,       // background-music list contents
        PANE_CALENDAR_GROUP,  // calendar of the group to check
        PANE_COUNT
    };

    // The navigation views (the ids of their navigation buttons).
    enum ViewId : int {
        VIEW_CONTENTS = 1504,
        VIEW_PLAYLIST = 1505,
        VIEW_BGM = 1506,
        VIEW_SCHEDULE = 1507,
        VIEW_ADVANCE_DELIVERY = 1508,
        VIEW_GROUP_DELIVERY = 1509,
        VIEW_OVERVIEW = 1510,
        VIEW_INTERRUPT_PLAY = 1511,
        VIEW_PLAYER_CONTENTS = 1522,
        VIEW_COMM_STATUS = 1523,
        VIEW_SET_SYSTEM = 1525,
        VIEW_SET_PLAYERS = 1526,
        VIEW_SET_GROUPS = 1527,
        VIEW_SET_MATERIALS = 1528,
        VIEW_SET_OPTIONS = 1529,
        VIEW_SET_LAYOUT = 1531,
    };

    // The checked-list window numbers of the overview check.
    static constexpr int kCheckPlaylistWindow = 25;
    static constexpr int kCheckBgmWindow = 26;
    // The property that marks the frame of the running program once it is set up.
    static constexpr const char *kInstanceMarker = "Q9Mutex";

    CMainFrame();
    ~CMainFrame() override;

    // ---- Window, panes and bars ------------------------------------------

    // Builds the client area (OnCreateClient); false when it cannot be made.
    bool LoadFrame();
    bool OnCreateClient();
    // Creates a child frame with the title (a string id, 0 for none) and
    // style, and a pane of the kind inside it; false (nothing kept) on failure.
    bool CreateChildView(PaneKind kind, int type, int mode, quint32 titleId, quint32 style, CChildFrame *&frame,
                         CTelvPaneDlg *&pane);
    // The bars, then every pane in its fixed order; stops at the first failure.
    bool CreateViews();
    // Hides the two layout panes and every child frame.
    void HideAllViews();

    CTelvPaneDlg *GetViewPane(int index) const;
    CChildFrame *GetViewFrame(int index) const;
    const QList<CChildFrame *> &GetChildFrames() const { return m_childFrames; }
    const CPaneList &GetPaneList() const { return m_panes; }
    CGuidanceBar *GetGuidanceBar() const { return m_guidanceBar; }
    CGuideBar *GetGuideBar() const { return m_guideBar; }
    QMdiArea *GetMdiClient() const { return m_mdiClient; }

    // ---- What panes and bars ask of the frame ----------------------------

    void AddView(CTelvPaneDlg *pane) override;
    void RemoveView(CTelvPaneDlg *pane) override;
    void OnUpdateCommand(CCmdUI &cmdUi) override;
    bool OnCommand(int commandId) override;
    void ShowControlBar(int barId, bool show) override;
    bool SwitchView(int viewId, bool forced) override;
    bool IsViewUsed(int viewId) override;

    // ---- Notifications to every pane -------------------------------------

    void NotifyContentsChanged(QWidget *sender);
    void NotifyColorChanged();
    void NotifyContentPicked(int viewKind, int index);
    void NotifyLayoutChanged(QWidget *sender, int flag);
    void SelectCheckPlaylist(int index);
    void SelectEditPlaylist(int index, int flag);
    void NotifyPlayerChanged();
    void NotifyGroupChanged();
    void NotifyContentsListChanged(int contentType, int index, int flag);
    void NotifyRefreshLists();
    void NotifyCheckListChanged(int contentType, int flag);
    void NotifyEditListChanged(int contentType, int flag);
    void NotifyCheckScheduleChanged();
    void NotifyEditScheduleChanged(int flag);

    // ---- Selection -------------------------------------------------------

    void SelectPlayer(qint32 number);
    // False when the operator keeps a modified schedule (5005).
    bool SelectGroup(const QString &name, int flag);
    // The number of the group with the name (case-insensitive; empty: the
    // current group); -1 when there is none.
    int GetGroupNo(const QString &name) const;
    qint32 GetCurrentPlayerId() const { return m_currentPlayer; }
    const QString &GetCurrentPlayerName() const { return m_currentPlayerName; }
    const QString &GetCurrentGroupName() const { return m_currentGroup; }
    int GetCheckPlaylistIndex() const { return m_checkPlaylist; }
    int GetEditPlaylistIndex() const { return m_editPlaylist; }

    // ---- Busy checks and the running transfer ----------------------------

    // True while the transfer manager's thread exists, the shared HTTP client
    // has a request open or the busy mode is set.
    bool IsBusy() const;
    // False (with its message) in the daily no-send period unless the time
    // check is skipped, and while busy (5393 for a timed delivery waiting when
    // asked to tell it apart, else 5295).
    bool CanStartOperation(bool skipTimeCheck, bool checkTimedWait);
    // True (5332 unless silent) when a content of the numbers and type is in
    // a registration request of the running transfer.
    bool IsContentInTransfer(const QList<qint32> &numbers, int type, bool silent);
    int GetBusyMode() const { return m_busyMode; }
    void SetBusyMode(int mode) { m_busyMode = mode; }
    int GetTransferMode() const { return m_transferMode; }
    void SetTransferMode(int mode) { m_transferMode = mode; }
    // The requests of the running (or last) transfer.
    CDlkRequestList &GetRequestList() { return m_requestList; }
    // Stops the transfer manager when it runs and cancels the shared HTTP
    // client's request.
    void StopTransfer();
    // Whether a transfer or a player command runs that StopTransfer ends
    // (packing the logs into a cabinet is not stopped).
    bool CanStopTransfer() const;

    // ---- Sending and player operations (transfers, commands, logs, deletion)

    // Starts the transfer manager in a mode (0 to 17) for the target players
    // with the request list; count is every player's check-file total. A
    // start that fails sets the error state and tells the operator.
    bool R40TransferStart(int mode, int count);
    // Sends contents of one type to the players of the current group.
    void R40SendContents(int type, const QList<qint32> &indexes);
    // Sends schedules of the current group with their calendar rows and
    // every content they play.
    void R40SendSchedule(const QList<qint32> &indexes);
    // Sets the status of the calendar rows the request list carries
    // (negative: from each row's outcome), saving the group's calendar list
    // when asked.
    void SetSentCalendarStatus(const QString &group, bool save, int status);
    // The end of a transfer (WM_APP+21) and a retry pass (WM_APP+22).
    void OnMsgTransferEnd(quint32 result, quint32 detail);
    void OnMsgTransferNotice();
    // The targets of the next transfer: the preview player, or the selected
    // player / the players of the current group.
    bool SetPreviewTarget();
    bool SetTargetPlayers(bool wholeGroup);
    // A single command (0 check connect, 1 query time, 2 set time, 3
    // restart, 4 power on, 5 power off) to one player on a worker thread;
    // its end message (WM_APP+41) shows the outcome. With shown the player
    // is reached there rather than where its stored record says.
    void R40CommandStart(int mode, qint32 player, const std::optional<PlayerAddress> &shown = std::nullopt);
    void OnMsgCommandEnd(quint32 result, quint32 detail);
    // Preview (mode 0) or interrupt play (mode 2) of a library content.
    void R40Play(int type, qint32 index, bool preview, bool com2);
    // Preview of the edited playlist or background-music list (mode 0);
    // true when its transfer started.
    bool R40PreviewPlaylist(int type, const CPropertyBase &record);
    // Play a content the selected player holds (mode 16).
    void R40PlayRemote(int type, qint32 index, bool com2);
    // Stop playing: the preview player (1), the group (3) or, remote, the
    // selected player (17).
    void R40PlayStop(int type, bool preview, bool remote);
    void R40SendRecoverStill(qint32 index);
    void R40CancelRecoverStill();
    void R40SendScreenSaver(qint32 index);
    void R40CancelScreenSaver();
    // Takes a calendar row's schedule off the group's players (mode 12).
    void R40StopSchedule(qint32 index);
    // Deletes contents of a type on the selected player (mode 6).
    void R40DeleteContents(int type, const QList<qint32> &indexes);
    // Fetches the player-side lists of a type from the selected player.
    bool R40GetRemoteList(int type);
    // Fetches the players' logs, then collects them (kind 2 or 3).
    void R40GetLog(int kind, const QList<qint32> &players);
    void R40GetStatus(const QList<qint32> &players);
    // Sends a player update file chosen by the operator.
    void R40Update(const QList<qint32> &players, bool all);
    // Packs the logs of the kind (0 keeps the kind set) on a worker.
    bool StartLogCollect(int kind);
    // Deletes contents of a type from the library (files on a worker, then
    // the records); WM_APP+11 ends it.
    void StartDeleteContents(const QList<qint32> &indexes, int type);
    void OnMsgDelContEnd(quint32 outcome, quint32 error);

    // ---- Help -------------------------------------------------------------

    // Opens a help document (4062 to 4064) with the desktop's program for it.
    void OnHelpCommand(int commandId);
    // Shows the error-code table (4061) in the program's own window.
    void OnHelpErrorList();
    // A help document beside the program, else in the current folder; empty
    // when neither has it.
    static QString FindHelpDocument(const QString &name);
    // Shows the about box modally.
    void OnAppAbout();
    // Runs the choice of the preview player modally.
    void ShowPreviewSetDlg();

    // ---- Close and exit --------------------------------------------------

    // Asks what must be asked (not when forced), stops a running transfer
    // and waits for it, saves the view arrangement and the window placement.
    // False when the operator keeps the program running.
    bool ExitApplication(bool forced);
    // The desktop session ends: no questions, the state is saved.
    void OnQueryEndSession();

    // ---- Clipboard formats (MIME types) and copied lists ------------------

    // Keeps the MIME types of the program's formats in registration order.
    void RegisterClipboardFormats();
    QString GetContentsDataFormat() const;
    // Puts the indexes of playlists (52) or background-music lists (53) on
    // the clipboard; nothing changes when it cannot be placed.
    void CopyPlaylist(int type, const QList<quint32> &indexes);
    // Puts schedule indexes of the group shown in the schedule editor, with
    // its screen data, on the clipboard; nothing when the group is gone.
    void CopySchedule(const QList<quint32> &indexes);

    // ---- Checks and file deletion (frame_checks, content_file_remover) ----

    // The edited playlist (52) or background-music list (53) may be saved.
    bool CheckPlaylist(int type);
    // The edited schedule may be saved.
    bool CheckSchedule();
    // A schedule entry against the edited schedule's operating window.
    bool CheckScheduleTime(const TimeValue &start, const TimeValue &end, int &wrongField);

    // ---- Layouts of the edited playlist (layout_selection) ----------------

    // Lays the row of the edited playlist out to its layout's areas and
    // selects the row again. False when the row could not take the layout
    // (the playlist is then as it was).
    bool ApplyLayoutToPlaylist(int row);
    // Puts the layout windows away and selects the row of the edited
    // playlist again, leaving its layout as it is.
    void CloseLayoutWindows(int row);
    // The edited playlist's layout (the template of its resolution and
    // orientation) becomes the playlist layout and the current layout; the
    // twin does the same for the checked playlist, as the current layout
    // only. False when there is no such template.
    static bool ApplyPlaylistLayout();
    static bool ApplyCheckPlaylistLayout();
    // Another layout (resolution) of the same display mode for the edited
    // playlist: its selected row is laid out to it. Refused (told, nothing
    // changed) when the row cannot take it.
    bool ChoosePlaylistLayout(qint32 number);
    // Shows the two layout windows on the edited playlist's layout, where
    // they were last left in that mode.
    void ShowPlaylistLayoutDlgs();
    // Fills the layout-check preview with a row of the edited (or checked)
    // playlist and has the layout check draw it.
    void UpdateLayoutPreview(int row, bool edited);
    // An edit of the edited playlist or background-music list in its
    // editor: the contents placed on a playlist take their tracks' areas,
    // the panes are told, and the layout check shows the selected row again.
    void PlaylistEdited(int type);
    // Gives the layout-check window its default size for the edited
    // playlist's layout in the client area.
    void FitLayoutCheckWindow();
    // Saves the edited playlist (52) or background-music list (53) as the
    // record's files for a preview; the edited list stays unsaved.
    bool PlaylistSavePreview(int type, CPlaylistProperty &record);
    // Plays the edited playlist (52) or background-music list (53) on the
    // preview player: its files are written under a number no stored list
    // uses, which the list does not keep, and removed once they are sent.
    void PreviewEditPlaylist(int type);

    // ---- Emptying the edit and check models ------------------------------

    // Empties the edited playlist (52) or BGM list (53), asking first when it
    // is modified unless forced. False when the operator keeps it.
    bool PlaylistNew(int type, bool force);
    // Empties the edited schedule, asking first when modified unless forced.
    bool ScheduleNew(bool force);
    // Empties the checked playlist or BGM list.
    void PlaylistCheckClear(int type, bool keepPanes);
    // Whether emptying the check panes shows the playlist check pane or
    // leaves the panes as they are.
    enum class CheckPanes { Show, Keep };
    // What a check-pane command does with the day selected in the group
    // calendar: keeps it, clears it (when emptying) or selects the dates of
    // the schedule shown (when loading).
    enum class CalendarDay { Keep, Clear, SelectSchedule };
    // Empties the checked schedule and the checked lists.
    void ScheduleCheckClear(CheckPanes panes, CalendarDay day);
    // Loads a stored playlist or BGM list into its editor (asking first when
    // the edited one is modified). False when it is not loaded.
    bool PlaylistLoad(qint32 index, int type);
    // Loads a stored schedule of the current group into its editor.
    bool ScheduleLoad(qint32 index);

    // ---- Navigation views ------------------------------------------------

    // Hides every view, arranges the view and highlights its button; false
    // (nothing hidden) for an id that names no view.
    bool ShowView(int viewId);
    bool CanLeaveView(int targetView);
    // The view shown (the navigation button drawn pushed); -1 when none.
    int GetCurrentView() const;
    // Loads a playlist or BGM list into its editor and shows its view; 0 on
    // failure, else the view's result.
    int OpenPlaylistEdit(qint32 number, int type);
    bool OpenScheduleEdit(qint32 number);
    // Back to the remembered view unless staying; with apply, every pane is
    // told the setting changed and the views are reset.
    void ApplySetting(int settingId, bool stay, bool apply);
    // One step of the guided first set-up.
    void AdvanceSetupStep(int settingId, bool stay);
    // Distributes the data state to the panes (at start and after settings).
    void ResetViews();
    // Stores where the view's panes stand and which one is active.
    void SaveViewState(int viewId);
    // Applies the default arrangement of the current view (Window, Arrange).
    void OnWindowArrange();

    // ---- Application messages and workers --------------------------------

    // Runs the handler of an application message.
    void OnAppMessage(int number, quint32 wParam, quint32 lParam);
    // Starts a worker of a long operation: the frame is disabled when asked,
    // the worker is kept in slot and started. False when one is kept there
    // already or it cannot start (the frame is then enabled again).
    bool StartWorker(std::unique_ptr<CFrameWorker> &slot, std::function<void()> body, bool disableFrame);
    // Joins the worker of slot, forgets it and enables the frame again.
    void EndWorker(std::unique_ptr<CFrameWorker> &slot);
    std::unique_ptr<CFrameWorker> &PrintWorker() { return m_printWorker; }

    // The files of a registration batch (registration progress names them).
    void SetRegistPaths(const QStringList &paths, const QString &singlePath);
    // The cabinet's name, and the folder it goes to when that is not the
    // desktop (empty: the desktop).
    void SetLogArchivePath(const QString &name, const QString &folder = QString())
    {
        m_logArchivePath = name;
        m_logArchiveFolder = folder;
    }
    // Progress windows of the running operation; null when none is shown.
    void SetRegistProgress(IProgressView *view) { m_registProgress = view; }
    void SetDeleteProgress(IProgressView *view) { m_deleteProgress = view; }
    void SetProcessDialog(IProgressView *view) { m_processDialog = view; }
    void SetExImportView(IExImportView *view) { m_exImportView = view; }

    // ---- Playlists and schedules: storage, export and import, printing, settings package

    // Writes the settings package where the operator chooses (command 4060).
    void OnExportSettings();

    // Shows a stored playlist (52) or BGM list (53) in its check pane; the
    // event-missing message when the list lacks it.
    bool PlaylistCheckLoad(qint32 index, int type, bool keepPanes);
    // Shows a stored schedule of the current group in the check pane. With
    // SelectSchedule the group's calendar selects the schedule's days from
    // its start to its end date; with Keep it keeps the day it chose (one of
    // the schedule's days).
    bool ScheduleCheckLoad(qint32 index, CalendarDay day);
    // Save the edited playlist, BGM list or schedule (under a new number when
    // asked, or when it is new or a sample); false when refused or cancelled.
    bool PlaylistSave(int type, bool saveAsNew);
    bool ScheduleSave(bool saveAsNew);
    // Paste the playlists, BGM lists or schedules on the clipboard as new
    // records; false when nothing or not all of them were pasted.
    bool PastePlaylist(int type);
    bool PasteSchedule();
    // Print the edit pane's (edit) or the check pane's playlist (52) or BGM
    // list (53), schedule (with its lists unless scheduleOnly) or a month of
    // the current group's calendar; false when refused or not started.
    bool PrintPlaylist(int type, bool edit);
    bool PrintSchedule(bool scheduleOnly, bool edit);
    bool PrintCalendar(int year, int month);
    // Writes the print files and runs the print macro on the print worker.
    bool StartPrint(const PrintRequest &request);

    // Opens the export window for the chosen playlists, or the import
    // window; false while busy (5295) or when the operator chose no target.
    bool ShowExportDlg(const QList<quint32> &playlists);
    bool ShowImportDlg();
    // What the export window asks of the frame: the worker of its run.
    bool StartExport(const QList<quint32> &playlists, const QString &targetPath, bool toFile,
                     bool keepPackage) override;
    bool StartImport(const QString &packagePath) override;
    void StopExImport() override;
    bool IsExImportStopped() const override;
    quint32 GetExImportTotalCount() const override;
    quint64 GetExImportTotalBytes() const override;
    quint32 GetExImportMissingNumber() const override;
    QStringList GetExportLeftOutFiles() const override;
    QList<ImportReplacement> GetImportReplacements() const override;
    void AnswerImportReplace(bool replace) override;
    quint32 GetImportReplacedCount() const override;
    QList<ImportedItem> GetImportedItems() const override;
    CPlaylistExImportDlg *GetExImportDlg() const { return m_exImportDlg; }

    // ---- Content registration and material replacement -------------------
    // (main_frame_registration.cpp)

    // Registers the files as contents on a worker thread with the progress
    // window; type 0 takes each file's type from its extension. Nothing
    // happens while a registration runs.
    void StartAddContentsFiles(const QStringList &files, int type = 0);
    // Files dropped on the window: refused as a whole (5357; 5449 for a page
    // file while local pages are off; 5358) when one cannot be registered,
    // else registered by their extensions.
    void OnDropFiles(const QStringList &paths);
    // End of a registration batch (WM_APP+1): joins, tells the result.
    void OnMsgAddContentsEnd(int kind, quint32 detail);
    // Gives the content of number a new material file (refused with 5332
    // while the content is being sent); false when it did not start.
    bool StartReplaceMaterial(int type, qint32 number, const QString &path);
    // End of a replacement (WM_APP+131): tells what changed or what failed.
    void OnMsgReplaceMaterialEnd(int kind, quint32 detail);
    // The progress window of the running registration; null when none.
    CRegContDlg *GetRegContDlg() const { return m_regContDlg.get(); }

    // ---- Web contents (main_frame_web_edit.cpp) ----------------------------

    // The URL settings dialog on a copy of the record (null: a new content);
    // OK stores it in the web list with the thumbnails framed there.
    void EditUrl(CWebProperty *record);
    // The display options of a web content (nothing while it is sent).
    void EditUrlOpt(CWebProperty *record);

    // ---- Telop editing (main_frame_telop.cpp) ------------------------------

    // Opens the telop editor on a copy of the record, or on a new telop when
    // record is null, and stores the result: the record in the telop list,
    // the staged files put in place, the list saved and announced.
    void EditTelop(const CTelopProperty *record);

    // ---- Content editing (main_frame_content_edit.cpp) ---------------------

    // The control-event and IP camera editors on a copy of the record (null:
    // a new content); OK stores it in its list under its own or a new number.
    void EditControl(CControlProperty *record);
    void EditStreaming(CStreamingProperty *record);
    // Category, title and (videos, Flash, audio) play time of one content;
    // the category of several. Schedules and playlists take them into their
    // files and edit models too.
    void EditProperty(int type, qint32 index);
    void EditPropertyMulti(int type, const QList<qint32> &indexes);
    // The automatic deletion date of contents of one type; schedules and
    // playlists take it into their files and edit models too.
    void EditDelDate(const QList<qint32> &indexes, int type);
    // A no-play period (a schedule record and a calendar row of one number);
    // below 1 for a new one.
    void EditNoPlayDate(qint32 index);
    // The dates, weekdays and colour of a stored schedule.
    void EditSchedule(qint32 index);
    // A touch-panel playlist; below 1 for a new one.
    void EditVODPlaylist(qint32 index);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct PaneSlot {
        CChildFrame *frame = nullptr;
        CTelvPaneDlg *pane = nullptr;
    };
    struct ViewPane;
    struct ViewInfo;

    // Construction
    void createClient();
    void createMenu();
    bool createBars();
    bool createLayoutPane(int index, PaneKind kind, quint32 titleId);
    void chooseStartView();
    void saveFramePlacement();
    void disableTransferCallback();

    // Views
    static const ViewInfo *findView(int viewId);
    QList<ViewPane> panesOfView(const ViewInfo &view) const;
    void arrangeView(const ViewInfo &view);
    void layOutBeforeShow();
    bool applySavedArrangement(const ViewInfo &view, const QList<ViewPane> &panes);
    void applyDefaultArrangement(int viewId, const QList<ViewPane> &panes);
    // Remembers where the panes of a view stand now.
    void storePaneRects(const QList<ViewPane> &panes);
    void arrangeLayoutPanes(const QRect &client);
    void prepareView(const ViewInfo &view);
    void prepareLayoutCheck(bool edited);
    void prepareStandardLayout();
    // True while the layout windows show the edited playlist's layout.
    bool isPlaylistLayoutMode() const;
    void activateRemembered(const ViewInfo &view, const QList<ViewPane> &panes);
    QWidget *windowOfPane(int index) const;
    QRect paneRect(int index) const;
    void placePane(int index, const QRect &rect, bool resize);
    void showPane(int index);
    int rememberedView() const;
    void setOperatingWindow();
    void keepCurrentGroup();
    void keepCurrentPlayer();
    bool discardEditsForSettings();

    // Messages
    void onRegistFileMessage(quint32 index, quint32 textId);
    void onProgressCount(IProgressView *view, quint32 index);
    void onTransferProgress();
    // Sending and player operations.
    void closeTransferDialog();
    // Whether a log transfer's end leads to the collection of what it fetched.
    bool collectsFetchedLogs(quint32 result, qint32 state) const;
    // Notes the players of the log transfer whose logs did not come.
    void noteLogFetchFailures();
    void showTransferFailure(qint32 state, qint32 detail);
    void showErrorCode(qint32 detail);
    void reloadSelectedPlayerLists();
    void rememberTransferOutcome(int mode);
    void markScheduleStopped();
    CContentsList *groupCalendars(const QString &group);
    void saveGroupCalendars(const QString &group);
    // The command worker's body: runs the command and posts its end.
    void MaintainPlayer(int mode, qint32 player, const std::optional<PlayerAddress> &shown);
    void showCommandSuccess(int mode, qint32 player);
    enum class ProcessStart { Delivery, Command, ListUpdate };
    bool startTransferWithDialog(int mode, int count, ProcessStart start);
    bool putRequest(const CDlkRequest &request);
    // Gives a registration request its folders and queues into it through
    // queue; the changes are written only when all of it was queued. False
    // (the operator told) otherwise.
    bool prepareSend(CDlkRequestSend &request, const std::function<bool(CSendInfoBuilder &)> &queue);
    bool playlistFits(const CPropertyBase &record, bool preview);
    bool askPlayChoice(const CPropertyBase &record, PlayChoice &choice);
    void DeleteContentsWorker(const CContentFileRemover &remover, CContentsList *list, int type,
                              const QList<qint32> &indexes, const CDeleteDlg &dialog);
    void onLogEnd(quint32 saved, quint32 result);
    // The saved cabinet's message, naming the players whose logs did not come.
    void showLogSaved();
    // The message of a failed log collection, naming its cause.
    void showLogFailure(LogCollectResult result);
    void onPrintEnd(quint32 result, quint32 detail);
    void onExImportEnd(int number, quint32 result);
    bool openExImportDlg(int mode, const QList<quint32> &playlists);
    void saveSimpleScheduleOf(qint32 playlist, const QString &info, const QString &title,
                              const ScheduleSetBlock &block);
    bool startExImport(std::function<int(CExImport &)> run);
    QString registFileName(quint32 index) const;

    // Registration
    void openRegistProgress(int total);
    bool startRegistWorker(std::function<void()> body);
    void closeRegistProgress();
    void endRegistWorker();
    // Cancels a registration still running and joins it.
    void stopRegistWorker();
    // Adds or updates the record and saves its list; a failed save puts the
    // list back and tells the operator (5114). beforeSave runs between the
    // two (a false answer puts the list back; it tells the operator itself).
    bool storeEditedRecord(CContentsList &list, const CPropertyBase &record,
                           const std::function<bool()> &beforeSave = {});
    // Runs save; when it fails the undos put their lists back and the
    // operator is told (5114).
    bool saveOrUndo(const QList<CListUndo *> &undos, const std::function<bool()> &save);
    // Content editing.
    bool editRecord(int type, const char *operation, const CPropertyBase *record, CPropertyBase &edited,
                    bool hasDialog, const std::function<bool(qint32)> &runDialog);
    void editProperties(int type, const QList<qint32> &indexes, bool categoryOnly);
    bool storeRecords(CContentsList &list, const std::vector<std::unique_ptr<CPropertyBase>> &records,
                      const std::function<bool()> &save);
    void storePlaylistRecords(int type, const std::vector<std::unique_ptr<CPropertyBase>> &records, int saveFlag,
                              const char *operation);
    // Stores edited schedule records with their files and calendar rows, and
    // alongside (run in the same change) when given; all or nothing.
    bool storeScheduleRecords(const std::vector<std::unique_ptr<CPropertyBase>> &records, const char *operation,
                              const std::function<bool()> &alongside = {});
    void storeScheduleDeleteDates(const std::vector<std::unique_ptr<CPropertyBase>> &records);
    bool storeNoPlayPeriod(qint32 number, const PeriodValues &values, CScheduleProperty &schedule,
                           CCalendarProperty &calendar);
    bool storeVodPlaylist(const CPlaylistProperty &record);
    void waitForCommunicationEnd();
    // Whether power-on can address the player: the MAC address it is shown
    // with, or else its stored one, is set.
    bool hasMacAddress(qint32 player, const std::optional<PlayerAddress> &shown) const;

    template <typename Role>
    Role *paneRole(int index) const
    {
        return dynamic_cast<Role *>(GetViewPane(index));
    }

    QMdiArea *m_mdiClient = nullptr;
    CGuidanceBar *m_guidanceBar = nullptr;
    CGuideBar *m_guideBar = nullptr;
    std::array<PaneSlot, PANE_COUNT> m_slots{};
    QList<CChildFrame *> m_childFrames;
    CPaneList m_panes;
    QStringList m_clipboardFormats;

    QString m_currentGroup;
    qint32 m_currentPlayer = -1;
    QString m_currentPlayerName;
    int m_checkListWindow = kCheckPlaylistWindow;
    int m_checkPlaylist = -1;
    int m_editPlaylist = -1;

    int m_deleteType = 0;
    int m_busyMode = 0;
    int m_transferMode = 0;
    // Sending and player operations.
    QList<qint32> m_targetPlayers;
    QString m_groupAtStart;
    // The files the running preview of the edited list wrote, to go at its end.
    QStringList m_previewFiles;
    qint32 m_operationIndex = -1;
    int m_commandMode = 0;
    qint32 m_commandPlayer = -1;
    std::optional<PlayerAddress> m_commandAddress;
    PlayerCommandReply m_commandReply;
    QString m_pcTime;
    QString m_pcTimeZone;
    std::unique_ptr<CFrameWorker> m_commandWorker;
    std::atomic<bool> m_commandStop{false};
    CProcessDlg *m_process = nullptr;
    std::unique_ptr<CDeleteDlg> m_deleteDialog;
    QList<qint32> m_deleteIndexes;
    std::atomic<int> m_deleteDone{0};
    std::unique_ptr<CFrameWorker> m_deleteWorker;
    CDlkRequestList m_requestList;
    bool m_exiting = false;
    bool m_sessionEnded = false;

    std::unique_ptr<CFrameWorker> m_printWorker;
    std::unique_ptr<CFrameWorker> m_logWorker;
    QStringList m_registPaths;
    QString m_registPath;
    QString m_logArchivePath;
    QString m_logArchiveFolder;
    // "<player> (エラーコード： <code>)" of each player whose log did not come.
    QStringList m_logFetchFailures;
    IProgressView *m_registProgress = nullptr;
    IProgressView *m_deleteProgress = nullptr;
    IProgressView *m_processDialog = nullptr;
    IExImportView *m_exImportView = nullptr;
    // The PDF a print wrote where no printer is set up.
    QString m_printPdfPath;
    // Export and import: the run, its worker and its window.
    std::unique_ptr<CExImport> m_exImport;
    std::unique_ptr<CFrameWorker> m_exImportWorker;
    CPlaylistExImportDlg *m_exImportDlg = nullptr; // a child of the frame
    QPointer<CHelpPageDlg> m_errorList;            // a child of the frame

    // Registration: the worker is declared last so that it is joined before
    // the objects it works with go.
    std::unique_ptr<CRegContDlg> m_regContDlg;
    std::unique_ptr<CContentRegistration> m_registration;
    std::unique_ptr<CFrameWorker> m_registWorker;
};

// The program's main frame; null before it is made and after it is gone.
CMainFrame *GetMainFrame();
