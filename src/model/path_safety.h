#pragma once
// Checks on names that come from stored data before they become paths: a
// player or group name becomes a folder name only when it is one plain path
// component, and a record's file name is joined to a content folder only when
// the result stays inside that folder.

#include <QString>

// Not empty, not "." or "..", no "/" or "\", no ":" and no control character.
bool IsSafePathComponent(const QString &name);

// Joins folder and a relative name (either separator) into path when the
// result lies inside folder; false with last error 87 (path untouched) for an
// absolute name, a ".." that leaves the folder, or an empty folder or name.
bool JoinInsideFolder(const QString &folder, const QString &name, QString &path);

// Whether path names an existing file or folder whose real location, every
// symbolic link on the way followed, is folder itself or lies inside folder
// (also followed): a link inside the folder that leads out does not count.
bool ResolvesInsideFolder(const QString &folder, const QString &path);
