#pragma once
// Paths on the player. The player's file system uses "/" and these forms
// exactly: every uploaded file lands below "/import".

#include <QChar>
#include <QString>

// The upload folder of a content type: 1 "/import/video", 2 "/import/still",
// 3 "/import/text", 5 "/import/swf", 6 "/import/aud", any other "/import/db".
QString GetUploadPath(int type);

// "/import/web": the folder below which local web contents are uploaded.
QString RemoteWebRoot();

// "/import/db/<name>": the calendar registration file.
QString MakeRemoteCalendarPath(const QString &fileName);
// "%s/%c%s.%s": the type's upload folder, the file letter ("A" or "B"), the
// nine-digit number and the local file's extension in lower case.
QString MakeRemoteContentPath(int type, QChar letter, qint64 number, const QString &localFile);
// "/import/db/" and "PL", "SC" or "SQ" with the nine-digit number and ".xml".
QString MakeRemotePlaylistPath(qint64 number);
QString MakeRemoteSchedulePath(qint64 number);
QString MakeRemoteSequencePath(qint64 number);
// "/import/db/<name>" (property file) and "/import/<name>" (group file).
QString MakeRemotePropertyPath(const QString &fileName);
QString MakeRemoteGroupPath(const QString &fileName);
