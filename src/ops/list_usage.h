#pragma once
// What plays a content or list: a list or content that a schedule or list
// plays cannot be sent with it once it is gone, so its deletion says so first.

#include <QList>
#include <QString>

class CContentsStore;
class CQ9GroupXml;

struct ListUse {
    qint32 used = 0;  // the number of the content or list in use
    int userType = 0; // what plays it: 51 a schedule, 52 a playlist, 53 a background-music list
    qint32 user = 0;  // the number of that schedule or list
    QString group;    // the group of a schedule; empty for a library list
};

// What plays the numbers of a type. A playlist or background-music list (52,
// 53) is played by the schedules of every group; a content by the sequences
// of the library's playlists and background-music lists and of every group's
// schedules. Read from the files; a file that does not read is passed over,
// as it names nothing it could lose.
QList<ListUse> FindListUses(CContentsStore &store, const CQ9GroupXml &groups, int type, const QList<qint32> &numbers);
