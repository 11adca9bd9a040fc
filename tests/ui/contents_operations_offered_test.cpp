// Every command of the contents pane reaches an operation of the main frame:
// a routing function whose frame member is missing, or whose arguments no
// longer fit it, would leave its command disabled without anyone noticing.
#include "ui/contents/contents_frame_ops.h"

#include <gtest/gtest.h>

using namespace FrameOps;

TEST(ContentsOperations, EveryRoutedOperationIsOfferedByTheFrame)
{
    const bool check = true;
    EXPECT_TRUE(StartAddContentsFiles({}, 0, check));
    EXPECT_TRUE(StartReplaceMaterial(1, 0, {}, check));
    EXPECT_TRUE(ShowImportDlg(check));
    EXPECT_TRUE(ShowExportDlg({}, check));
    EXPECT_TRUE(EditProperty(1, 0, check));
    EXPECT_TRUE(EditPropertyMulti(1, {}, check));
    EXPECT_TRUE(EditDelDate({}, 1, check));
    EXPECT_TRUE(EditTelop(nullptr, check));
    EXPECT_TRUE(EditUrl(nullptr, check));
    EXPECT_TRUE(EditUrlOpt(nullptr, check));
    EXPECT_TRUE(EditControl(nullptr, check));
    EXPECT_TRUE(EditStreaming(nullptr, check));
    EXPECT_TRUE(EditVODPlaylist(0, check));
    EXPECT_TRUE(EditNoPlayDate(0, check));
    EXPECT_TRUE(EditSchedule(0, check));
    EXPECT_TRUE(StartDeleteContents({}, 1, check));
    EXPECT_TRUE(PlaylistNew(52, check));
    EXPECT_TRUE(PlaylistLoad(0, 52, check));
    EXPECT_TRUE(OpenPlaylistEdit(0, 52, check));
    EXPECT_TRUE(ScheduleNew(check));
    EXPECT_TRUE(ScheduleLoad(0, check));
    EXPECT_TRUE(ScheduleLoadForView(0, 15, check));
    EXPECT_TRUE(CopyPlaylist(52, {}, check));
    EXPECT_TRUE(PastePlaylist(52, check));
    EXPECT_TRUE(CopySchedule({}, check));
    EXPECT_TRUE(PasteSchedule(check));
    EXPECT_TRUE(R40SendContents(1, {}, check));
    EXPECT_TRUE(R40SendSchedule({}, check));
    EXPECT_TRUE(R40Play(1, 0, 0, 0, check));
    EXPECT_TRUE(R40PlayRemote(1, 0, 0, check));
    EXPECT_TRUE(R40PlayStop(1, false, false, check));
    EXPECT_TRUE(R40DeleteContents(1, {}, check));
    EXPECT_TRUE(R40StopSchedule(0, check));
    EXPECT_TRUE(R40SendScreenSaver(0, check));
    EXPECT_TRUE(R40CancelScreenSaver(check));
    EXPECT_TRUE(R40SendRecoverStill(0, check));
    EXPECT_TRUE(R40CancelRecoverStill(check));
    EXPECT_TRUE(R40GetRemoteList(1, check));
    EXPECT_TRUE(ShowPreviewSetDlg(check));
    EXPECT_TRUE(StopTransfer(check));
}
