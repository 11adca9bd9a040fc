#pragma once
// Time codes as the tests write them: by hours and minutes, or by seconds
// after midnight.

#include "core/win_types.h"

inline TimeValue Tc(int h, int m, int s = 0, int f = 0)
{
    return TimeValue{quint16(h), quint16(m), quint16(s), quint16(f)};
}

// The time code `seconds` after midnight, on frame 0.
inline TimeValue at(int seconds)
{
    return TimeValue{quint16(seconds / 3600), quint16(seconds / 60 % 60), quint16(seconds % 60), 0};
}
