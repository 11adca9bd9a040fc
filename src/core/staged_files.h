#pragma once
// Stored files that change together or not at all. While a CStagedFiles is
// open on a thread, every synced WriteFileAtomically and every
// RemoveStoredFiles of that thread is held in it: the new contents are
// written in full under temporary names beside their targets and the stored
// files stay as they are. Commit then renames every held file over its
// target and removes the files to go; no new data is written at that point
// (the old files' copies a file system without hard links needs are made
// before any stored file changes), so a full disk stops a change before any
// stored file has changed. Destroyed
// without a commit (a step failed), the set removes its temporary files and
// every stored file is as it was, without a byte written back.
//
// Files written unsynced (made for one send) are not stored data and are not
// held. One set is open on a thread at a time.

#include "core/atomic_file.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CStagedFiles {
public:
    CStagedFiles();
    ~CStagedFiles();
    CStagedFiles(const CStagedFiles &) = delete;
    CStagedFiles &operator=(const CStagedFiles &) = delete;

    // Puts every held file in place and removes the files to go, then closes
    // the set. Until all is done every old file keeps a second name (a hard
    // link; a copy where the file system has none), so a file that cannot be
    // put in place (a folder in its place, a refused rename) undoes the
    // others by renames alone: false (logged) with every stored file as it
    // was.
    bool Commit();

    // The set open on the calling thread, or nullptr.
    static CStagedFiles *Open();
    // Takes a file written in full and stages it (WriteFileAtomically's
    // part); a file held before for the same target is dropped. False with
    // the last error when staging fails.
    bool Hold(std::unique_ptr<CAtomicFile> file);
    // Removes the file at Commit instead of now; a file held for it is
    // dropped.
    void HoldRemoval(const QString &path);

private:
    void dropHeld(const QString &target);
    // The held files' targets, then the files to go.
    QStringList targets() const;

    std::vector<std::unique_ptr<CAtomicFile>> m_files;
    QStringList m_removals;
};

// Removes stored files, or holds their removal in the set open on this
// thread. False (each logged) when an existing file cannot be removed.
bool RemoveStoredFiles(const QStringList &paths);
