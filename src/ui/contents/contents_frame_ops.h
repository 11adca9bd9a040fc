#pragma once
// The main frame's operations that the contents pane and its lists call.
//
// Several of them are built beside the pane. Each function below calls the
// frame's member of the same name with the same arguments when the frame has
// one that accepts them, and is "not offered" (returns false, runs nothing)
// otherwise. With check set it only answers whether the frame offers it, so
// a command is enabled exactly when its operation exists: once the frame
// gains a member of the name and arguments, the command works without a
// change here. Arguments follow the frame's conventions: content numbers as
// QList<qint32>, a record as a pointer to its class (null for a new one);
// the copy blocks of playlists and schedules carry positions in their list
// and the export the playlist numbers, as QList<quint32>.

#include <QList>
#include <QStringList>

class CControlProperty;
class CStreamingProperty;
class CTelopProperty;
class CWebProperty;

namespace FrameOps {

using Indexes = QList<qint32>;
using Positions = QList<quint32>;

// Registration, replacement, import and export.
bool StartAddContentsFiles(const QStringList &paths, int code, bool check = false);
bool StartReplaceMaterial(int type, qint32 index, const QString &path, bool check = false);
bool ShowImportDlg(bool check = false);
bool ShowExportDlg(const Positions &numbers, bool check = false);

// Editing.
bool EditProperty(int type, qint32 index, bool check = false);
bool EditPropertyMulti(int type, const Indexes &indexes, bool check = false);
bool EditDelDate(const Indexes &indexes, int type, bool check = false);
bool EditTelop(CTelopProperty *record, bool check = false);
bool EditUrl(CWebProperty *record, bool check = false);
bool EditUrlOpt(CWebProperty *record, bool check = false);
bool EditControl(CControlProperty *record, bool check = false);
bool EditStreaming(CStreamingProperty *record, bool check = false);
bool EditVODPlaylist(qint32 index, bool check = false);
bool EditNoPlayDate(qint32 index, bool check = false);
bool EditSchedule(qint32 index, bool check = false);
bool StartDeleteContents(const Indexes &indexes, int type, bool check = false);

// Playlists and schedules.
bool PlaylistNew(int type, bool check = false);
bool PlaylistLoad(qint32 index, int type, bool check = false);
bool OpenPlaylistEdit(qint32 index, int type, bool check = false);
bool ScheduleNew(bool check = false);
bool ScheduleLoad(qint32 index, bool check = false);
// Loads a schedule for checking in the given view (15: schedule delivery).
bool ScheduleLoadForView(qint32 index, int view, bool check = false);
bool CopyPlaylist(int type, const Positions &positions, bool check = false);
bool PastePlaylist(int type, bool check = false);
bool CopySchedule(const Positions &positions, bool check = false);
bool PasteSchedule(bool check = false);

// Players.
bool R40SendContents(int type, const Indexes &indexes, bool check = false);
bool R40SendSchedule(const Indexes &indexes, bool check = false);
bool R40Play(int type, qint32 index, int preview, int com2, bool check = false);
bool R40PlayRemote(int type, qint32 index, int com2, bool check = false);
bool R40PlayStop(int type, bool preview, bool remote, bool check = false);
bool R40DeleteContents(int type, const Indexes &indexes, bool check = false);
bool R40StopSchedule(qint32 index, bool check = false);
bool R40SendScreenSaver(qint32 index, bool check = false);
bool R40CancelScreenSaver(bool check = false);
bool R40SendRecoverStill(qint32 index, bool check = false);
bool R40CancelRecoverStill(bool check = false);
bool R40GetRemoteList(int type, bool check = false);
bool ShowPreviewSetDlg(bool check = false);
bool StopTransfer(bool check = false);

} // namespace FrameOps
