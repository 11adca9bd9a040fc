#pragma once
// String ids the player, group and password dialogs share.

#include <QtGlobal>

inline constexpr quint32 kMsgNotEntered = 5286; // a required field left empty

inline constexpr quint32 kTextNumber = 4101;
inline constexpr quint32 kTextResolution = 4124;
inline constexpr quint32 kTextName = 6700;
inline constexpr quint32 kTextPassword = 6708;
