#pragma once
// Member names of a cabinet are relative paths with "\" separators. Before a
// name is used to reach a file it is split into its parts and checked, so that
// nothing a cabinet names can lead out of the folder it is read from or
// extracted into.

#include <QString>
#include <QStringList>

// Splits a relative path at "\" and "/" into its parts. False (parts left
// empty) for a path that is empty, absolute ("\x", "/x", "\\server"), carries a
// drive or stream prefix (any ":"), or has an empty, "." or ".." part.
bool SplitSafeRelativePath(const QString &path, QStringList &parts);

// The stored form of a member name: its parts joined with "\".
QString JoinCabMemberName(const QStringList &parts);
