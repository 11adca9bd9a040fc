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
// Before the first stored file changes, the commit writes a journal beside
// the first target naming every target and the second name that keeps its
// old contents; it is removed once every change is in place. A start after a
// kill puts every set whose journal is still there back as it was
// (UndoInterruptedStagedSets), so each set is entirely old or entirely new.
//
// Files written unsynced (made for one send) are not stored data and are not
// held. A set opened while another is open on the thread joins it: its files
// wait for the outer set's commit, and an inner set closed without a commit
// makes the outer commit fail. No prompt may be shown while a set is open
// (PromptAllowedNow): the operator's answer would come with the stored files
// half-changed, and whatever a handler saved meanwhile would join the set.

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
    // was (should one not go back, the next start puts it back from the
    // journal). An inner set's commit only closes it; its files go with the
    // outer set's.
    bool Commit();

    // The set open on the calling thread (the outermost), or nullptr.
    static CStagedFiles *Open();
    // Takes a file written in full and stages it (WriteFileAtomically's
    // part); a file held before for the same target is dropped. False with
    // the last error when staging fails.
    bool Hold(std::unique_ptr<CAtomicFile> file);
    // Removes the file at Commit instead of now; a file held for it is
    // dropped.
    void HoldRemoval(const QString &path);

    // Tests only: called before every step of a commit that touches a
    // stored file, its second name or the journal (nullptr: none).
    static void SetCommitStepHook(void (*hook)());

private:
    void dropHeld(const QString &target);
    // The held files' targets, then the files to go.
    QStringList targets() const;
    bool apply();

    CStagedFiles *m_outer = nullptr; // the set this one joined
    bool m_closed = false;
    bool m_applied = false;          // what Commit returned
    bool m_innerFailed = false;      // an inner set closed without a commit
    std::vector<std::unique_ptr<CAtomicFile>> m_files;
    QStringList m_removals;
};

// Makes set (or none) the set open on the calling thread while it lives: a
// step a worker hands to the window's thread (core/owner_thread.h) writes its
// stored files into the worker's set, as it would on the worker. The worker
// waits for the step meanwhile, so the set has one user at a time.
class CStagedFilesLoan {
public:
    explicit CStagedFilesLoan(CStagedFiles *set);
    ~CStagedFilesLoan();
    CStagedFilesLoan(const CStagedFilesLoan &) = delete;
    CStagedFilesLoan &operator=(const CStagedFilesLoan &) = delete;

private:
    CStagedFiles *m_previous;
};

// Removes stored files, or holds their removal in the set open on this
// thread. False (each logged) when an existing file cannot be removed.
bool RemoveStoredFiles(const QStringList &paths);

// The suffix of a staged set's journal: "<first target>.<8 hex digits>" and
// this suffix (docs/file-formats.md).
inline constexpr char kStagedJournalSuffix[] = ".telvq9-journal";

// Puts back every staged set of folder and its sub-folders that a kill cut
// short during its commit, from its journal, logging each: every target
// takes back its old contents (one that did not exist goes), then the
// journal goes. Run before RemoveAtomicWriteLeftovers, which would take the
// second names holding the old contents. Entries naming a file outside
// folder, or a second name not of the program's temporary form beside its
// target, are left alone. Returns how many sets were put back.
int UndoInterruptedStagedSets(const QString &folder);

// Whether the operator may be asked something now: not while a staged set is
// open on this thread. A refused prompt is logged with what, and reported to
// the observer tests install to fail on it; the caller then takes the answer
// that changes nothing.
bool PromptAllowedNow(const QString &what);
void SetRefusedPromptObserver(void (*observer)(const QString &what));
