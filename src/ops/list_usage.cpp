#include "ops/list_usage.h"

#include "core/content_type.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/playlist_file.h"
#include "model/property_base.h"
#include "model/q9_group_xml.h"
#include "model/schedule_file.h"
#include "model/sequence_file.h"

#include <QDir>

namespace {

void AddFound(const CTimetableItem &item, int type, const QList<qint32> &numbers, QList<qint32> &found)
{
    if (item.GetContentType() == type && numbers.contains(item.GetIndex()) && !found.contains(item.GetIndex()))
        found.append(item.GetIndex());
}

// The numbers of a type among numbers that a list or schedule file plays:
// by its own entries, or for a content through the sequences they name.
QList<qint32> FindPlayed(const CTimetableFile &file, const QString &sequenceFolder, int type,
                         const QList<qint32> &numbers)
{
    const bool inSequences = CSequenceFile::IsPlayableType(type);
    QList<qint32> found;
    for (int position = 0; position < file.GetItemCount(); ++position) {
        CTimetableItem entry;
        if (!file.GetItem(position, entry))
            continue;
        AddFound(entry, type, numbers, found);
        if (!inSequences || entry.GetContentType() != CONTENT_SEQUENCE)
            continue;
        CSequenceFile sequence;
        if (!sequence.LoadFrom(sequenceFolder, entry.GetIndex()))
            continue;
        for (int i = 0; i < sequence.GetItemCount(); ++i) {
            CTimetableItem item;
            if (sequence.GetItem(i, item))
                AddFound(item, type, numbers, found);
        }
    }
    return found;
}

void AddScheduleUses(CContentsStore &store, const CQ9GroupXml &groups, int type, const QList<qint32> &numbers,
                     QList<ListUse> &uses)
{
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
            if (!schedule.Load(folder.filePath(name)))
                continue;
            for (qint32 used : FindPlayed(schedule, sequenceFolder, type, numbers))
                uses.append({used, CONTENT_SCHEDULE, schedule.GetIndex(), group.Name});
        }
    }
}

void AddLibraryListUses(CContentsStore &store, int type, const QList<qint32> &numbers, QList<ListUse> &uses)
{
    for (int listType : {CONTENT_PLAYLIST, CONTENT_BGMLIST}) {
        CContentsList *lists = store.GetList(listType);
        for (int position = 0; lists && position < lists->GetCount(); ++position) {
            CPlaylistFile list;
            if (!list.LoadFrom(store.m_playlistFolder, lists->GetAt(position)->GetIndex()))
                continue;
            for (qint32 used : FindPlayed(list, store.m_sequenceFolder, type, numbers))
                uses.append({used, listType, list.GetIndex(), QString()});
        }
    }
}

} // namespace

QList<ListUse> FindListUses(CContentsStore &store, const CQ9GroupXml &groups, int type, const QList<qint32> &numbers)
{
    QList<ListUse> uses;
    const bool content = CSequenceFile::IsPlayableType(type);
    if (!content && type != CONTENT_PLAYLIST && type != CONTENT_BGMLIST)
        return uses;
    if (content)
        AddLibraryListUses(store, type, numbers, uses);
    AddScheduleUses(store, groups, type, numbers, uses);
    return uses;
}
