#include "app/r40_send_callback.h"

#include "app/app_message.h"
#include "core/clock.h"
#include "core/last_error.h"
#include "core/syslog.h"

#include <QObject>

namespace {

constexpr int kPostAttempts = 10;
constexpr std::chrono::milliseconds kRetryDelay{1};

// The message a manager code becomes; 0 for the codes the frame ignores.
int MessageOfCode(qint32 code)
{
    switch (code) {
    case 2:
        return APPMSG_TRANSFER_PROGRESS;
    case 6:
        return APPMSG_TRANSFER_END;
    case 8:
        return APPMSG_TRANSFER_NOTICE;
    default:
        return 0;
    }
}

} // namespace

int R40SendCallback(void *context, qint32 code, qint64 value)
{
    const int number = MessageOfCode(code);
    if (number == 0)
        return 0;
    // Only the low 32 bits of the value travel; progress carries none.
    const quint32 wParam = number == APPMSG_TRANSFER_PROGRESS ? 0 : quint32(quint64(value) & 0xFFFFFFFFu);
    auto *frame = static_cast<QObject *>(context);
    for (int attempt = 1; attempt <= kPostAttempts; ++attempt) {
        if (PostAppMessage(frame, number, wParam, 0))
            return 1;
        WriteSyslog(LOG_ERR_WIN, "R40SendCallback : Retry Post : Error = %u : Notify = %d\n", GetLastError(), code);
        if (attempt < kPostAttempts)
            Clock().sleepFor(kRetryDelay);
    }
    return 0;
}

void R40SendNotify(void *context, qint32 code, qint64 value)
{
    R40SendCallback(context, code, value);
}
