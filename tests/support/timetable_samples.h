#pragma once
// Timetable files of one item for the tests: a sequence, playlist or
// schedule (File) that plays one content, or one sequence, for the first
// minute.

#include "model/timetable_item.h"

#include <QString>

// Saves File numbered `number` into folder, its one item playing `content`
// (of contentType: 1 a movie, 54 a sequence) in `kind`.
template <class File>
bool SaveOneItemFile(const QString &folder, qint32 number, qint32 content, int contentType, int kind)
{
    CTimetableItem item;
    File file;
    return item.Set(content, TimeValue{0, 0, 0, 0}, TimeValue{0, 1, 0, 0}, contentType, kind) && file.SetIndex(number)
           && file.AddItem(item) && file.SaveTo(folder);
}
