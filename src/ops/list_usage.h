#pragma once
// Which schedules play a playlist or background-music list: a list a
// schedule uses cannot be sent with that schedule once it is gone, so its
// deletion says so first.

#include <QList>
#include <QString>

class CContentsStore;
class CQ9GroupXml;

struct ListUse {
    qint32 list = 0;     // the list's number
    QString group;       // the group of the schedule
    qint32 schedule = 0; // the schedule's number
};

// The schedules of every group that play one of the lists of a type (52 or
// 53), read from the groups' schedule files; a file that does not read is
// passed over, as it names no list it could lose.
QList<ListUse> FindListUses(const CContentsStore &store, const CQ9GroupXml &groups, int type,
                            const QList<qint32> &lists);
