#pragma once
// Inside the export and import runs: the package's seven lists with their
// files, and the entries of a run.

#include "model/contents_list.h"
#include "model/media_property.h"
#include "ops/export_import.h"

struct CExImport::PackageSet {
    explicit PackageSet(const QString &packageFolder);

    CContentsList *list(int type);
    // Reads every list file of the package (a missing file gives an empty list).
    bool load();
    // Whether the folder holds any of the package's list files.
    bool hasLists() const;
    // Writes one list file, creating its folder.
    bool save(int type);
    // The package types in the order of a run: 1, 8, 2, 4, 5, 3, 52.
    static const int *typesBegin();
    static const int *typesEnd();

    QString folder;
    PackageFolders folders;
    QString packageFile; // export into a file: the cabinet built in the folder
    bool reuse = false;
    bool loaded = false; // the list files were read: saving them keeps what they held
    std::map<int, std::unique_ptr<CContentsList>> lists;
    std::map<int, QString> paths;
    std::vector<ExImportEntry> entries;
};
