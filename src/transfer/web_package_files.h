#pragma once
// The files of a local web content: its page and everything below the page's
// folder that the player can store. The player takes only portable names
// (ASCII letters, digits, "-", "." and "_"), so other files and folders are
// passed over; symbolic links are never followed, so a link cannot pull files
// from outside the package into an upload.

#include <QString>
#include <QStringList>

// Every regular file below folder, searching sub-folders, except the file
// skip, in name order with the files of a folder before its sub-folders.
// Each file taken is logged as "Local URL File Search"; a folder or file
// whose name is not portable is logged and left out. name prefixes the log
// lines.
QStringList ListWebPackageFiles(const QString &folder, const QString &skip, const QString &name);

// The path of file relative to folder with "/" separators; an empty text when
// file does not lie below folder.
QString WebPackageRelativePath(const QString &folder, const QString &file);
