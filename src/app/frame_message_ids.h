#pragma once
// Messages that several parts of the main frame show.

#include "core/message_box.h"

#include <QtGlobal>

// A transfer or command is running or waiting to run.
inline constexpr quint32 kMsgCommunicating = 5295;
// A send or player command failed.
inline constexpr quint32 kMsgSendFailed = 5419;
// A list already holds as many records as it may (the limit).
inline constexpr quint32 kMsgMaxCount = 5101;
// A file could not be copied because of a system error (the error code).
inline constexpr quint32 kMsgFileError = 5114;
// Pages registered where they lie that are shown without their folder (the
// pages, one a line).
inline constexpr quint32 kMsgPageShownAlone = 5438;
// The style of the frame's refusals while content is registered or edited.
inline constexpr quint32 kExclamationStyle = MB_OK | MB_ICONEXCLAMATION;
