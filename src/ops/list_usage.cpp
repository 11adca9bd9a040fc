#include "ops/list_usage.h"

#include "model/contents_store.h"
#include "model/q9_group_xml.h"
#include "model/schedule_file.h"

#include <QDir>

namespace {

// The uses of the lists in one schedule file.
void AddUses(const CScheduleFile &schedule, const QString &group, int type, const QList<qint32> &lists,
             QList<ListUse> &uses)
{
    QList<qint32> found;
    for (int position = 0; position < schedule.GetItemCount(); ++position) {
        CTimetableItem item;
        if (!schedule.GetItem(position, item) || item.GetContentType() != type)
            continue;
        if (lists.contains(item.GetIndex()) && !found.contains(item.GetIndex()))
            found.append(item.GetIndex());
    }
    for (qint32 list : found)
        uses.append({list, group, schedule.GetIndex()});
}

} // namespace

QList<ListUse> FindListUses(const CContentsStore &store, const CQ9GroupXml &groups, int type,
                            const QList<qint32> &lists)
{
    QList<ListUse> uses;
    for (const CGroupRecord &group : groups.Records()) {
        QString scheduleFolder;
        QString sequenceFolder;
        if (!store.GetGroupScheduleFolders(group.Name, scheduleFolder, sequenceFolder))
            continue;
        const QDir folder(scheduleFolder);
        const QStringList names =
            folder.entryList({QStringLiteral("SC?????????.xml")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString &name : names) {
            CScheduleFile schedule;
            if (schedule.Load(folder.filePath(name)))
                AddUses(schedule, group.Name, type, lists, uses);
        }
    }
    return uses;
}
