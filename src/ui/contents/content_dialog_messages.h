#pragma once
// The messages several content dialogs show, and the style of their warnings.

#include "core/message_box.h"

inline constexpr quint32 kWarningStyle = MB_OK | MB_ICONEXCLAMATION;

inline constexpr quint32 kMsgOutOfRange = 5108;    // a number outside its range (from, to)
inline constexpr quint32 kMsgEmptyField = 5232;    // a field left empty
inline constexpr quint32 kAskRemoveInvalid = 5375; // remove unusable characters and save?
inline constexpr quint32 kMsgEmptyItem = 5410;     // a function needs the empty fields filled in
