#pragma once
// The cabinet service: packs files of a folder into one Microsoft Cabinet file
// with MSZIP compression, and extracts every file of a cabinet into a folder.
// Both return 0 on success, else one of the numbers of cab/cab_result.h.

#include "cab/cab_result.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

struct DlkxCompressCabParam {
    QString sourceFolder;
    // Paths relative to sourceFolder ("\" or "/" separators): a file, a folder
    // (taken whole) or a wildcard pattern in the last part ("Log\*.ini").
    // Members are stored under these relative paths with "\" separators.
    QStringList files;
    // How many entries of files to take; 0 takes the whole source folder.
    int count = 0;
    QString cabinetPath;
    // Reserved; callers pass 0, other values are refused.
    quint32 option1 = 0;
    quint32 option2 = 0;
    // The cabinet is readable by its owner only (mode 0600) from its first
    // byte: for cabinets that carry passwords.
    bool ownerOnly = false;
};

struct DlkxDecompressCabParam {
    QString cabinetPath;
    QString destinationFolder; // created when missing
};

// Writes the cabinet to a temporary file beside cabinetPath and renames it
// over cabinetPath when complete; on failure cabinetPath is left as it was.
int DLKxCompressCab(const DlkxCompressCabParam &param);

// Checks every member name before anything is written: a name that is
// absolute, has a drive prefix or a ".." part refuses the whole cabinet.
// Damaged data found while extracting stops with an error; files finished
// before it stay, the file being written is discarded.
int DLKxDecompressCab(const DlkxDecompressCabParam &param);

// Whether the file reads as one whole cabinet: the cabinet signature, a
// header that fits, and the size the header gives equal to the file's.
bool IsCabinetFile(const QString &path);
