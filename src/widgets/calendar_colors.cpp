#include "widgets/calendar_colors.h"

#include "core/string_table.h"
#include "core/system_ini.h"

namespace {

bool isCalendarIndex(int index)
{
    return index >= 0 && index < CSystemIni::kCalendarColorCount;
}

} // namespace

ColorRef GetCalendarColor(int index)
{
    return isCalendarIndex(index) ? kCalendarColors[index].color : 0;
}

QString GetCalendarColorName(int index)
{
    if (!isCalendarIndex(index))
        return {};
    const QString name = GetSystemIni().GetColorName(index);
    return name.isEmpty() ? LoadString(kCalendarColors[index].nameId) : name;
}
