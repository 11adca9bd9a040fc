// The transfer manager's callback of the frame turns codes 2, 6 and 8 into
// posted application messages and ignores every other code.
#include "app/app_message.h"
#include "app/r40_send_callback.h"

#include <QCoreApplication>
#include <QList>
#include <QObject>

#include <gtest/gtest.h>

#include <thread>

namespace {

struct Received {
    int number;
    quint32 wParam;
    quint32 lParam;
    friend bool operator==(const Received &, const Received &) = default;
};

class Receiver : public QObject {
public:
    bool event(QEvent *event) override
    {
        if (const CAppMessageEvent *message = AsAppMessage(event)) {
            received.append({message->Number(), message->WParam(), message->LParam()});
            return true;
        }
        return QObject::event(event);
    }
    QList<Received> received;
};

} // namespace

TEST(R40SendCallback, CodesTwoSixAndEightBecomeTheTransferMessages)
{
    Receiver frame;
    EXPECT_EQ(R40SendCallback(&frame, 2, 17), 1);
    EXPECT_EQ(R40SendCallback(&frame, 6, 1), 1);
    // Only the low 32 bits of the value travel.
    EXPECT_EQ(R40SendCallback(&frame, 8, (qint64(5) << 32) | 3), 1);
    QCoreApplication::sendPostedEvents(&frame);
    const QList<Received> expected = {
        {APPMSG_TRANSFER_PROGRESS, 0, 0}, {APPMSG_TRANSFER_END, 1, 0}, {APPMSG_TRANSFER_NOTICE, 3, 0}};
    EXPECT_EQ(frame.received, expected);
}

TEST(R40SendCallback, OtherCodesPostNothing)
{
    Receiver frame;
    for (qint32 code : {0, 1, 3, 4, 5, 7, 9, 10, 11})
        EXPECT_EQ(R40SendCallback(&frame, code, 1), 0) << code;
    QCoreApplication::sendPostedEvents(&frame);
    EXPECT_TRUE(frame.received.isEmpty());
}

TEST(R40SendCallback, PostsFromTheManagersThreads)
{
    Receiver frame;
    std::thread manager([&frame] {
        for (int i = 0; i < 100; ++i)
            R40SendCallback(&frame, 2, i);
        R40SendCallback(&frame, 6, 0);
    });
    manager.join();
    QCoreApplication::sendPostedEvents(&frame);
    ASSERT_EQ(frame.received.size(), 101);
    EXPECT_EQ(frame.received.back(), (Received{APPMSG_TRANSFER_END, 0, 0}));
}

TEST(R40SendCallback, WithoutAFrameNothingIsPosted)
{
    EXPECT_EQ(R40SendCallback(nullptr, 6, 1), 0);
}
