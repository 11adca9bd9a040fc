// Transfer requests of kinds 1, 2, 3, 4, 6 and 7: making, copying and freeing.

#include "core/last_error.h"
#include "player/delete_command.h"
#include "player/dlk_request_command.h"
#include "player/dlk_request_config.h"
#include "player/dlk_request_log.h"
#include "player/dlk_request_remote_list.h"
#include "player/dlk_request_status.h"
#include "player/dlk_request_update.h"
#include "player/plain_command.h"

#include <gtest/gtest.h>

namespace {

// A request made by Create of the model, then filled by CopyFrom.
template <class Request>
Request *copyOf(const Request &model)
{
    CDlkRequest *made = model.Create();
    EXPECT_NE(made, nullptr);
    EXPECT_TRUE(made->CopyFrom(&model));
    auto *typed = dynamic_cast<Request *>(made);
    EXPECT_NE(typed, nullptr);
    return typed;
}

TEST(DlkRequestTest, EachKindCopiesItsValues)
{
    CDlkRequestConfig config(true);
    config.SetVersionNumber(123);
    CDlkRequestConfig *configCopy = copyOf(config);
    EXPECT_EQ(configCopy->GetKind(), int(DLK_REQUEST_CONFIG));
    EXPECT_TRUE(configCopy->IsNetwork());
    EXPECT_EQ(configCopy->GetVersionNumber(), 123);
    configCopy->SetVersionNumber(111); // each worker's slot is its own
    EXPECT_EQ(config.GetVersionNumber(), 123);
    configCopy->Release();

    CDlkRequestRemoteList list(0x0C00, 1);
    CDlkRequestRemoteList *listCopy = copyOf(list);
    EXPECT_EQ(listCopy->GetKind(), int(DLK_REQUEST_REMOTE_LIST));
    EXPECT_EQ(listCopy->GetMask(), 0x0C00);
    EXPECT_EQ(listCopy->GetFlag(), 1);
    listCopy->Release();

    CDlkRequestLog log(QStringLiteral("/data/TelvData/Q9Data/LogTemp"));
    CDlkRequestLog *logCopy = copyOf(log);
    EXPECT_EQ(logCopy->GetKind(), int(DLK_REQUEST_LOG));
    EXPECT_EQ(logCopy->GetFolder(), log.GetFolder());
    logCopy->Release();

    CDlkRequestUpdate update(QStringLiteral("/home/op/r40_update.cab"));
    CDlkRequestUpdate *updateCopy = copyOf(update);
    EXPECT_EQ(updateCopy->GetKind(), int(DLK_REQUEST_UPDATE));
    EXPECT_EQ(updateCopy->GetUpdateFile(), update.GetUpdateFile());
    updateCopy->Release();

    CDlkRequestStatus status(123);
    CDlkRequestStatus *statusCopy = copyOf(status);
    EXPECT_EQ(statusCopy->GetKind(), int(DLK_REQUEST_STATUS));
    EXPECT_EQ(statusCopy->GetVersionNumber(), 123);
    statusCopy->Release();
}

TEST(DlkRequestTest, CopyFromItselfNullOrAnotherKindFails)
{
    CDlkRequestLog log(QStringLiteral("/a"));
    EXPECT_FALSE(log.CopyFrom(&log));
    EXPECT_EQ(log.GetLastError(), quint32(ERROR_INTERNAL_ERROR));
    EXPECT_EQ(log.GetFolder(), QStringLiteral("/a"));

    EXPECT_FALSE(log.CopyFrom(nullptr));
    EXPECT_EQ(log.GetLastError(), quint32(ERROR_INVALID_PARAMETER));

    CDlkRequestStatus status(5);
    EXPECT_FALSE(log.CopyFrom(&status));
    EXPECT_EQ(log.GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(log.GetKind(), int(DLK_REQUEST_LOG));

    CDlkRequestLog other(QStringLiteral("/b"));
    EXPECT_TRUE(log.CopyFrom(&other));
    EXPECT_EQ(log.GetLastError(), 0u);
    EXPECT_EQ(log.GetFolder(), QStringLiteral("/b"));
}

TEST(DlkRequestTest, ListMaskKeepsToTheListBits)
{
    CDlkRequestRemoteList list;
    EXPECT_TRUE(list.SetMask(0x3FFF));
    EXPECT_FALSE(list.SetMask(0x4000));
    EXPECT_EQ(list.GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(list.GetMask(), 0x3FFF);
}

TEST(DlkRequestTest, CommandListHoldsPrivateClones)
{
    CDlkRequestCommand commands;
    EXPECT_FALSE(commands.Add(nullptr, 0));
    EXPECT_EQ(commands.GetLastError(), quint32(ERROR_INVALID_PARAMETER));

    CDeleteCommand remove;
    ASSERT_TRUE(remove.MakeRequest(DELETE_TABLE_STILL, 0));
    CPlainCommand stop;
    ASSERT_TRUE(stop.MakeRequest());
    ASSERT_TRUE(commands.Add(&remove, 7));
    ASSERT_TRUE(commands.Add(&stop, 8));
    ASSERT_TRUE(remove.MakeRequest(DELETE_TABLE_MOVIE, 101000001)); // the list keeps its own copy
    ASSERT_EQ(commands.GetCount(), 2);
    EXPECT_EQ(commands.GetCommand(0)->GetQueryString(), QStringLiteral("cmd=RMCL&table=still&index=000000000"));
    EXPECT_EQ(commands.GetEntryIndex(1), 8);
    EXPECT_EQ(commands.GetCommand(2), nullptr);
    EXPECT_EQ(commands.GetEntryIndex(-1), -1);

    CDlkRequestCommand *copy = copyOf(commands);
    ASSERT_EQ(copy->GetCount(), 2);
    EXPECT_NE(copy->GetCommand(0), commands.GetCommand(0));
    copy->GetCommand(0)->AnalyzeReply("<response><status>PASS</status></response>");
    EXPECT_EQ(commands.GetCommand(0)->GetStatus(), R40_REPLY_NONE);
    EXPECT_NE(dynamic_cast<CDeleteCommand *>(copy->GetCommand(0)), nullptr);
    EXPECT_EQ(copy->GetEntryIndex(0), 7);
    copy->Release();

    commands.RemoveAll();
    EXPECT_EQ(commands.GetCount(), 0);
}

} // namespace
