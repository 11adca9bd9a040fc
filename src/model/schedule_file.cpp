#include "model/schedule_file.h"

#include "core/path_utils.h"
#include "model/property_base.h"

CScheduleFile::CScheduleFile()
    : CTimetableFile(QStringLiteral("schedule"), Reference::ByTable, &MakeScheduleXmlPath)
{
}

bool CScheduleFile::acceptsItem(const CTimetableItem &item) const
{
    const int type = item.GetContentType();
    return type == CONTENT_PLAYLIST || type == CONTENT_BGMLIST || isSequenceReference(item);
}
