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

// The log texts of a search: the prefix before " : ", then what each line says.
struct WebFileSearchLog {
    QString prefix;
    const char *found = "Local URL File Search";
    const char *badFile = "Local URL File : Invalid path name";
    const char *badFolder = "Local URL File : Invalid folder name";
    Qt::CaseSensitivity skipCase = Qt::CaseSensitive;
};
// As ListWebPackageFiles, with the log texts and the comparison of skip given.
QStringList SearchWebPackageFiles(const QString &folder, const QString &skip, const WebFileSearchLog &log);

// The path of file relative to folder with "/" separators; an empty text when
// file does not lie below folder.
QString WebPackageRelativePath(const QString &folder, const QString &file);
