#pragma once
// The eight background colours of calendar days and schedules, with the
// names the operator gives them in "Q9S.ini" ([Content\Calendar]
// ColorName_n) or, where none is given, their default names.

#include "core/system_ini.h"
#include "core/win_types.h"

#include <QString>

struct CalendarColor {
    quint32 nameId; // string id of the default name
    ColorRef color;
};

inline constexpr CalendarColor kCalendarColors[CSystemIni::kCalendarColorCount] = {
    {5891, 0x686868}, {5892, 0x782E15}, {5893, 0x781547}, {5894, 0x601578},
    {5895, 0x151579}, {5896, 0x156078}, {5897, 0x2E7815}, {5898, 0x787815},
};

// The colour of entry index; 0 (black) outside the table.
ColorRef GetCalendarColor(int index);
// The operator's name of entry index, else its default name; empty outside the table.
QString GetCalendarColorName(int index);
