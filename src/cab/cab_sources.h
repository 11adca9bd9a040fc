#pragma once
// The files that go into a cabinet, gathered from a source folder and a list
// of entries relative to it. An entry names a file, a folder (all its files,
// sub-folders included) or a wildcard pattern in its last part ("Log\*.ini":
// the matching files of that folder, case-insensitive, sub-folders not
// searched). Members are named by their path relative to the source folder.

#include "cab/cab_result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct CabSourceFile {
    QString path;       // the file on disk
    QString memberName; // relative path with "\" separators
    qint64 size = 0;    // taken when listed; that many bytes are stored
    QDateTime modified; // local time
    quint16 attributes = 0;
};

// Lists the files of the entries, in entry order; an empty entry list means
// the whole source folder. A pattern that matches nothing adds nothing; a
// file or folder entry that does not exist is CAB_ERR_SOURCE_MISSING.
CabResult CollectCabSources(const QString &sourceFolder, const QStringList &entries, QList<CabSourceFile> &files);
