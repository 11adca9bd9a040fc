#pragma once
// The files of a packaged web content, for export and import: everything
// below the content's own folder (the web folder joined with its 9-digit
// number) whose names the player can store.

#include <QString>
#include <QStringList>

class CWebProperty;

// Appends to files every file below "<base>/<9-digit number>" of the web
// record, searching sub-folders, in name order (a folder's files before its
// sub-folders). The start page (the record's address joined to base) is
// left out unless withLink is set. Names other than ASCII letters, digits,
// "-", "." and "_" are logged and passed over; links are never followed.
// False (nothing appended) for a record whose address is not a local
// package (a web address or an absolute page path) or a bad number.
bool ExpImpListLocalUrlFiles(const QString &base, const CWebProperty &record, bool withLink, QStringList &files);
