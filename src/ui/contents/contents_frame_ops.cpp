#include "ui/contents/contents_frame_ops.h"

#include "app/main_frame.h"
#include "model/control_property.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"

#include <type_traits>

namespace {

// Runs op on the main frame when it can be called with the frame; with check
// set (or without a frame) only tells whether it could.
template <class Op>
bool runOnFrame(bool check, Op op)
{
    if constexpr (std::is_invocable_v<Op, CMainFrame &>) {
        CMainFrame *frame = GetMainFrame();
        if (check || !frame)
            return true;
        op(*frame);
        return true;
    } else {
        return false;
    }
}

} // namespace

// The call appears once: as the operation and, through decltype, as the test
// of whether the frame has it.
#define TELV_FRAME_OP(call) runOnFrame(check, [&](auto &frame) -> decltype(frame.call, void()) { frame.call; })

namespace FrameOps {

bool StartAddContentsFiles(const QStringList &paths, int code, bool check)
{
    return TELV_FRAME_OP(StartAddContentsFiles(paths, code));
}
bool StartReplaceMaterial(int type, qint32 index, const QString &path, bool check)
{
    return TELV_FRAME_OP(StartReplaceMaterial(type, index, path));
}
bool ShowImportDlg(bool check)
{
    return TELV_FRAME_OP(ShowImportDlg());
}
bool ShowExportDlg(const Positions &numbers, bool check)
{
    return TELV_FRAME_OP(ShowExportDlg(numbers));
}
bool EditProperty(int type, qint32 index, bool check)
{
    return TELV_FRAME_OP(EditProperty(type, index));
}
bool EditPropertyMulti(int type, const Indexes &indexes, bool check)
{
    return TELV_FRAME_OP(EditPropertyMulti(type, indexes));
}
bool EditDelDate(const Indexes &indexes, int type, bool check)
{
    return TELV_FRAME_OP(EditDelDate(indexes, type));
}
bool EditTelop(CTelopProperty *record, bool check)
{
    return TELV_FRAME_OP(EditTelop(record));
}
bool EditUrl(CWebProperty *record, bool check)
{
    return TELV_FRAME_OP(EditUrl(record));
}
bool EditUrlOpt(CWebProperty *record, bool check)
{
    return TELV_FRAME_OP(EditUrlOpt(record));
}
bool EditControl(CControlProperty *record, bool check)
{
    return TELV_FRAME_OP(EditControl(record));
}
bool EditStreaming(CStreamingProperty *record, bool check)
{
    return TELV_FRAME_OP(EditStreaming(record));
}
bool EditVODPlaylist(qint32 index, bool check)
{
    return TELV_FRAME_OP(EditVODPlaylist(index));
}
bool EditNoPlayDate(qint32 index, bool check)
{
    return TELV_FRAME_OP(EditNoPlayDate(index));
}
bool EditSchedule(qint32 index, bool check)
{
    return TELV_FRAME_OP(EditSchedule(index));
}
bool StartDeleteContents(const Indexes &indexes, int type, bool check)
{
    return TELV_FRAME_OP(StartDeleteContents(indexes, type));
}
bool PlaylistNew(int type, bool check)
{
    return TELV_FRAME_OP(PlaylistNew(type, false));
}
bool PlaylistLoad(qint32 index, int type, bool check)
{
    return TELV_FRAME_OP(PlaylistLoad(index, type));
}
bool OpenPlaylistEdit(qint32 index, int type, bool check)
{
    return TELV_FRAME_OP(OpenPlaylistEdit(index, type));
}
bool ScheduleNew(bool check)
{
    return TELV_FRAME_OP(ScheduleNew(false));
}
bool ScheduleLoad(qint32 index, bool check)
{
    return TELV_FRAME_OP(ScheduleLoad(index));
}
bool ScheduleLoadForView(qint32 index, int view, bool check)
{
    return TELV_FRAME_OP(ScheduleLoad(index, view));
}
bool CopyPlaylist(int type, const Positions &positions, bool check)
{
    return TELV_FRAME_OP(CopyPlaylist(type, positions));
}
bool PastePlaylist(int type, bool check)
{
    return TELV_FRAME_OP(PastePlaylist(type));
}
bool CopySchedule(const Positions &positions, bool check)
{
    return TELV_FRAME_OP(CopySchedule(positions));
}
bool PasteSchedule(bool check)
{
    return TELV_FRAME_OP(PasteSchedule());
}
bool R40SendContents(int type, const Indexes &indexes, bool check)
{
    return TELV_FRAME_OP(R40SendContents(type, indexes));
}
bool R40SendSchedule(const Indexes &indexes, bool check)
{
    return TELV_FRAME_OP(R40SendSchedule(indexes));
}
bool R40Play(int type, qint32 index, int preview, int com2, bool check)
{
    return TELV_FRAME_OP(R40Play(type, index, preview, com2));
}
bool R40PlayRemote(int type, qint32 index, int com2, bool check)
{
    return TELV_FRAME_OP(R40PlayRemote(type, index, com2));
}
bool R40PlayStop(int type, bool preview, bool remote, bool check)
{
    return TELV_FRAME_OP(R40PlayStop(type, preview, remote));
}
bool R40DeleteContents(int type, const Indexes &indexes, bool check)
{
    return TELV_FRAME_OP(R40DeleteContents(type, indexes));
}
bool R40StopSchedule(qint32 index, bool check)
{
    return TELV_FRAME_OP(R40StopSchedule(index));
}
bool R40SendScreenSaver(qint32 index, bool check)
{
    return TELV_FRAME_OP(R40SendScreenSaver(index));
}
bool R40CancelScreenSaver(bool check)
{
    return TELV_FRAME_OP(R40CancelScreenSaver());
}
bool R40SendRecoverStill(qint32 index, bool check)
{
    return TELV_FRAME_OP(R40SendRecoverStill(index));
}
bool R40CancelRecoverStill(bool check)
{
    return TELV_FRAME_OP(R40CancelRecoverStill());
}
bool R40GetRemoteList(int type, bool check)
{
    return TELV_FRAME_OP(R40GetRemoteList(type));
}
bool ShowPreviewSetDlg(bool check)
{
    return TELV_FRAME_OP(ShowPreviewSetDlg());
}
bool StopTransfer(bool check)
{
    return TELV_FRAME_OP(StopTransfer());
}

} // namespace FrameOps
